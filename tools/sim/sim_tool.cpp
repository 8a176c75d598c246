#include "sim_tool.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "danger.h"
#include "formats/definitions.h"
#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "route_player.h"
#include "shell/automation_run.h"
#include "shell/frame_step.h"
#include "shell/play_screen.h"
#include "shell/shell_state.h"
#include "shell/sounds.h"
#include "shell/startup.h"
#include "shell/state_dump.h"
#include "world/camera_sight.h"
#include "world/game_services.h"
#include "world/in_game_menu.h"
#include "world/random_clock.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "usage: kelvane-sim --data DIR --level FILE.lev (--script FILE | --route FILE)\n"
    "                   [--frame-ms M] [--seed S] [--frames N] [--until won|dead]\n"
    "                   [--dump-state F] [--trace F] [--emit-script F]\n"
    "                   [--camera-view 0..3] [--camera-every N]\n";

constexpr std::int64_t kDefaultFrames = 1'000'000;

struct SimOptions {
    std::string data, level, script, route, dump, trace, emit, until;
    std::int32_t frameMs = 50;
    std::optional<std::uint32_t> seed;
    std::int64_t frames = kDefaultFrames;
    std::int32_t cameraView = 0;  // 0 first person, 1..3 the follow camera's distances
    std::int64_t cameraEvery = 0; // look at what the camera shows every N frames (0: never)
};

// What the camera showed of the hero at the sampled frames.
struct CameraTally {
    std::int64_t samples = 0, clear = 0, hidden = 0, inWall = 0;
    void Add(CameraSight sight) {
        ++samples;
        (sight == CameraSight::Clear ? clear : sight == CameraSight::Hidden ? hidden : inWall) += 1;
    }
};

std::optional<std::int64_t> wholeNumber(const std::string& text, std::int64_t lo, std::int64_t hi) {
    try {
        std::size_t used = 0;
        const long long value = std::stoll(text, &used);
        if (used != text.size() || value < lo || value > hi) return std::nullopt;
        return value;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<SimOptions> parse(const std::vector<std::string>& args, std::string& error) {
    SimOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) {
            error = "the option " + a + " needs a value";
            return std::nullopt;
        }
        const std::string& v = args[++i];
        auto number = [&](std::int64_t lo, std::int64_t hi) {
            const auto n = wholeNumber(v, lo, hi);
            if (!n) error = "bad value for " + a + ": " + v;
            return n;
        };
        if (a == "--data")
            o.data = v;
        else if (a == "--level")
            o.level = v;
        else if (a == "--script")
            o.script = v;
        else if (a == "--route")
            o.route = v;
        else if (a == "--dump-state")
            o.dump = v;
        else if (a == "--trace")
            o.trace = v;
        else if (a == "--emit-script")
            o.emit = v;
        else if (a == "--until") {
            if (v != "won" && v != "dead") {
                error = "--until takes won or dead";
                return std::nullopt;
            }
            o.until = v;
        } else if (a == "--frame-ms") {
            const auto n = number(0, 60000);
            if (!n) return std::nullopt;
            o.frameMs = static_cast<std::int32_t>(*n);
        } else if (a == "--seed") {
            const auto n = number(0, 0xFFFFFFFFll);
            if (!n) return std::nullopt;
            o.seed = static_cast<std::uint32_t>(*n);
        } else if (a == "--camera-view") {
            const auto n = number(0, 3);
            if (!n) return std::nullopt;
            o.cameraView = static_cast<std::int32_t>(*n);
        } else if (a == "--camera-every") {
            const auto n = number(1, 1'000'000);
            if (!n) return std::nullopt;
            o.cameraEvery = *n;
        } else if (a == "--frames") {
            const auto n = number(1, 1'000'000'000);
            if (!n) return std::nullopt;
            o.frames = *n;
        } else {
            error = "unknown option " + a;
            return std::nullopt;
        }
    }
    if (o.data.empty() || o.level.empty())
        error = "--data and --level are needed";
    else if (o.script.empty() == o.route.empty())
        error = "give one of --script and --route";
    if (!error.empty()) return std::nullopt;
    return o;
}

std::string keyNames(const KeySet& keys) {
    static const std::pair<int, const char*> kNames[] = {
        {kVkUp, "UP"},       {kVkDown, "DOWN"},        {kVkLeft, "LEFT"},   {kVkRight, "RIGHT"},
        {kVkSpace, "SPACE"}, {kVkControl, "CTRL"},     {kVkShift, "SHIFT"}, {kVkEscape, "ESC"},
        {kVkAdd, "ADD"},     {kVkSubtract, "SUBTRACT"}};
    std::string text;
    for (const auto& [vk, name] : kNames)
        if (keys[static_cast<std::size_t>(vk)])
            text += (text.empty() ? "" : " ") + std::string(name);
    return text;
}

// Frame ranges of equal key sets as script lines ("12-40 UP RIGHT").
std::string scriptOf(const std::vector<KeySet>& frames) {
    std::string text = "# keys of a route, one range of frames per line\n";
    std::size_t i = 0;
    while (i < frames.size()) {
        std::size_t j = i;
        while (j + 1 < frames.size() && frames[j + 1] == frames[i]) ++j;
        if (frames[i].any()) {
            text += std::to_string(i + 1);
            if (j > i) text += "-" + std::to_string(j + 1);
            text += " " + keyNames(frames[i]) + "\n";
        }
        i = j + 1;
    }
    return text;
}

void holdKeys(const KeySet& keys, KeySet& held) {
    for (int vk = 0; vk < kVirtualKeyCount; ++vk) {
        const auto bit = static_cast<std::size_t>(vk);
        if (keys[bit] && !held[bit]) PressKey(vk);
        if (!keys[bit] && held[bit]) ReleaseKey(vk);
    }
    held = keys;
}

bool writeText(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

} // namespace

int RunSimTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    std::optional<SimOptions> parsed = parse(args, error);
    if (!parsed) {
        err << "kelvane-sim: " << error << "\n" << kUsage;
        return 2;
    }
    SimOptions o = *parsed;
    std::error_code ec;
    for (std::string* file : {&o.script, &o.route, &o.dump, &o.trace, &o.emit})
        if (!file->empty()) *file = fs::absolute(*file, ec).string();
    o.level = StartFolderOrDataPath(o.level);

    GameOptions automation;
    automation.frameMs = o.frameMs;
    automation.seed = o.seed.value_or(1);
    if (!o.script.empty()) {
        const Loaded<InputScript> script = ReadInputScript(o.script);
        if (!script) {
            err << "kelvane-sim: " << script.error << "\n";
            return 2;
        }
        automation.script = *script;
    }
    std::optional<RoutePlayer> route;
    if (!o.route.empty()) {
        Loaded<std::vector<RouteStep>> steps = ReadRoute(o.route);
        if (!steps) {
            err << "kelvane-sim: " << steps.error << "\n";
            return 2;
        }
        if (steps->empty()) {
            err << "kelvane-sim: " << o.route << " has no route lines\n";
            return 2;
        }
        route.emplace(std::move(*steps));
    }
    fs::current_path(o.data, ec);
    if (ec) {
        err << "kelvane-sim: cannot open the data folder " << o.data << ": " << ec.message()
            << "\n";
        return 2;
    }

    // The game's start-up without a window, then its "new game" on this one level.
    ConfigureAutomation(automation);
    shellState = ShellState{};
    StartUpSharedModules();
    ForgetDefinitions(); // the object types were just cleared
    SeedRandomFromClock();
    InstallPlayServices();
    // Drawing nothing, the run still hears what the game hears.
    StartListeningSoundOutput();
    ShellState& s = shellState;
    s.Drawing = false;
    s.Initialised = true;
    s.LevelFiles = {o.level};
    s.LevelCount = 1;
    ResetKeys();
    ClearWorldEvents();
    for (PlayerRecord& p : players) p.cameraDistance = 0;
    StartNewGame(0);
    if (s.ScreenState != kScreenPlay) {
        err << "kelvane-sim: the level " << o.level << " could not be started\n";
        return 2;
    }
    PlayerRecord& hero = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    hero.cameraDistance = kCameraDistanceStep * static_cast<float>(o.cameraView);
    CameraTally camera;

    std::ofstream trace;
    if (!o.trace.empty()) trace.open(o.trace, std::ios::binary);
    std::vector<KeySet> emitted;
    KeySet held;
    DangerMeasures danger;
    bool met = false;
    for (std::int64_t frame = 1; frame <= o.frames && !s.EndRequested; ++frame) {
        if (route) {
            const KeySet keys = route->NextKeys(TickAfter(GetTickCount(), o.frameMs));
            if (!route->Failure().empty()) break;
            holdKeys(keys, held);
            emitted.push_back(keys);
        }
        BeginAutomatedFrame();
        FrameStep();
        CaptureFrameSound();
        if (o.cameraEvery > 0 && world.frame % o.cameraEvery == 0 && !hero.dead)
            camera.Add(CheckCameraSight(world, hero));
        MeasureDanger(danger);
        if (trace.is_open()) {
            const PlayerRecord& p = players[0];
            trace << world.frame << " [" << keyNames(route ? held : KeySet{}) << "] " << p.x << ' '
                  << p.y << ' ' << p.z << " h=" << p.heading << " cell=" << CellOf(p.x) << ','
                  << CellOf(p.y) << ',' << CellOf(p.z) << " pose=" << p.pose;
            // Where the sentries are and what they do (state 0 is a chase).
            for (int i = 1; i <= std::min(sentryCount, kSentrySlots - 1); ++i)
                trace << " s" << i << '=' << sentries[i].x << ',' << sentries[i].y << ','
                      << sentries[i].z << '/' << sentries[i].state;
            trace << " eye=" << p.cameraX << ',' << p.cameraY << ',' << p.cameraZ << '/'
                  << CameraSightName(CheckCameraSight(world, p)) << " fade=" << p.cameraFade;
            for (const WorldEvent& event : RecentWorldEvents())
                if (event.frame == world.frame) trace << " {" << DescribeWorldEvent(event) << '}';
            trace << '\n';
        }
        met = (o.until == "won" && world.wonFrame >= 0) || (o.until == "dead" && players[0].dead);
        if (met) break;
        if (route && route->Finished() && o.until.empty()) break;
    }

    if (!o.dump.empty() && !writeText(o.dump, DescribeState() + DescribeDanger(danger)))
        err << "kelvane-sim: cannot write " << o.dump << "\n";
    if (!o.emit.empty() && !writeText(o.emit, scriptOf(emitted)))
        err << "kelvane-sim: cannot write " << o.emit << "\n";
    if (route && !route->Failure().empty()) {
        err << "kelvane-sim: " << o.route << ": " << route->Failure() << "\n";
        return 1;
    }
    out << "frames=" << world.frame << " won.frame=" << world.wonFrame
        << " dead=" << int{players[0].dead};
    if (o.cameraEvery > 0)
        out << " camera.samples=" << camera.samples << " camera.clear=" << camera.clear
            << " camera.hidden=" << camera.hidden << " camera.inWall=" << camera.inWall;
    out << "\n";
    if (o.until.empty()) return 0;
    return met ? 0 : 1;
}
