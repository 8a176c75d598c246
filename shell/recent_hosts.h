// The addresses the player last joined by "Direct address", newest first,
// kept in kelv.ini as [Network] RecentHost1 to RecentHost8. The address
// prompt offers them, the newest as its answer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/profile.h"

constexpr std::size_t kRecentHostCount = 8;
// Longer addresses are not kept: no host name or address is this long.
constexpr std::size_t kRecentHostMaxLength = 255;

// The keys as read: blanks around an address dropped, empty values, a
// second copy of an address and over-long ones skipped, at most eight.
std::vector<std::string> ReadRecentHosts(const ProfileData& profile);
// `address` (trimmed) first, its older copy removed, cut to eight. An empty
// or over-long address, or one with a line break, leaves the list as it is.
std::vector<std::string> RememberHost(std::vector<std::string> hosts, const std::string& address);
// All eight keys, unused ones empty, so that a shorter list leaves nothing old behind.
std::vector<ProfileEntry> RecentHostEntries(const std::vector<std::string>& hosts);

// The list from the settings file, read anew.
std::vector<std::string> LoadRecentHosts();
// Puts `address` first in the settings file's list; false (after the
// refusal box) when the file could not be written.
bool SaveRecentHost(const std::string& address);
