// What the simulation asks of the rest of the game: positional sounds, game
// messages to the other players, and the play screen's services (restarting
// and ending the level, the message line, the saved game). The play screen
// (or a tool that runs the world without it) installs the services; each is
// optional and does nothing while unset. Every request is also kept in a
// short log with the frame it came in, for tests and the state dump.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

class TSoundBuffer;

// Interface sounds the in-game menu, the camera keys and the level timer play.
enum class InterfaceSound { MenuSelect, MenuMove, Countdown };

// Codes of the game messages a player's actions send in a network game.
enum GameEventCode : std::int32_t {
    kEventDig = 100,
    kEventPush = 101,
    kEventLever = 102,
    kEventIngot = 103,
    kEventTimer = 104,
    kEventExtraLife = 105,
    kEventLight = 106,
};

// How a level ends (the values of the play screen's level outcome).
enum LevelEnd : std::int32_t { kLevelLost = 1, kLevelCompleted = 2 };

struct GameServices {
    std::function<void(std::int32_t x, std::int32_t y, std::int32_t z, TSoundBuffer* sound,
                       std::int32_t volume)>
        playSound;
    std::function<void(InterfaceSound)> playInterfaceSound;
    // code, cell and the value the message carries (refill delay, heading, type).
    std::function<void(std::int32_t code, std::int32_t x, std::int32_t y, std::int32_t z,
                       std::int32_t value)>
        sendEvent;
    std::function<void()> restartLevel; // the current level from its start
    std::function<void()> loadGame;     // the saved level index and lives, then that level
    // Saves the level index and lives; false when the save was refused (the
    // service has told the player why).
    std::function<bool()> saveGame;
    std::function<void(const std::string&)> showMessage;
    // Sets the level outcome and closes the level (the play screen first
    // shows its level-complete or game-over moment).
    std::function<void(LevelEnd)> endLevel;
    // Whether a screen transition is running or the level's end is already
    // decided (the exit does not count then).
    std::function<bool()> transitionActive;
    // Opens the controls and sound page over the play screen.
    std::function<void()> openControlsPage;
};

extern GameServices gameServices;

enum class WorldEventKind {
    Sound,
    InterfaceSound,
    Send,
    Kill,
    Restart,
    Load,
    Save,
    Message,
    LevelEnd,
    ControlsPage,
};

struct WorldEvent {
    std::int64_t frame = 0; // world.frame when it happened
    WorldEventKind kind = WorldEventKind::Sound;
    std::int32_t x = 0, y = 0, z = 0;
    std::int32_t value = 0; // volume, event code, level end, interface sound
    std::string text;       // the message line's text
};

// The log keeps the last kEventLogSize events.
constexpr std::size_t kEventLogSize = 64;
const std::deque<WorldEvent>& RecentWorldEvents();
void ClearWorldEvents();
// Short form for the state dump: "frame:kind:x,y,z:value[:text]".
std::string DescribeWorldEvent(const WorldEvent& event);

// The requests, logged and passed to the installed service.
void TriggerSound(std::int32_t x, std::int32_t y, std::int32_t z, TSoundBuffer* sound,
                  std::int32_t volume);
void PlayInterfaceSound(InterfaceSound sound);
// Sent only in a network game (lastPlayer > 0); logged either way.
void SendGameEvent(GameEventCode code, std::int32_t x, std::int32_t y, std::int32_t z,
                   std::int32_t value);
void RequestLevelRestart();
void RequestLoadGame();
// False when the installed service refused the save.
bool RequestSaveGame();
void ShowGameMessage(const std::string& text);
void OpenControlsPage();
void EndLevel(LevelEnd end);
bool TransitionRunning();
// Logs a death (killPlayer calls it).
void LogKill(std::int32_t x, std::int32_t y, std::int32_t z);
