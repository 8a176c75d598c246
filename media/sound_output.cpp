#include "media/sound_output.h"

namespace {
bool ready = false;
} // namespace

bool SoundOutputReady() {
    return ready;
}

void LoadSound(const std::string&, TSoundBuffer*&) {
    if (!ready) return;
}
