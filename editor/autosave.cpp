#include "editor/autosave.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "editor/editor_state.h"
#include "editor/level_commands.h"
#include "platform/files.h"
#include "platform/user_data.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "kelvedit-";
bool failureShown = false;

fs::path sidePath(const fs::path& level) {
    fs::path name = level;
    return name.replace_extension(".name");
}

// The process number of an autosave name "kelvedit-<digits>.lev", or -1.
std::int64_t processOf(const std::string& name) {
    if (name.size() <= kPrefix.size() + 4 || name.rfind(kPrefix, 0) != 0 ||
        name.substr(name.size() - 4) != ".lev")
        return -1;
    const std::string digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - 4);
    if (digits.empty() || digits.size() > 18) return -1;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool processRunning(std::int64_t process) {
    std::error_code ec;
    return fs::exists(fs::path("/proc") / std::to_string(process), ec);
}

void removeWithName(const fs::path& level) {
    std::error_code ec;
    fs::remove(level, ec);
    fs::remove(sidePath(level), ec);
}

} // namespace

std::string DefaultAutosaveFolder() {
    const std::string state = UserFolder("XDG_STATE_HOME", ".local/state");
    return state.empty() ? std::string() : (fs::path(state) / "kelvane" / "autosave").string();
}

std::string AutosaveFile() {
    if (editor.autosaveFolder.empty()) return {};
    return (fs::path(editor.autosaveFolder) /
            (std::string(kPrefix) + std::to_string(CurrentProcessId()) + ".lev"))
        .string();
}

void AutosaveTick(std::int64_t elapsedMs) {
    if (editor.autosaveFolder.empty()) return;
    if (!editor.modified) {
        editor.autosaveChangedMs = 0;
        return;
    }
    editor.autosaveChangedMs += std::max<std::int64_t>(elapsedMs, 0);
    if (editor.autosaveChangedMs < kAutosaveIntervalMs) return;
    editor.autosaveChangedMs = 0;
    (void)WriteAutosave();
}

bool WriteAutosave() {
    const std::string file = AutosaveFile();
    if (file.empty()) return false;
    std::error_code ec;
    fs::create_directories(editor.autosaveFolder, ec);
    const std::vector<std::uint8_t> name(editor.fileName.begin(), editor.fileName.end());
    // The name first: a level without its name would be offered as untitled.
    if (!WriteWholeFile(sidePath(file).string(), name) ||
        !WriteWholeFile(file, EncodeEditorLevel())) {
        if (!failureShown) ShowEditorMessage("The autosave " + file + " could not be written.");
        failureShown = true;
        return false;
    }
    editor.autosaveWritten = file;
    editor.autosaves += 1;
    return true;
}

void RemoveAutosave() {
    editor.autosaveChangedMs = 0;
    if (editor.autosaveWritten.empty()) return;
    removeWithName(editor.autosaveWritten);
    editor.autosaveWritten.clear();
}

std::optional<AutosaveLeftover> FindAutosaveLeftover() {
    if (editor.autosaveFolder.empty()) return std::nullopt;
    const auto names = ListFolder(editor.autosaveFolder);
    if (!names) return std::nullopt;
    std::optional<AutosaveLeftover> newest;
    fs::file_time_type newestTime{};
    for (const std::string& name : *names) {
        const std::int64_t process = processOf(name);
        if (process < 0 || process == CurrentProcessId() || processRunning(process)) continue;
        const fs::path level = fs::path(editor.autosaveFolder) / name;
        std::error_code ec;
        if (!fs::is_regular_file(level, ec)) continue;
        const fs::file_time_type time = fs::last_write_time(level, ec);
        if (ec || (newest && time <= newestTime)) continue;
        AutosaveLeftover found{level.string(), {}};
        if (const SmallFile side = ReadSmallFile(sidePath(level).string(), 4096);
            side.status == SmallFileStatus::Read)
            found.original.assign(side.bytes.begin(), side.bytes.end());
        newest = found;
        newestTime = time;
    }
    return newest;
}

bool OfferAutosaveLeftover() {
    const std::optional<AutosaveLeftover> leftover = FindAutosaveLeftover();
    if (!leftover) return false;
    const std::string what = leftover->original.empty() ? "an untitled level" : leftover->original;
    switch (AskQuestion("The editor was not closed properly last time. Restore the autosave of " +
                        what + "?")) {
    case SaveAnswer::Yes:
        if (!RestoreEditorLevel(leftover->file, leftover->original)) break;
        editor.autosaveRestored = leftover->file;
        removeWithName(leftover->file);
        // The restored level is written here again by this editor's autosave.
        (void)WriteAutosave();
        break;
    case SaveAnswer::No:
        removeWithName(leftover->file);
        break;
    case SaveAnswer::Cancel:
        break;
    }
    return true;
}
