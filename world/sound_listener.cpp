#include "world/sound_listener.h"

#include "engine/angles.h"
#include "media/sound_output.h"
#include "world/game_services.h"
#include "world/view_box.h"
#include "world/world.h"

SoundCamera soundListener{0, 0, 0, {1, 0, 0, 0, 1, 0, 0, 0, 1}, kDefaultHearingRange};

void SetHearingRange(std::int32_t range) {
    soundListener.hearingRange = range;
}

void PlaceSoundListener(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw,
                        std::int32_t pitch, std::int32_t roll) {
    soundListener.x = x;
    soundListener.y = y;
    soundListener.z = z;
    soundListener.rows = RotationMatrix(static_cast<float>(yaw), static_cast<float>(pitch),
                                        static_cast<float>(roll));
}

void PlaySoundAtListener(std::int32_t x, std::int32_t y, std::int32_t z, TSoundBuffer* sound,
                         std::int32_t volume) {
    TriggerEffect(x, y, z, soundListener, sound, volume);
}

void VoicesFollowListener() {
    UpdateVoices(soundListener);
}

void StartDueLoopSounds(const ViewBox& box) {
    for (int x = box.loX; x <= box.hiX; ++x) {
        for (int y = box.loY; y <= box.hiY; ++y) {
            for (int z = box.loZ; z <= box.hiZ; ++z) {
                const ObjectType& type = objectTypes[cellAt(x, y, z)];
                if (type.loopDue && type.LoopSound)
                    TriggerSound(CellCentre(x), CellCentre(y), CellCentre(z), type.LoopSound,
                                 type.LoopVolume);
            }
        }
    }
}
