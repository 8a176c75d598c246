// The music of the default data set: the title module, the end-credits MIDI
// file, the wave music and the two CD tracks, each composed in code.
#pragma once

#include <cstdint>
#include <vector>

namespace music {

std::vector<std::uint8_t> TitleModule();  // MUSIC/TITLE.MOD
std::vector<std::uint8_t> EndingMidi();   // MUSIC/ENDING.MID
std::vector<std::uint8_t> CavernsWave();  // MUSIC/CAVERNS.WAV, a seamless loop
std::vector<std::uint8_t> CdTrack(int n); // CDAUDIO/TRACKnn.WAV for n = 2, 3

} // namespace music
