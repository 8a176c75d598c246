#include "media/mci.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <map>
#include <memory>
#include <sstream>

#include "media/midi_length.h"
#include "media/music_bus.h"
#include "media/music_kind.h"
#include "media/pcm_convert.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text_case.h"

namespace {

enum class DeviceType { Sequencer, CdAudio, Video };

struct Device {
    DeviceType type = DeviceType::Sequencer;
    bool playFailed = false; // the last play could not start: "not ready"
    // Sequencer.
    std::vector<std::uint8_t> midi;
    std::int64_t lengthMs = 0;
    // CD audio: track number -> resolved file.
    std::map<std::int32_t, std::string> tracks;
    // Video.
    std::unique_ptr<VideoStream> video;
    bool videoPlaying = false;
    bool notify = false;
    std::int32_t startTick = 0;
    std::int64_t shownMs = 0;
};

std::map<std::string, Device> devices; // by lower-case alias
std::deque<std::string> recent;
bool notificationWaiting = false;

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

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

// Whether `w`, from `at` on, reads as the keywords `phrase` (case-insensitive).
bool saysAt(const std::vector<std::string>& w, std::size_t at, const std::string& phrase) {
    const auto keys = words(phrase);
    if (at + keys.size() > w.size()) return false;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (!EqualNoCase(w[at + i], keys[i])) return false;
    return true;
}

std::optional<std::int64_t> number(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int answer(std::string* reply, int replyLength, const std::string& text) {
    if (reply) *reply = text.substr(0, static_cast<std::size_t>(std::max(replyLength - 1, 0)));
    return kMciOk;
}

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
        const auto n = number(digits);
        if (n && *n <= INT32_MAX) tracks[static_cast<std::int32_t>(*n)] = folder + "/" + name;
    }
    return tracks;
}

int openDevice(const std::string& command, const std::vector<std::string>& w) {
    if (w.size() < 2) return kMciMissingParameter;
    // The element is everything between "open " and " alias " (names may hold spaces).
    std::string element = w[1];
    std::string alias;
    for (std::size_t i = 2; i + 1 < w.size(); ++i) {
        if (EqualNoCase(w[i], "alias")) {
            alias = w[i + 1];
            const std::size_t from = command.find(w[1], command.find(w[0]) + w[0].size());
            const std::size_t to = LowerAscii(command).rfind(" alias ");
            if (from != std::string::npos && to != std::string::npos && to > from)
                element = command.substr(from, to - from);
            break;
        }
    }
    if (alias.empty()) alias = element;
    const std::string key = LowerAscii(alias);
    if (devices.count(key)) return kMciInvalidDeviceName; // already open under that name

    Device device;
    if (EqualNoCase(element, "cdaudio")) {
        device.type = DeviceType::CdAudio;
        device.tracks = findTracks();
    } else {
        // Names from data files stay inside the data folder.
        if (!IsDataFileName(element) || !FileExists(element)) return kMciFileNotFound;
        const std::string path = ResolvePath(element);
        if (MusicKindOf(element) == MusicKind::Midi || EndsWithNoCase(element, ".RMI")) {
            device.type = DeviceType::Sequencer;
            auto bytes = ReadWholeFile(path);
            if (!bytes) return kMciFileNotFound;
            const auto length = MidiLengthMs(*bytes);
            if (!length) return kMciFileNotFound;
            device.midi = std::move(*bytes);
            device.lengthMs = *length;
        } else {
            device.type = DeviceType::Video;
            const auto& open = InstalledMusicDecoders().video;
            if (open) device.video = open(path);
            if (!device.video) return kMciFileNotFound;
            device.lengthMs = device.video->LengthMs();
        }
    }
    devices[key] = std::move(device);
    return kMciOk;
}

MusicSlot slotOf(const Device& device) {
    return device.type == DeviceType::CdAudio ? MusicSlot::CdAudio : MusicSlot::Sequencer;
}

std::int64_t positionMs(const Device& device) {
    if (device.type == DeviceType::Video)
        return std::min<std::int64_t>(device.shownMs, device.lengthMs);
    const std::int64_t ms = TheMusicBus()->FramesPlayed(slotOf(device)) * 1000 / kDeviceRate;
    return device.type == DeviceType::Sequencer ? std::min(ms, device.lengthMs) : ms;
}

const char* modeOf(const Device& device) {
    if (device.playFailed) return "not ready";
    if (device.type == DeviceType::Video) return device.videoPlaying ? "playing" : "stopped";
    return TheMusicBus()->Playing(slotOf(device)) ? "playing" : "stopped";
}

int play(Device& device, const std::vector<std::string>& w) {
    device.playFailed = true;
    switch (device.type) {
    case DeviceType::Sequencer: {
        const auto& open = InstalledMusicDecoders().midi;
        auto stream = open && device.lengthMs > 0 ? open(device.midi) : nullptr;
        if (!stream) return kMciDeviceNotReady;
        TheMusicBus()->Play(MusicSlot::Sequencer, std::move(stream));
        break;
    }
    case DeviceType::CdAudio: {
        // "from <track> [to <track>]": the tracks from the first up to, not
        // including, the second; to the last track without it.
        std::optional<std::int64_t> from, to;
        for (std::size_t i = 2; i + 1 < w.size(); ++i) {
            if (EqualNoCase(w[i], "from")) from = number(w[i + 1]);
            if (EqualNoCase(w[i], "to")) to = number(w[i + 1]);
        }
        if (!from || device.tracks.empty() ||
            !device.tracks.count(
                static_cast<std::int32_t>(std::clamp<std::int64_t>(*from, 0, INT32_MAX))))
            return kMciOutOfRange;
        std::vector<std::string> files;
        for (const auto& [n, file] : device.tracks)
            if (n >= *from && (!to || n < *to)) files.push_back(file);
        if (!InstalledMusicDecoders().audioFile) return kMciDeviceNotReady;
        auto sequence = std::make_unique<TrackSequence>(std::move(files));
        if (!sequence->OpenNext()) return kMciDeviceNotReady;
        TheMusicBus()->Play(MusicSlot::CdAudio, std::move(sequence));
        break;
    }
    case DeviceType::Video:
        device.videoPlaying = true;
        device.shownMs = 0;
        device.startTick = GetTickCount();
        device.notify = false;
        for (std::size_t i = 2; i < w.size(); ++i)
            if (EqualNoCase(w[i], "notify")) device.notify = true;
        break;
    }
    device.playFailed = false;
    return kMciOk;
}

void stop(Device& device) {
    if (device.type == DeviceType::Video) {
        device.videoPlaying = false;
        return;
    }
    TheMusicBus()->Stop(slotOf(device));
}

int status(const Device& device, const std::vector<std::string>& w, std::string* reply,
           int replyLength) {
    if (saysAt(w, 2, "mode")) return answer(reply, replyLength, modeOf(device));
    if (saysAt(w, 2, "number of tracks")) {
        if (device.type != DeviceType::CdAudio) return kMciUnrecognizedCommand;
        const std::int32_t highest = device.tracks.empty() ? 0 : device.tracks.rbegin()->first;
        return answer(reply, replyLength, std::to_string(highest));
    }
    // A device whose play failed has no place in its music to tell.
    if (device.playFailed) return kMciDeviceNotReady;
    if (saysAt(w, 2, "position"))
        return answer(reply, replyLength, std::to_string(positionMs(device)));
    if (saysAt(w, 2, "length")) {
        if (device.type == DeviceType::CdAudio) return kMciUnrecognizedCommand;
        return answer(reply, replyLength, std::to_string(device.lengthMs));
    }
    return kMciUnrecognizedCommand;
}

void remember(const std::string& command) {
    recent.push_back(command);
    while (recent.size() > kMciCommandsKept) recent.pop_front();
}

// Moves the playing clips on to the game's clock; a clip reaching its end
// stops, and posts its notification when it was played with "notify".
void advanceClips() {
    for (auto& [alias, device] : devices) {
        if (device.type != DeviceType::Video || !device.videoPlaying) continue;
        device.shownMs =
            std::max<std::int64_t>(0, TickDifference(device.startTick, GetTickCount()));
        if (device.shownMs < device.lengthMs) continue;
        device.videoPlaying = false;
        if (device.notify) notificationWaiting = true;
    }
}

} // namespace

int mciSendString(const std::string& command, std::string* reply, int replyLength) {
    remember(command);
    if (reply) reply->clear();
    const auto w = words(command);
    if (w.empty()) return kMciUnrecognizedCommand;
    const std::string verb = LowerAscii(w[0]);
    if (verb == "open") return openDevice(command, w);
    if (w.size() < 2) return kMciMissingParameter;
    const auto found = devices.find(LowerAscii(w[1]));
    if (found == devices.end()) return kMciInvalidDeviceName;
    Device& device = found->second;
    if (verb == "play") return play(device, w);
    if (verb == "stop") {
        stop(device);
        return kMciOk;
    }
    if (verb == "close") {
        stop(device);
        devices.erase(found);
        return kMciOk;
    }
    if (verb == "status") {
        advanceClips();
        return status(device, w, reply, replyLength);
    }
    if (verb == "set" || verb == "window" || verb == "put") return kMciOk;
    return kMciUnrecognizedCommand;
}

std::vector<std::string> RecentMciCommands() {
    return {recent.begin(), recent.end()};
}

bool TakeMciNotification() {
    advanceClips();
    const bool waiting = notificationWaiting;
    notificationWaiting = false;
    return waiting;
}

const VideoPicture* CurrentClipPicture() {
    advanceClips();
    for (auto& [alias, device] : devices)
        if (device.type == DeviceType::Video && device.video)
            return device.video->PictureAt(device.shownMs);
    return nullptr;
}

void ResetMci() {
    for (auto& [alias, device] : devices) stop(device);
    devices.clear();
    recent.clear();
    notificationWaiting = false;
}
