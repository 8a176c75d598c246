#include "shell/recent_hosts.h"

#include <algorithm>

#include "shell/settings.h"

namespace {

constexpr const char* kSection = "Network";

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool keepable(const std::string& address) {
    return !address.empty() && address.size() <= kRecentHostMaxLength &&
           address.find_first_of("\r\n") == std::string::npos;
}

std::string keyName(std::size_t index) {
    return "RecentHost" + std::to_string(index + 1);
}

} // namespace

std::vector<std::string> ReadRecentHosts(const ProfileData& profile) {
    std::vector<std::string> hosts;
    for (std::size_t i = 0; i < kRecentHostCount; ++i) {
        const std::string address = trimmed(ProfileString(profile, kSection, keyName(i), ""));
        if (!keepable(address) || std::find(hosts.begin(), hosts.end(), address) != hosts.end())
            continue;
        hosts.push_back(address);
    }
    return hosts;
}

std::vector<std::string> RememberHost(std::vector<std::string> hosts, const std::string& address) {
    const std::string kept = trimmed(address);
    if (!keepable(kept)) return hosts;
    std::erase(hosts, kept);
    hosts.insert(hosts.begin(), kept);
    if (hosts.size() > kRecentHostCount) hosts.resize(kRecentHostCount);
    return hosts;
}

std::vector<ProfileEntry> RecentHostEntries(const std::vector<std::string>& hosts) {
    std::vector<ProfileEntry> entries;
    for (std::size_t i = 0; i < kRecentHostCount; ++i)
        entries.push_back({kSection, keyName(i), i < hosts.size() ? hosts[i] : std::string()});
    return entries;
}

std::vector<std::string> LoadRecentHosts() {
    return ReadRecentHosts(ReadProfile(SettingsPath()));
}

bool SaveRecentHost(const std::string& address) {
    const std::vector<std::string> hosts = RememberHost(LoadRecentHosts(), address);
    return WriteSettingsEntries(RecentHostEntries(hosts));
}
