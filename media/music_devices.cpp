#include "media/music_devices.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <utility>

#include "media/midi_length.h"
#include "media/music_bus.h"
#include "media/music_kind.h"
#include "media/pcm_convert.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text_case.h"

namespace {

std::deque<std::string> recent;

// Track files play one after the other, each opened when the one before ends.
class TrackSequence : public MusicStream {
  public:
    explicit TrackSequence(std::vector<std::string> files) : files_(std::move(files)) {}
    bool OpenNext() {
        while (next_ < files_.size()) {
            current_ = InstalledMusicDecoders().audioFile(files_[next_++]);
            if (current_) return true;
        }
        current_.reset();
        return false;
    }
    int Read(float* stereo, int frames) override {
        int done = 0;
        while (done < frames && current_) {
            done += current_->Read(stereo + 2 * done, frames - done);
            if (done < frames && !OpenNext()) break;
        }
        return done;
    }

  private:
    std::vector<std::string> files_;
    std::size_t next_ = 0;
    std::unique_ptr<MusicStream> current_;
};

// "TRACK<n>.<anything>" in the CD folder, n in decimal.
std::map<std::int32_t, std::string> findTracks() {
    std::map<std::int32_t, std::string> tracks;
    const std::string folder = ResolvePath("CDAUDIO");
    const auto names = ListFolder(folder);
    if (!names) return tracks;
    for (const std::string& name : *names) {
        if (name.size() < 7 || !EqualNoCase(name.substr(0, 5), "TRACK")) continue;
        const std::size_t dot = name.find('.', 5);
        if (dot == std::string::npos) continue;
        const std::string digits = name.substr(5, dot - 5);
        if (!AllDigits(digits)) continue;
        std::int64_t n = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        if (error == std::errc() && n <= INT32_MAX)
            tracks[static_cast<std::int32_t>(n)] = folder + "/" + name;
    }
    return tracks;
}

// Names from data files stay inside the data folder.
bool dataFileThere(const std::string& file) {
    return IsDataFileName(file) && FileExists(file);
}

} // namespace

std::vector<std::string> RecentMusicCommands() {
    return {recent.begin(), recent.end()};
}

void LogMusicCommand(std::string command) {
    recent.push_back(std::move(command));
    while (recent.size() > kMusicCommandsKept) recent.pop_front();
}

void ClearMusicCommands() {
    recent.clear();
}

bool MidiPlayer::Open(const std::string& file) {
    LogMusicCommand("open " + file + " alias zique");
    if (open_ || !dataFileThere(file)) return false;
    auto bytes = ReadWholeFile(ResolvePath(file));
    if (!bytes) return false;
    const auto length = MidiLengthMs(*bytes);
    if (!length) return false;
    midi_ = std::move(*bytes);
    lengthMs_ = *length;
    open_ = true;
    playFailed_ = false;
    return true;
}

bool MidiPlayer::Play() {
    LogMusicCommand("play zique");
    if (!open_) return false;
    const auto& decode = InstalledMusicDecoders().midi;
    auto stream = decode && lengthMs_ > 0 ? decode(midi_) : nullptr;
    playFailed_ = !stream;
    if (stream) TheMusicBus()->Play(MusicSlot::Sequencer, std::move(stream));
    return !playFailed_;
}

std::optional<std::int64_t> MidiPlayer::PositionMs() const {
    LogMusicCommand("status zique position");
    if (!known()) return std::nullopt;
    const std::int64_t ms = TheMusicBus()->FramesPlayed(MusicSlot::Sequencer) * 1000 / kDeviceRate;
    return std::min(ms, lengthMs_);
}

std::optional<std::int64_t> MidiPlayer::LengthMs() const {
    LogMusicCommand("status zique length");
    if (!known()) return std::nullopt;
    return lengthMs_;
}

void MidiPlayer::Stop() {
    LogMusicCommand("stop zique");
    if (open_) TheMusicBus()->Stop(MusicSlot::Sequencer);
}

void MidiPlayer::Close() {
    LogMusicCommand("close zique");
    if (open_) TheMusicBus()->Stop(MusicSlot::Sequencer);
    *this = MidiPlayer{};
}

bool CdPlayer::Open() {
    LogMusicCommand("open cdaudio");
    LogMusicCommand("set cdaudio time format tmsf");
    if (open_) return false;
    tracks_ = findTracks();
    open_ = true;
    playFailed_ = false;
    return true;
}

std::optional<std::int32_t> CdPlayer::HighestTrack() const {
    LogMusicCommand("status cdaudio number of tracks");
    if (!open_) return std::nullopt;
    return tracks_.empty() ? 0 : tracks_.rbegin()->first;
}

bool CdPlayer::Play(std::int32_t from, std::optional<std::int64_t> to) {
    LogMusicCommand("play cdaudio from " + std::to_string(from) +
                    (to ? " to " + std::to_string(*to) : std::string()));
    if (!open_) return false;
    playFailed_ = true;
    if (!tracks_.count(from) || !InstalledMusicDecoders().audioFile) return false;
    std::vector<std::string> files;
    for (const auto& [n, file] : tracks_)
        if (n >= from && (!to || n < *to)) files.push_back(file);
    auto sequence = std::make_unique<TrackSequence>(std::move(files));
    if (!sequence->OpenNext()) return false;
    TheMusicBus()->Play(MusicSlot::CdAudio, std::move(sequence));
    playFailed_ = false;
    return true;
}

CdMode CdPlayer::Mode() const {
    LogMusicCommand("status cdaudio mode");
    if (!open_) return CdMode::Closed;
    if (playFailed_) return CdMode::NotReady;
    return TheMusicBus()->Playing(MusicSlot::CdAudio) ? CdMode::Playing : CdMode::Stopped;
}

void CdPlayer::Stop() {
    LogMusicCommand("stop cdaudio");
    if (open_) TheMusicBus()->Stop(MusicSlot::CdAudio);
}

void CdPlayer::Close() {
    LogMusicCommand("close cdaudio");
    if (open_) TheMusicBus()->Stop(MusicSlot::CdAudio);
    *this = CdPlayer{};
}

bool ClipPlayer::Open(const std::string& file) {
    LogMusicCommand("Open " + file + " alias VidClip");
    refusal_.clear();
    if (video_ || !dataFileThere(file)) return false;
    const auto& decode = InstalledMusicDecoders().video;
    if (!decode) return false;
    auto video = decode(ResolvePath(file));
    if (!video || !*video) {
        if (!video.error.empty()) refusal_ = "The clip " + file + " is not played: " + video.error;
        return false;
    }
    *this = ClipPlayer{};
    lengthMs_ = (*video)->LengthMs();
    video_ = std::move(*video);
    return true;
}

ClipSize ClipPlayer::SourceSize() const {
    return video_ ? video_->SourceSize() : ClipSize{};
}

ClipSize ClipPlayer::DecodedSize() const {
    return video_ ? video_->DecodedSize() : ClipSize{};
}

void ClipPlayer::Place(std::uint64_t window, int width, int height) {
    LogMusicCommand("Window Vidclip handle " + std::to_string(window));
    LogMusicCommand("put Vidclip destination at 0 0 " + std::to_string(width) + " " +
                    std::to_string(height));
}

void ClipPlayer::Play(bool fullScreen) {
    LogMusicCommand(std::string("Play Vidclip notify ") + (fullScreen ? "fullscreen" : "window"));
    if (!video_) return;
    playing_ = true;
    shownMs_ = 0;
    startTick_ = GetTickCount();
}

// Moves a playing clip on to the game's clock; at its end it stops and
// leaves its end notice.
void ClipPlayer::advance() {
    if (!playing_) return;
    shownMs_ = std::max<std::int64_t>(0, TickDifference(startTick_, GetTickCount()));
    if (shownMs_ < lengthMs_) return;
    playing_ = false;
    endNotice_ = true;
}

bool ClipPlayer::TakeEndNotice() {
    advance();
    return std::exchange(endNotice_, false);
}

const VideoPicture* ClipPlayer::Picture() {
    advance();
    return video_ ? video_->PictureAt(shownMs_) : nullptr;
}

void ClipPlayer::Close() {
    LogMusicCommand("Close Vidclip");
    *this = ClipPlayer{};
}
