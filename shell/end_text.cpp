#include "shell/end_text.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/message_box.h"

EndTextRecord endText;

namespace {

constexpr const char* kEndTextFile = "game.dat";
constexpr std::uint8_t kEndOfText = 0x1a;

} // namespace

EndTextRecord ParseEndText(std::span<const std::uint8_t> bytes) {
    EndTextRecord text;
    std::size_t at = 0;
    const std::size_t size = std::find(bytes.begin(), bytes.end(), kEndOfText) - bytes.begin();
    while (at < size && text.lines.size() < static_cast<std::size_t>(kEndTextLines)) {
        std::size_t end = at;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        text.lines.emplace_back(bytes.begin() + at, bytes.begin() + end);
        // A line end: LF, CR, or CR LF as one.
        if (end < size)
            end += (bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n') ? 2 : 1;
        at = end;
    }
    text.count = std::max<std::int32_t>(static_cast<std::int32_t>(text.lines.size()) - 1, 0);
    return text;
}

bool ReadEndText() {
    const auto reader = FileReader::Open(kEndTextFile);
    if (!reader) {
        ShowMessageBox("GAME: The file game.dat does not exist. Please re-install the application");
        return false;
    }
    // Only 1001 lines are kept, so a huge file is read no further than the
    // text-file limit.
    const auto bytes = reader->Read(0, std::min(reader->Size(), kTextFileLimit));
    endText = bytes ? ParseEndText(*bytes) : EndTextRecord{};
    return true;
}
