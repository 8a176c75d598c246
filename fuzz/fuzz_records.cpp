// The best times of records.ini: any text gives times within their range
// under safe names, which write back as text that reads the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/records_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const BestTimes times = ParseRecords(text);
    for (const auto& [name, ms] : times) {
        if (name.empty() || RecordName(name) != name) std::abort();
        if (ms < 1 || ms > kLongestRecordMs) std::abort();
    }
    if (ParseRecords(RecordsText(times)) != times) std::abort();
    // A record name never leaves the replays folder.
    const std::string name = RecordName(std::string(text));
    if (name.find_first_of("/\\.") != std::string::npos) std::abort();
    return 0;
}
