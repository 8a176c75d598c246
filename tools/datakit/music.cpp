#include "music.h"

#include "datakit.h"

void GenerateMusic(const DataKit& kit) {
    WriteDataFile(kit, "MUSIC/TITLE.MOD", music::TitleModule());
    WriteDataFile(kit, "MUSIC/ENDING.MID", music::EndingMidi());
    WriteDataFile(kit, "MUSIC/CAVERNS.WAV", music::CavernsWave());
    WriteDataFile(kit, "CDAUDIO/TRACK02.WAV", music::CdTrack(2));
    WriteDataFile(kit, "CDAUDIO/TRACK03.WAV", music::CdTrack(3));
}
