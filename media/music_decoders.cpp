#include "media/music_decoders.h"

namespace {
MusicDecoders installed;
} // namespace

void InstallMusicDecoders(MusicDecoders decoders) {
    installed = std::move(decoders);
}

const MusicDecoders& InstalledMusicDecoders() {
    return installed;
}
