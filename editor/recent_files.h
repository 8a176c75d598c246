// The Recent files list: the last eight level files loaded or saved, newest
// first, kept in the editor's settings file ("[Recent]", "File1".."File8").
#pragma once

#include <string>
#include <vector>

constexpr int kRecentFileCount = 8;

// The list read from the settings file (editor.settingsFile; none when that is
// empty), without the files that no longer exist.
std::vector<std::string> ReadRecentFiles();

// `path` put first (once), the list cut to eight and written back. The new
// list; the settings file is left alone when the list did not change.
std::vector<std::string> AddRecentFile(const std::string& path);

// The list without `path`, written back.
std::vector<std::string> DropRecentFile(const std::string& path);
