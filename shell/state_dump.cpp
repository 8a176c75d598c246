#include "shell/state_dump.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "media/audio_capture.h"
#include "media/music_devices.h"
#include "media/music_player.h"
#include "media/sound_output.h"
#include "media/sound_store.h"
#include "platform/dump_text.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "shell/automation_run.h"
#include "shell/control_bindings.h"
#include "shell/controls_screen.h"
#include "shell/display_options.h"
#include "shell/end_moment.h"
#include "shell/end_screen.h"
#include "shell/end_text.h"
#include "shell/form_services.h"
#include "shell/help_panel.h"
#include "shell/joystick.h"
#include "shell/level_select.h"
#include "shell/lobby_view.h"
#include "shell/net_session.h"
#include "shell/practice_game.h"
#include "shell/replay_run.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sounds.h"
#include "shell/title_screen.h"
#include "world/frame_clock.h"
#include "world/world.h"
#include "world/world_dump.h"

namespace {

constexpr std::int32_t kListedLevels = 16;
constexpr std::size_t kListedVoices = 8;

// Writes "key=value" lines; add a line here for every new value.
class Dump {
  public:
    template <typename T> void add(const std::string& key, const T& value) {
        out_ << key << '=' << value << '\n';
    }
    void add(const std::string& key, bool value) { add(key, value ? 1 : 0); }
    void add(const std::string& key, const std::string& value) {
        out_ << key << '=' << EscapeDumpText(value) << '\n';
    }
    std::string text() const { return out_.str(); }

  private:
    std::ostringstream out_;
};

// The local player's eight control flags as digits, in record order.
std::string localControls() {
    const PlayerRecord& p = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    std::string flags;
    for (std::uint8_t flag : p.controls) flags += flag ? '1' : '0';
    return flags;
}

} // namespace

std::string DescribeState() {
    const ShellState& s = shellState;
    Dump d;
    d.add("frames", FramesRun());
    d.add("now", Now);
    d.add("frameMs", frameMs);
    d.add("initialised", s.Initialised);
    d.add("networkLobby", s.NetworkLobby);
    d.add("screenState", s.ScreenState);
    d.add("screenEnteredAt", s.ScreenEnteredAt);
    d.add("firstFrame", s.FirstFrame);
    d.add("levelOutcome", s.LevelOutcome);
    d.add("transitionActive", s.TransitionActive);
    d.add("transitionLevel", s.TransitionLevel);
    d.add("transitionDirection", s.TransitionDirection);
    d.add("transitionStyle", s.TransitionStyle);
    d.add("transitionCompleted", s.TransitionCompleted);
    d.add("messageText", s.MessageText);
    d.add("messageShown", s.MessageShown);
    d.add("messageRemaining", s.MessageRemaining);
    d.add("helpShown", helpPanel.shown);
    d.add("helpRemaining", helpPanel.remainingMs);
    d.add("exclusiveMode", s.ExclusiveMode);
    d.add("showFps", s.ShowFps);
    d.add("musicOn", s.MusicOn);
    d.add("controls", localControls());
    d.add("joystickAbsent", joystickState.JoystickAbsent);
    for (int c = 0; c < kControlCount; ++c) {
        const auto control = static_cast<Control>(c);
        d.add(std::string("binding.") + ControlName(control),
              VirtualKeyName(controlBindings.keys[c]) + "," + PadInputName(controlBindings.pad[c]));
    }
    d.add("stereoMode", static_cast<int>(s.StereoMode));
    d.add("pictureWidth", CurrentPictureSize().width);
    d.add("pictureHeight", CurrentPictureSize().height);
    d.add("fullScreen", IsFullScreen());
    d.add("windowWidth", FormClientWidth());
    d.add("windowHeight", FormClientHeight());
    d.add("textureDetail", s.TextureDetail);
    d.add("settingsPath", SettingsPath());
    const AskedPrompt& prompt = LastAskedPrompt();
    d.add("prompt.caption", prompt.caption);
    d.add("prompt.default", prompt.prefilled);
    std::string choices;
    for (const std::string& choice : prompt.choices)
        choices += (choices.empty() ? "" : "|") + choice;
    d.add("prompt.choices", choices);
    d.add("lastScreenshot", s.LastScreenshot);
    d.add("controlsScreen.open", controlsScreen.open);
    d.add("controlsScreen.selected", controlsScreen.selected);
    d.add("controlsScreen.waiting", controlsScreen.waiting);
    std::string lobbyItems;
    for (const std::string& item : lobbyView.items)
        lobbyItems += (lobbyItems.empty() ? "" : ",") + item;
    d.add("lobby.items", lobbyItems);
    d.add("lobby.selected", lobbyView.selected);
    d.add("soundReady", SoundOutputReady());
    d.add("musicVolume", CurrentMixVolumes().music);
    d.add("effectsVolume", CurrentMixVolumes().effects);
    d.add("soundStarts", VoicesStarted() - s.LevelStartVoices);
    const SoundStoreState store = CurrentSoundStore();
    d.add("soundBytes", store.bytes);
    d.add("soundsConverted", store.converted);
    d.add("soundsRefused", store.refused);
    const std::vector<PlayingVoice> voices = PlayingVoices();
    d.add("voicesPlaying", voices.size());
    for (std::size_t i = 0; i < std::min(voices.size(), kListedVoices); ++i) {
        const Voice& v = voices[i].voice;
        d.add("voice" + std::to_string(voices[i].index),
              std::to_string(v.x) + "," + std::to_string(v.y) + "," + std::to_string(v.z) + "," +
                  std::to_string(v.loudness) + "," + std::to_string(v.level.volume) + "," +
                  std::to_string(v.level.pan));
    }
    d.add("recordedFrames", CapturedAudioFrames());
    d.add("limitedFrames", LimitedSoundFrames());
    const MusicState music = CurrentMusicState();
    d.add("musicIndex", music.index);
    d.add("musicKind", MusicKindName(music.kind));
    d.add("musicLoop", music.loop);
    d.add("musicEnabled", music.enabled);
    d.add("moduleVolume", music.moduleVolume);
    d.add("videoPlaying", s.VideoPlaying);
    auto sizeText = [](ClipSize size) {
        return std::to_string(size.width) + "x" + std::to_string(size.height);
    };
    d.add("clipSource", sizeText(music.clipSource));
    d.add("clipDecoded", sizeText(music.clipDecoded));
    d.add("clipPicture", sizeText(music.clipPicture));
    d.add("clipsRefused", music.clipsRefused);
    const std::vector<std::string> commands = RecentMusicCommands();
    for (std::size_t i = 0; i < commands.size(); ++i) d.add("mci" + std::to_string(i), commands[i]);
    d.add("levelCount", s.LevelCount);
    const auto listed = std::min<std::size_t>(s.LevelFiles.size(), kListedLevels);
    for (std::size_t i = 0; i < listed; ++i) d.add("level" + std::to_string(i), s.LevelFiles[i]);
    d.add("levelSelect", levelSelect.entries.size());
    for (std::size_t i = 0; i < levelSelect.entries.size(); ++i)
        d.add("levelSelect." + std::to_string(i), LevelSelectEntryText(levelSelect.entries[i]));
    d.add("levelSelect.open", levelSelect.open);
    d.add("levelSelect.selected", levelSelect.selected);
    d.add("levelSelect.top", levelSelect.top);
    d.add("practice", practiceGame.active);
    d.add("practice.set", practiceGame.setTitle);
    d.add("titlePage", titleScreen.TitlePage);
    d.add("textVariant", titleScreen.TextVariant);
    d.add("endTextLines", endText.count);
    d.add("endScroll", endScreen.ScrollTop);
    d.add("levelIndex", players[std::clamp(localPlayer, 0, kPlayerCount - 1)].levelIndex);
    d.add("levelFile", s.LevelFile);
    d.add("levelStarts", s.LevelStarts);
    d.add("levelStartFrame", s.LevelStartFrame);
    d.add("levelPlayMs", levelPlayMs);
    const ReplayStatus replay = CurrentReplayStatus();
    d.add("replayFile", replay.playbackFile);
    d.add("replayFrames", replay.frames);
    d.add("replayPlayed", replay.played);
    d.add("replayRecording", replay.recording);
    d.add("replaySaved", replay.lastWritten);
    d.add("recordsFile", replay.recordsFile);
    d.add("recordsBest", replay.recordsBest);
    static const char* const kMomentNames[] = {"none", "levelComplete", "gameOver"};
    d.add("endMoment", std::string(kMomentNames[std::clamp(endMoment.kind, 0, 2)]));
    d.add("endMomentActive", endMoment.active);
    d.add("endMomentMs", endMoment.shownMs);
    d.add("endMomentTime", endMoment.levelTimeMs);
    d.add("endMomentText", MakeEndMomentTexts().title);
    std::string history;
    for (const ScreenVisit& visit : s.ScreenHistory)
        history += (history.empty() ? "" : " ") + std::to_string(visit.state) + "@" +
                   std::to_string(visit.frame);
    d.add("screenHistory", history);
    // The world's own keys, once a level has been entered (they stay after
    // the game has left the level: lives, outcome, won frame).
    // The network's keys while there is a session.
    const std::string net = DescribeNetState();
    if (s.LevelStarts > 0) return d.text() + net + DescribeWorldState();
    return d.text() + net;
}

namespace {
std::optional<std::string> lastPlayedState;
} // namespace

void KeepStateBeforeShutdown() {
    lastPlayedState = DescribeState();
}

void ForgetKeptState() {
    lastPlayedState.reset();
}

std::string FinalStateDump() {
    return lastPlayedState ? *lastPlayedState : DescribeState();
}
