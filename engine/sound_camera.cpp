#include "engine/sound_camera.h"

#include "engine/render_context.h"

SoundCamera HearingCamera() {
    const RenderContext& rc = renderContext;
    return SoundCamera{rc.camera.x, rc.camera.y, rc.camera.z, rc.camera.matrix, rc.hearingRange};
}
