// The end of an automated run, the same for both programs: the files that
// --screenshot, --dump-state and --record-audio ask for.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/automation.h"

// What the program shows at its end; asked for only when its file is wanted.
struct AutomationResults {
    std::function<QImage()> picture;    // the picture seen last, for --screenshot
    std::function<std::string()> state; // the state as key=value lines, for --dump-state
};

// Writes the screenshot, the state dump and the audio capture, in that order,
// each whole through a temporary file beside it renamed into place, so that
// no reader ever sees one half-written. Returns false, after naming the file
// it could not write on standard error, when any of them failed; the others
// are written all the same.
bool FinishAutomation(const AutomationOptions& options, const AutomationResults& results);

// The picture as PNG bytes; empty for a null picture or when it cannot be encoded.
std::vector<std::uint8_t> EncodePng(const QImage& picture);
