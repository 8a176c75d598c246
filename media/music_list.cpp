#include "media/music_list.h"

std::array<MusicEntry, kMusicListSize> musicList;
std::int32_t currentMusic = -1;
std::uint8_t currentMusicLoops = 0;
