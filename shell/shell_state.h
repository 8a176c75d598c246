// The game shell's state: screen state, transition, message line, flags and
// the level list. One global instance, shared by the shell's parts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum ScreenState : std::int32_t {
    kScreenNone = -1,
    kScreenTitle = 0,
    kScreenPlay = 1,
    kScreenLobby = 5,
    kScreenEnd = 10,
};

enum LevelOutcomeValue : std::int32_t {
    kOutcomeNone = 0,
    kOutcomeLost = 1, // lost, or quit from the options menu
    kOutcomeCompleted = 2,
};

constexpr std::int32_t kTransitionCovered = 16;    // TransitionLevel when fully covered
constexpr std::int32_t kTransitionStepMs = 40;     // one step per 40 ms
constexpr std::int32_t kTransitionMaxSteps = 3;    // at most per frame
constexpr std::int32_t kMessageDurationMs = 10000; // how long a message stays
constexpr std::int32_t kMaxLevels = 32768;         // entries of the level list
constexpr std::int32_t kSoundHearingRange = 24576; // world units
constexpr std::int32_t kGameLoopIntervalMs = 50;

// The interface sounds.
inline constexpr const char* kChoiceSoundFile = "INTERF\\CHOIX.WAV";
inline constexpr const char* kClickSoundFile = "INTERF\\CLIC.WAV";
inline constexpr const char* kTimerSoundFile = "INTERF\\TIMER.WAV";

constexpr std::size_t kScreenHistoryLength = 32;

struct ScreenVisit {
    std::int32_t state = kScreenNone;
    std::int64_t frame = 0;
};

struct ShellState {
    // Screen states.
    std::int32_t ScreenState = kScreenNone;
    std::int32_t ScreenEnteredAt = 0;
    bool FirstFrame = false; // set on entering the title or end screen
    std::int32_t LevelOutcome = kOutcomeNone;

    // Screen transition: 0 = picture uncovered, 16 = fully covered.
    bool TransitionActive = false;
    std::int32_t TransitionLevel = 0;
    std::int32_t TransitionDirection = 0; // +1 closing, -1 opening
    std::int32_t TransitionStyle = 0;     // which of the three transition models
    std::int32_t TransitionLastStep = 0;
    bool TransitionCompleted = false;

    // Message line.
    std::string MessageText;
    std::int32_t MessageRemaining = 0;
    bool MessageShown = false;

    bool Initialised = false;
    bool ActivatedOnce = false;
    bool NetworkLobby = false; // started with "/NETWORK", no network game yet
    bool ExclusiveMode = false;
    bool ShowFps = false;
    bool VideoPlaying = false;
    bool MusicOn = false;

    std::string DebugText; // drawn once, then cleared

    // Option keys and settings.
    std::uint8_t StereoMode = 0; // 0 off, 1 red/blue, 2 red/green
    bool IntegerScaling = false; // whole multiples of the picture only
    bool SettingsRead = false;   // the settings file's General keys are in use
    std::string Nickname;
    std::int32_t RefreshInterval = 0; // network state messages, in ms
    // A created game asks the router to forward its port (Network/PortMapping,
    // true when missing); unset until read or chosen in the lobby.
    std::optional<bool> PortMapping;
    std::string LastScreenshot; // the file F12 wrote last, empty before

    // Off for runs that only simulate (no picture is drawn or presented).
    bool Drawing = true;
    // Texture detail of the last definition load, "High" or "Low".
    std::string TextureDetail = "High";
    std::string ProgramFolder;

    // "LEVEL\" + file name, sorted byte-wise; a level's number is its index.
    std::int32_t LevelCount = 0;
    std::vector<std::string> LevelFiles;

    // Levels entered since the start (restarts included), and the file of the
    // last one; the screens entered, with the frame each was entered in
    // (the latest kScreenHistoryLength).
    std::int32_t LevelStarts = 0;
    std::int64_t LevelStartFrame = 0;  // the level's frame k is frame LevelStartFrame + k
    std::int64_t LevelStartVoices = 0; // VoicesStarted() when the level began
    std::string LevelFile;
    std::vector<ScreenVisit> ScreenHistory;

    // The program's arguments (without the program name).
    std::vector<std::string> CommandLine;

    // Set once the program is ending (window closed, start-up failure): no
    // more frames run.
    bool EndRequested = false;
    int ExitCode = 0;
};

extern ShellState shellState;
