#include "shell/end_moment.h"

#include <algorithm>

#include "draw/panel.h"
#include "draw/text.h"
#include "shell/screen_flow.h"
#include "shell/screen_input.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"

EndMoment endMoment;
std::int32_t levelPlayMs = 0;

namespace {

// Above the middle, where the level's title slides in after a restart.
constexpr double kPanelTop = 0.16;
constexpr double kPanelHeight = 0.22;
constexpr int kPanelTransparency = 20;
constexpr double kTitleTop = kPanelTop + 0.03;
constexpr double kDetailTop = kPanelTop + 0.13;
constexpr std::int32_t kMostShownMs = 99 * 60000 + 59 * 1000;

std::int32_t momentLength(std::int32_t kind) {
    return kind == kEndMomentGameOver ? kGameOverMs : kLevelCompleteMs;
}

void drawCentred(const std::string& text, bool big, double top) {
    DrawText(text, big, top, 0.5 - TextWidth(text, big) / 2);
}

} // namespace

void StartEndMoment(std::int32_t kind) {
    EndMoment& m = endMoment;
    if (m.active || kind == kEndMomentNone) return;
    const bool fireDown = AnyButtonSet(1, 1);
    m = EndMoment{};
    m.kind = kind;
    m.active = true;
    m.levelTimeMs = levelPlayMs;
    // Fire already down when the moment starts (a jump) does not count as a press.
    m.fireHeld = fireDown;
    // Whatever the message line said belongs to the level that just ended.
    shellState.MessageShown = false;
}

bool EndMomentUnderWay() {
    return endMoment.active;
}

void StepEndMoment() {
    EndMoment& m = endMoment;
    if (!m.active) return;
    const bool fireDown = AnyButtonSet(1, 1);
    const bool firePressed = fireDown && !m.fireHeld;
    m.fireHeld = fireDown;
    if (m.closing) return;
    m.shownMs = std::min(m.shownMs + std::max(frameMs, 0), momentLength(m.kind));
    const bool skipped =
        m.kind == kEndMomentGameOver && firePressed && m.shownMs >= kGameOverSkipFromMs;
    if (m.shownMs < momentLength(m.kind) && !skipped) return;
    // A transition still opening the level must finish before this one closes it.
    if (shellState.TransitionActive) return;
    StartTransition(+1);
    m.closing = true;
}

void LeaveEndMoment() {
    endMoment.active = false;
    endMoment.closing = false;
}

std::string MinutesSeconds(std::int32_t ms) {
    const std::int32_t shown = std::clamp(ms, 0, kMostShownMs);
    return ZeroPad(shown / 60000, 2) + ":" + ZeroPad((shown % 60000) / 1000, 2);
}

EndMomentTexts MakeEndMomentTexts() {
    const EndMoment& m = endMoment;
    if (!m.active) return {};
    if (m.kind == kEndMomentLevelComplete)
        return {"LEVEL COMPLETE", "TIME " + MinutesSeconds(m.levelTimeMs)};
    return {"GAME OVER", m.shownMs >= kGameOverSkipFromMs && !m.closing ? "PRESS FIRE" : ""};
}

void DrawEndMoment() {
    const EndMomentTexts texts = MakeEndMomentTexts();
    if (texts.title.empty()) return;
    DrawDarkPanel(kPanelTop, 0.0, kPanelHeight, 1.0, kPanelTransparency);
    drawCentred(texts.title, true, kTitleTop);
    if (!texts.detail.empty()) drawCentred(texts.detail, true, kDetailTop);
}
