#include "shell/state_dump.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "platform/files.h"
#include "shell/automation_run.h"
#include "shell/end_screen.h"
#include "shell/end_text.h"
#include "shell/shell_state.h"
#include "shell/title_screen.h"
#include "world/frame_clock.h"
#include "world/world_dump.h"

namespace {

constexpr std::int32_t kListedLevels = 16;

std::string escaped(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 32 || c == 127) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// Writes "key=value" lines; add a line here for every new value.
class Dump {
  public:
    template <typename T> void add(const std::string& key, const T& value) {
        out_ << key << '=' << value << '\n';
    }
    void add(const std::string& key, bool value) { add(key, value ? 1 : 0); }
    void add(const std::string& key, const std::string& value) {
        out_ << key << '=' << escaped(value) << '\n';
    }
    std::string text() const { return out_.str(); }

  private:
    std::ostringstream out_;
};

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
    d.add("exclusiveMode", s.ExclusiveMode);
    d.add("showFps", s.ShowFps);
    d.add("musicOn", s.MusicOn);
    d.add("levelCount", s.LevelCount);
    const auto listed = std::min<std::size_t>(s.LevelFiles.size(), kListedLevels);
    for (std::size_t i = 0; i < listed; ++i) d.add("level" + std::to_string(i), s.LevelFiles[i]);
    d.add("titlePage", titleScreen.TitlePage);
    d.add("textVariant", titleScreen.TextVariant);
    d.add("endTextLines", endText.count);
    d.add("endScroll", endScreen.ScrollTop);
    // The world's own keys, once a level has been entered.
    if (s.ScreenState == kScreenPlay) return d.text() + DescribeWorldState();
    return d.text();
}

bool WriteStateDump(const std::string& path) {
    const std::string text = DescribeState();
    return WriteWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}
