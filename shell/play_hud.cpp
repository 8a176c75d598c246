#include "shell/play_hud.h"

#include <algorithm>

#include "draw/text.h"
#include "engine/pictures.h"
#include "shell/shell_state.h"
#include "world/game_services.h"
#include "world/level_state.h"
#include "world/world.h"

namespace {

constexpr int kBarPicture = 6;
constexpr int kIngotType = 20; // the ingots the exit door waits for
constexpr double kBarTop = 0.945;
constexpr double kBarHeight = 0.055;
constexpr double kTextTop = 0.962;
constexpr std::int32_t kBlinkFromMs = 20000;
constexpr std::int32_t kCountdownFromMs = 11000;
constexpr long long kMostShown = 99;

std::int32_t lastTickSecond = -1;

// Counts shown in two digits: never above 99, never negative.
std::string twoDigits(long long value) {
    return ZeroPad(std::clamp<long long>(value, 0, kMostShown), 2);
}

const PlayerRecord& localRecord() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

} // namespace

HudTexts MakeHudTexts() {
    HudTexts texts;
    const std::int32_t left = std::max(timeLeftMs, 0);
    const bool blinkHidden = left <= kBlinkFromMs && left % 1000 <= 500;
    if (timerRunning && !blinkHidden)
        texts.timer = twoDigits(left / 60000) + ":" + ZeroPad((left % 60000) / 1000, 2);
    texts.ingots = twoDigits(objectTypes[kIngotType].lingotCount);
    texts.lives = twoDigits(localRecord().lives);
    texts.level = ZeroPad(std::clamp(localRecord().levelIndex + 1, 0, 999), 3) + "/" +
                  ZeroPad(std::clamp(shellState.LevelCount, 0, 999), 3);
    return texts;
}

void ResetTimerCountdown() {
    lastTickSecond = -1;
}

void SoundTimerCountdown() {
    if (!timerRunning || timeLeftMs > kCountdownFromMs) return;
    const std::int32_t second = std::max(timeLeftMs, 0) / 1000;
    if (second == lastTickSecond) return;
    lastTickSecond = second;
    PlayInterfaceSound(InterfaceSound::Countdown);
}

void DrawPlayHud() {
    DrawPicture(kBarPicture, false, 0, kBarHeight, 1.0, kBarTop, 0.0);
    const HudTexts texts = MakeHudTexts();
    if (!texts.timer.empty()) DrawText(texts.timer, false, kTextTop, 0.13);
    DrawText(texts.ingots, false, kTextTop, 0.625);
    DrawText(texts.lives, false, kTextTop, 0.787);
    DrawText(texts.level, false, kTextTop, 0.8937);
}
