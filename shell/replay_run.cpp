#include "shell/replay_run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "formats/records_file.h"
#include "formats/replay_file.h"
#include "platform/automation.h"
#include "platform/build_version.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/user_data.h"
#include "shell/automation_run.h"
#include "shell/end_moment.h"
#include "shell/form_services.h"
#include "shell/play_screen.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"
#include "world/random.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

std::optional<Replay> recording;
std::optional<Replay> playback;
std::string playbackFile;
std::size_t played = 0;
std::string lastWritten;

PlayerRecord& localRecord() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

std::uint16_t controlBits(const PlayerRecord& p) {
    std::uint16_t bits = 0;
    for (int c = 0; c < kControlCount; ++c)
        if (p.controls[c]) bits |= static_cast<std::uint16_t>(1u << c);
    if (p.cameraCloser) bits |= 1u << kControlCount;
    if (p.cameraFarther) bits |= 1u << (kControlCount + 1);
    return bits;
}

void setControlBits(PlayerRecord& p, std::uint16_t bits) {
    for (int c = 0; c < kControlCount; ++c) p.controls[c] = (bits >> c) & 1u;
    p.cameraCloser = (bits >> kControlCount) & 1u;
    p.cameraFarther = (bits >> (kControlCount + 1)) & 1u;
}

std::optional<std::uint64_t> levelFileDigest(const std::string& path) {
    const SmallFile file = ReadSmallFile(ResolvePath(path), kTextFileLimit);
    if (file.status != SmallFileStatus::Read) return std::nullopt;
    return LevelDigest(file.bytes);
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (WriteWholeFile(path, bytes)) return true;
    std::fprintf(stderr, "kelvane: cannot write %s\n", path.c_str());
    return false;
}

// A won level's time against records.ini: a new best rewrites it and keeps
// the replay as best-<name>.kvr.
void keepBestTime(const Replay& replay, const std::vector<std::uint8_t>& bytes) {
    const std::string name = LevelRecordName(replay.levelPath);
    const SmallFile file = ReadSmallFile(RecordsFile());
    BestTimes times;
    if (file.status == SmallFileStatus::Read)
        times = ParseRecords(
            std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
    if (!TakeBestTime(times, name, replay.levelTimeMs)) return;
    const std::string text = RecordsText(times);
    if (!writeFile(RecordsFile(), std::vector<std::uint8_t>(text.begin(), text.end()))) return;
    const std::string best = (fs::path(ReplaysFolder()) / ("best-" + name + ".kvr")).string();
    if (writeFile(best, bytes)) lastWritten = best;
}

} // namespace

std::string ReplaysFolder() {
    const std::string data = UserDataFolder();
    return data.empty() ? std::string() : (fs::path(data) / "replays").string();
}

std::string RecordsFile() {
    const std::string folder = ReplaysFolder();
    return folder.empty() ? std::string() : (fs::path(folder) / "records.ini").string();
}

void BeginLevelRecording() {
    FinishLevelRecording();
    if (playback || lastPlayer > 0) return;
    const ShellState& s = shellState;
    const std::optional<std::uint64_t> digest = levelFileDigest(s.LevelFile);
    if (!digest) return;
    const PlayerRecord& p = localRecord();
    Replay r;
    r.programVersion = kProgramVersion;
    r.buildRevision = kBuildRevision;
    r.levelPath = s.LevelFile;
    r.levelDigest = *digest;
    r.start = {Now, RandomSeedValue(), p.lives, p.cameraDistance, p.savedCameraDistance};
    recording = std::move(r);
}

void FinishLevelRecording() {
    if (!recording) return;
    Replay replay = std::move(*recording);
    recording.reset();
    if (replay.frames.empty() || ReplaysFolder().empty()) return;
    if (shellState.LevelOutcome == kOutcomeCompleted) {
        replay.outcome = kReplayOutcomeWon;
        replay.levelTimeMs = levelPlayMs;
    }
    std::error_code ec;
    fs::create_directories(ReplaysFolder(), ec);
    const std::vector<std::uint8_t> bytes = EncodeReplay(replay);
    const std::string last = (fs::path(ReplaysFolder()) / "last.kvr").string();
    if (writeFile(last, bytes)) lastWritten = last;
    if (replay.outcome == kReplayOutcomeWon) keepBestTime(replay, bytes);
}

void ReplayFrameInput() {
    PlayerRecord& p = localRecord();
    if (playback) {
        if (played >= playback->frames.size()) return;
        const ReplayFrame& f = playback->frames[played++];
        Now = f.tick;
        frameMs = f.frameMs;
        setControlBits(p, f.controls);
        return;
    }
    if (!recording || recording->frames.size() >= kReplayMaxFrames) return;
    recording->frames.push_back({Now, frameMs, controlBits(p)});
}

void StartReplayPlayback(const std::string& file) {
    const auto refuse = [](const std::string& text) {
        ShowMessageBox(text);
        RequestProgramEnd(kBadCommandLineExitCode);
    };
    Loaded<Replay> replay = ReadReplayFile(file);
    if (!replay) return refuse(replay.error);
    const std::optional<std::uint64_t> digest = levelFileDigest(replay->levelPath);
    if (!digest)
        return refuse("The level " + replay->levelPath + " of the replay " + file +
                      " is missing or cannot be read.");
    if (const std::string mismatch = ReplayMismatch(*replay, kProgramVersion, *digest);
        !mismatch.empty())
        return refuse("The replay " + file + " cannot be played: " + mismatch);

    playback = std::move(*replay);
    playbackFile = file;
    played = 0;
    ShellState& s = shellState;
    s.LevelFiles = {playback->levelPath};
    s.LevelCount = 1;
    // The level starts at the recorded tick, and each frame shows its own.
    UseVirtualClock(playback->start.tick);
    ResetFrameClock();
    StartNewGame(0);
    if (s.EndRequested || s.ScreenState != kScreenPlay) return;
    PlayerRecord& p = localRecord();
    p.lives = playback->start.lives;
    p.cameraDistance = playback->start.cameraDistance;
    p.savedCameraDistance = playback->start.savedCameraDistance;
    SeedRandom(playback->start.randomSeed);
    LimitFrameBudget(static_cast<std::int64_t>(playback->frames.size()));
}

bool ReplayPlaying() {
    return playback.has_value();
}

std::optional<std::int32_t> NextReplayTick() {
    if (!playback || played >= playback->frames.size()) return std::nullopt;
    return playback->frames[played].tick;
}

std::int32_t ReplayPaceMs() {
    constexpr std::int32_t kPaceWithoutFrames = 20;
    if (!playback || playback->frames.empty()) return kPaceWithoutFrames;
    return playback->frames[std::min(played, playback->frames.size() - 1)].frameMs;
}

ReplayStatus CurrentReplayStatus() {
    ReplayStatus status;
    status.playbackFile = playbackFile;
    status.frames = playback    ? static_cast<std::int64_t>(playback->frames.size())
                    : recording ? static_cast<std::int64_t>(recording->frames.size())
                                : 0;
    status.played = static_cast<std::int64_t>(played);
    status.recording = recording.has_value();
    status.lastWritten = lastWritten;
    status.recordsFile = RecordsFile();
    const SmallFile file = ReadSmallFile(status.recordsFile);
    if (file.status == SmallFileStatus::Read && !shellState.LevelFile.empty()) {
        const BestTimes times = ParseRecords(
            std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
        const auto it = times.find(LevelRecordName(shellState.LevelFile));
        if (it != times.end()) status.recordsBest = it->second;
    }
    return status;
}

void ResetReplays() {
    recording.reset();
    playback.reset();
    playbackFile.clear();
    played = 0;
    lastWritten.clear();
}
