// Modules over libopenmpt: the module decoder of the music devices.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "media/music_bus.h"

// A module from its file's bytes, rendered at the device rate with dither
// off (the same samples on every run), looping for ever or played once; null
// when the bytes are not a module libopenmpt reads.
std::unique_ptr<MusicStream> OpenMptModule(const std::vector<std::uint8_t>& file, bool loop);
