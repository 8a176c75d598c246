#include "media/music_list.h"

std::array<MusicEntry, kMusicListSize> musicList;
std::uint8_t currentMusicLoops = 0;
