#include "world/game_services.h"

#include "world/world.h"

GameServices gameServices;

namespace {

std::deque<WorldEvent> eventLog;

void log(WorldEventKind kind, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t value,
         std::string text = {}) {
    if (eventLog.size() == kEventLogSize) eventLog.pop_front();
    eventLog.push_back(WorldEvent{world.frame, kind, x, y, z, value, std::move(text)});
}

const char* kindName(WorldEventKind kind) {
    switch (kind) {
    case WorldEventKind::Sound:
        return "sound";
    case WorldEventKind::InterfaceSound:
        return "interface";
    case WorldEventKind::Send:
        return "send";
    case WorldEventKind::Kill:
        return "kill";
    case WorldEventKind::Restart:
        return "restart";
    case WorldEventKind::Load:
        return "load";
    case WorldEventKind::Save:
        return "save";
    case WorldEventKind::Message:
        return "message";
    case WorldEventKind::LevelEnd:
        return "end";
    case WorldEventKind::ControlsPage:
        return "controls";
    }
    return "?";
}

} // namespace

const std::deque<WorldEvent>& RecentWorldEvents() {
    return eventLog;
}

void ClearWorldEvents() {
    eventLog.clear();
}

std::string DescribeWorldEvent(const WorldEvent& e) {
    std::string text = std::to_string(e.frame) + ":" + kindName(e.kind) + ":" +
                       std::to_string(e.x) + "," + std::to_string(e.y) + "," + std::to_string(e.z) +
                       ":" + std::to_string(e.value);
    if (!e.text.empty()) text += ":" + e.text;
    return text;
}

void TriggerSound(std::int32_t x, std::int32_t y, std::int32_t z, TSoundBuffer* sound,
                  std::int32_t volume) {
    log(WorldEventKind::Sound, x, y, z, volume);
    if (gameServices.playSound) gameServices.playSound(x, y, z, sound, volume);
}

void PlayInterfaceSound(InterfaceSound sound) {
    log(WorldEventKind::InterfaceSound, 0, 0, 0, static_cast<std::int32_t>(sound));
    if (gameServices.playInterfaceSound) gameServices.playInterfaceSound(sound);
}

void SendGameEvent(GameEventCode code, std::int32_t x, std::int32_t y, std::int32_t z,
                   std::int32_t value) {
    log(WorldEventKind::Send, x, y, z, code, std::to_string(value));
    if (lastPlayer > 0 && gameServices.sendEvent) gameServices.sendEvent(code, x, y, z, value);
}

void RequestLevelRestart() {
    log(WorldEventKind::Restart, 0, 0, 0, 0);
    if (gameServices.restartLevel) gameServices.restartLevel();
}

void RequestLoadGame() {
    log(WorldEventKind::Load, 0, 0, 0, 0);
    if (gameServices.loadGame) gameServices.loadGame();
}

bool RequestSaveGame() {
    log(WorldEventKind::Save, 0, 0, 0, 0);
    return !gameServices.saveGame || gameServices.saveGame();
}

void ShowGameMessage(const std::string& text) {
    log(WorldEventKind::Message, 0, 0, 0, 0, text);
    if (gameServices.showMessage) gameServices.showMessage(text);
}

void OpenControlsPage() {
    log(WorldEventKind::ControlsPage, 0, 0, 0, 0);
    if (gameServices.openControlsPage) gameServices.openControlsPage();
}

void EndLevel(LevelEnd end) {
    log(WorldEventKind::LevelEnd, 0, 0, 0, end);
    if (end == kLevelCompleted && world.wonFrame < 0) world.wonFrame = world.frame;
    if (gameServices.endLevel) gameServices.endLevel(end);
}

bool TransitionRunning() {
    return gameServices.transitionActive && gameServices.transitionActive();
}

void LogKill(std::int32_t x, std::int32_t y, std::int32_t z) {
    ++world.deaths;
    log(WorldEventKind::Kill, x, y, z, 0);
}
