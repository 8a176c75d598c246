#include "shell/game_digest.h"

#include "formats/definitions.h"
#include "platform/files.h"
#include "shell/automation_run.h"
#include "shell/startup.h"

namespace {

constexpr std::uint64_t kDigestStart = 14695981039346656037ull;

std::uint64_t continueWithNumber(std::uint64_t digest, std::uint64_t value) {
    std::uint8_t bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return ContinueDigest(digest, bytes);
}

// The name after the last '\' or '/'.
std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::uint64_t ContinueDigest(std::uint64_t digest, std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t b : bytes) digest = (digest ^ b) * 1099511628211ull;
    return digest;
}

std::uint64_t FileListDigest(const std::vector<std::string>& files) {
    std::uint64_t digest = continueWithNumber(kDigestStart, files.size());
    for (const std::string& file : files) {
        const std::string name = baseName(file);
        digest = continueWithNumber(digest, name.size());
        digest = ContinueDigest(
            digest, std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()));
        const SmallFile read = ReadSmallFile(ResolvePath(file));
        if (read.status != SmallFileStatus::Read) {
            // No size can be this: a missing file never matches a present one.
            digest = continueWithNumber(digest, ~std::uint64_t{0} -
                                                    static_cast<std::uint64_t>(read.status));
            continue;
        }
        digest = continueWithNumber(digest, read.bytes.size());
        digest = ContinueDigest(digest, read.bytes);
    }
    return digest;
}

NetGameIdentity LocalGameIdentity() {
    NetGameIdentity identity;
    identity.definitions = FileListDigest({kDefinitionFile});
    const std::string& asked = CurrentAutomation().levelFile;
    if (!asked.empty()) {
        identity.levels = FileListDigest({asked});
    } else {
        const auto files = ListLevelFiles();
        identity.levels = FileListDigest(files ? *files : std::vector<std::string>{});
    }
    return identity;
}
