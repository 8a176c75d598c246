#include "backends/qt/automation_finish.h"

#include <QBuffer>
#include <cstdio>
#include <optional>

#include "media/audio_capture.h"
#include "platform/files.h"

namespace {

bool writePicture(const std::string& file, const QImage& picture) {
    const std::vector<std::uint8_t> png = EncodePng(picture);
    return !png.empty() && WriteWholeFile(file, png);
}

bool writeText(const std::string& file, const std::string& text) {
    return WriteWholeFile(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool reportFailure(const char* what, const std::string& file) {
    std::fprintf(stderr, "cannot write the %s '%s'\n", what, file.c_str());
    return false;
}

} // namespace

std::vector<std::uint8_t> EncodePng(const QImage& picture) {
    if (picture.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) return {};
    return {bytes.begin(), bytes.end()};
}

bool FinishAutomation(const AutomationOptions& options, const AutomationResults& results) {
    bool ok = true;
    // The state is taken before the picture: drawing the picture must not
    // change what the dump shows of the last frame.
    const std::string& dump = options.dumpStateFile;
    const std::optional<std::string> state =
        !dump.empty() && results.state ? std::optional(results.state()) : std::nullopt;
    const std::string& shot = options.screenshotFile;
    if (!shot.empty() && !(results.picture && writePicture(shot, results.picture())))
        ok = reportFailure("screenshot", shot);
    if (!dump.empty() && !(state && writeText(dump, *state)))
        ok = reportFailure("state dump", dump);
    const std::string& audio = options.recordAudioFile;
    if (!audio.empty() && !WriteAudioCapture(audio)) ok = reportFailure("audio capture", audio);
    return ok;
}
