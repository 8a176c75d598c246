// How a clip's pictures are decoded and shown within the limits of
// media/music_decoders.h: the size a picture is scaled to, and how far its
// decoder reduces it while decoding (each step halves both sides, as
// FFmpeg's "lowres" does).
#pragma once

#include <optional>
#include <string>

#include "media/music_decoders.h"

// The size a decoded picture is shown at: itself when it fits the largest
// picture, else scaled down to fit, keeping its shape (never below 1 x 1).
ClipSize FitClipPicture(ClipSize decoded);

// A side reduced `steps` times, rounded up.
int ReducedClipSide(int side, int steps);

struct ClipPlan {
    int reduction = 0; // halvings while decoding
    ClipSize decoded;  // the decoder's picture
    ClipSize picture;  // what is shown
};

// The plan for a clip of `source` size whose decoder can halve its sides up
// to `maxReduction` times: the most halvings that still leave at least the
// shown size, so that scaling only ever shrinks. Refused (the reason, to
// follow "The clip ... is not played: ") when a side is not positive or
// beyond kMaxClipSide, or the picture cannot be decoded within
// kMaxClipDecodePixels.
Loaded<ClipPlan> PlanClip(ClipSize source, int maxReduction);

// Whether a decoder's picture of this size stays within the limits.
bool DecodedClipFits(ClipSize decoded);
