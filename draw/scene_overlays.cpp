// The 2D overlays of the play picture: the level title, the radar and the
// in-game menu.
#include <cmath>
#include <cstdint>

#include "draw/scene_steps.h"
#include "draw/text.h"
#include "engine/angles.h"
#include "engine/pictures.h"
#include "platform/text_codepage.h"
#include "world/title_overlay.h"
#include "world/world.h"

namespace scene {

namespace {

constexpr int kMenuPicture = 4;
constexpr int kMenuCursor = 5;
constexpr int kRadarPicture = 10;
constexpr int kBlipLost = 11;
constexpr int kBlipChasing = 12;
constexpr float kRadarRange = 4096.0f;

} // namespace

void DrawTitleOverlay(const World& world) {
    const double u = titleOverlay.drawnOffset;
    // The fonts hold ASCII only: an accented letter of the level's texts is
    // drawn as its plain letter rather than as a gap or another glyph.
    const std::string description = Cp1252ToAscii(world.level.description);
    if (!description.empty())
        DrawText(description, true, 0.5 - u, 0.5 - TextWidth(description, true) / 2);
    if (!world.level.author.empty()) {
        const std::string line = "AUTHOR:" + Cp1252ToAscii(world.level.author);
        DrawText(line, false, u + 0.56, 0.5 - TextWidth(line, false) / 2);
    }
}

void DrawRadar(const World& world, const PlayerRecord& player) {
    DrawPicture(kRadarPicture, false, 0, 0.20833333, 0.15625, 0.05, 0.8);
    const float sinH = AngleSin(player.heading), cosH = AngleCos(player.heading);
    const int last = world.sentryCount < kSentrySlots ? world.sentryCount : kSentrySlots - 1;
    for (int i = 1; i <= last; ++i) {
        const SentryRecord& e = world.sentries[i];
        const float dx = e.x - player.x, dz = e.z - player.z;
        if (!(std::sqrt(dx * dx + dz * dz) < kRadarRange)) continue;
        const double ahead = sinH * dx + cosH * dz;
        const double side = cosH * dx - sinH * dz;
        DrawPicture(e.state == 0 ? kBlipChasing : kBlipLost, true, 0, 0.014583333, 0.0109375,
                    (1 - ahead / kRadarRange) * 0.10416666666665 + 0.05,
                    (side / kRadarRange + 1) * 0.078125 + 0.8);
    }
}

void DrawInGameMenu(const World& world) {
    DrawPicture(kMenuPicture, true, 0, 1.0, 1.0, 0.0, 0.0);
    // The cursor is drawn keyed too, although only the panel is named as
    // keyed: our cursor picture is an arrow on colour 0, and unkeyed it would
    // paint a black box over the panel beside the selected line.
    DrawPicture(kMenuCursor, true, 0, 0.0708, 0.075, 0.366 + 0.072 * world.menu.selected, 0.2);
}

} // namespace scene
