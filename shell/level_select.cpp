#include "shell/level_select.h"

#include <algorithm>

#include "draw/panel.h"
#include "draw/pipeline.h"
#include "draw/text.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/profile.h"
#include "platform/text_case.h"
#include "platform/user_data.h"
#include "shell/control_bindings.h"
#include "shell/end_moment.h"
#include "shell/practice_game.h"
#include "shell/replay_run.h"
#include "shell/screen_input.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sounds.h"
#include "shell/startup.h"

LevelSelectState levelSelect;

namespace {

constexpr int kVisibleRows = 13;
constexpr double kListTop = 0.17;
constexpr double kRowStep = 0.05;
constexpr double kRowHeight = 0.04;
constexpr double kSetLeft = 0.05;
constexpr double kNameLeft = 0.09;
constexpr double kAuthorLeft = 0.50;
constexpr double kReasonLeft = 0.25;
constexpr double kStatusLeft = 0.74;
constexpr double kRightEdge = 0.97;
constexpr int kDimmedPercent = 40;

PlayerRecord& localRecord() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

bool pressed(Control c) {
    return localRecord().controls[c] && !levelSelect.previous[c];
}

bool isLevelRow(int index) {
    const auto& entries = levelSelect.entries;
    return index >= 0 && index < static_cast<int>(entries.size()) &&
           entries[static_cast<std::size_t>(index)].level >= 0;
}

// The next level row from `from` in `step`'s direction, round the list;
// `from` when there is none.
int nextLevelRow(int from, int step) {
    const int count = static_cast<int>(levelSelect.entries.size());
    for (int i = 1; i <= count; ++i) {
        const int row = ((from + step * i) % count + count) % count;
        if (isLevelRow(row)) return row;
    }
    return from;
}

// The first level row of the set before or after the selected one's.
int otherSetRow(int step) {
    if (!isLevelRow(levelSelect.selected)) return levelSelect.selected;
    const auto& entries = levelSelect.entries;
    const int set = entries[static_cast<std::size_t>(levelSelect.selected)].set;
    const int sets = static_cast<int>(levelSelect.sets.size());
    for (int i = 1; i < sets; ++i) {
        const int wanted = ((set + step * i) % sets + sets) % sets;
        for (std::size_t row = 0; row < entries.size(); ++row)
            if (entries[row].set == wanted && entries[row].level >= 0) return static_cast<int>(row);
    }
    return levelSelect.selected;
}

// Keeps the selection in view, with its set's own row when that is just above.
void scrollToSelection() {
    LevelSelectState& t = levelSelect;
    if (t.selected - 1 < t.top) t.top = std::max(t.selected - 1, 0);
    if (t.selected >= t.top + kVisibleRows) t.top = t.selected - kVisibleRows + 1;
}

void moveTo(int row) {
    if (row == levelSelect.selected) return;
    levelSelect.selected = row;
    scrollToSelection();
    PlayClickSound();
}

void choose() {
    LevelSelectState& t = levelSelect;
    if (!isLevelRow(t.selected) ||
        !t.entries[static_cast<std::size_t>(t.selected)].status.empty()) {
        PlayClickSound();
        return;
    }
    t.chosen = true;
    CloseScreenWithChoice();
}

void startChosen() {
    LevelSelectState& t = levelSelect;
    const LevelSelectEntry entry = t.entries[static_cast<std::size_t>(t.selected)];
    t.open = false;
    t.chosen = false;
    shellState.TransitionCompleted = false;
    StartPracticeGame(t.sets[static_cast<std::size_t>(entry.set)], entry.level);
}

BestTimes readBestTimes() {
    const SmallFile file = ReadSmallFile(RecordsFile());
    if (file.status != SmallFileStatus::Read) return {};
    return ParseRecords(
        std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
}

std::vector<LevelSet> readCatalogue() {
    std::vector<LevelSet> sets;
    const auto campaign = ListLevelFiles();
    sets.push_back(CampaignSet(campaign.value_or(std::vector<std::string>{})));
    if (!campaign) sets.back().problem = "the LEVEL folder cannot be read";
    for (LevelSet& set : ScanLevelsFolder(UserLevelsFolder())) sets.push_back(std::move(set));
    return sets;
}

// `text` cut to fit `width` (a fraction of the screen) in the small font.
std::string fitted(std::string text, double width) {
    while (!text.empty() && TextWidth(text, false) > width) text.pop_back();
    return text;
}

void drawRow(const LevelSelectEntry& e, bool selected, double top) {
    const bool dimmed = !e.status.empty();
    if (e.level < 0) {
        std::string title = UpperAscii(e.setTitle);
        if (!e.author.empty()) title += "  BY " + UpperAscii(e.author);
        // A set's reason follows its title closely: it is the only line saying
        // why none of the set can be played.
        title = fitted(title, (dimmed ? kAuthorLeft : kRightEdge) - kSetLeft - 0.02);
        DrawText(title, false, top, kSetLeft);
        const double statusLeft = std::max(kSetLeft + TextWidth(title, false) + 0.04, kReasonLeft);
        if (dimmed)
            DrawText(fitted(UpperAscii(e.status), kRightEdge - statusLeft), false, top, statusLeft);
    } else {
        const std::string number = ZeroPad(e.level + 1, 2) + " ";
        DrawText(fitted(number + UpperAscii(e.name), kAuthorLeft - kNameLeft - 0.02), false, top,
                 kNameLeft);
        if (e.status.empty() || e.status == "locked") {
            DrawText(fitted(UpperAscii(e.author), kStatusLeft - kAuthorLeft - 0.02), false, top,
                     kAuthorLeft);
            const std::string status = !e.status.empty() ? "LOCKED"
                                       : e.won           ? "WON " + MinutesSeconds(e.bestMs)
                                                         : "-";
            DrawText(status, false, top, kStatusLeft);
        } else {
            DrawText(fitted(UpperAscii(e.status), kRightEdge - kAuthorLeft), false, top,
                     kAuthorLeft);
        }
    }
    if (selected) DrawText(">", false, top, kNameLeft - 0.035);
    if (dimmed)
        DrawDarkPanel(top - 0.005, kSetLeft - 0.01, kRowHeight, kRightEdge - kSetLeft + 0.02,
                      kDimmedPercent);
}

std::string keyName(Control c) {
    return VirtualKeyName(controlBindings.keys[c]);
}

} // namespace

std::vector<LevelSelectEntry> LevelSelectEntries(const std::vector<LevelSet>& sets,
                                                 const BestTimes& times, bool unlockAll,
                                                 std::int32_t savedLevel) {
    std::vector<LevelSelectEntry> entries;
    for (std::size_t s = 0; s < sets.size(); ++s) {
        const LevelSet& set = sets[s];
        LevelSelectEntry head;
        head.set = static_cast<int>(s);
        head.setTitle = set.title;
        head.author = set.author;
        head.status = set.problem;
        entries.push_back(head);
        bool previousWon = false;
        for (std::size_t l = 0; l < set.levels.size(); ++l) {
            const CatalogueLevel& level = set.levels[l];
            LevelSelectEntry e = head;
            e.level = static_cast<int>(l);
            e.name = level.name;
            e.author = level.author.empty() ? set.author : level.author;
            const auto best = times.find(LevelRecordName(level.path));
            e.won = best != times.end();
            e.bestMs = e.won ? best->second : -1;
            const bool open = set.kind != kSetCampaign || unlockAll || l == 0 || e.won ||
                              previousWon || static_cast<std::int64_t>(l) <= savedLevel;
            e.status = !level.problem.empty() ? level.problem : open ? "" : "locked";
            previousWon = e.won;
            entries.push_back(std::move(e));
        }
    }
    return entries;
}

std::string LevelSelectEntryText(const LevelSelectEntry& e) {
    return e.setTitle + "|" + e.name + "|" + e.author + "|" + (e.won ? "1" : "0") + "|" +
           (e.bestMs >= 0 ? std::to_string(e.bestMs) : "-") + "|" +
           (e.status.empty() ? "open" : e.status);
}

void OpenLevelSelect() {
    LevelSelectState& t = levelSelect;
    t = LevelSelectState{};
    t.sets = readCatalogue();
    const ProfileData settings = ReadProfile(SettingsPath());
    const bool unlockAll = ProfileFlag(settings, "Game", "UnlockAllLevels", "False");
    t.entries = LevelSelectEntries(t.sets, readBestTimes(), unlockAll, LoadSavedGame().level);
    t.selected = nextLevelRow(-1, 1);
    for (std::size_t row = 0; row < t.entries.size(); ++row) {
        if (t.entries[row].level >= 0 && t.entries[row].status.empty()) {
            t.selected = static_cast<int>(row);
            break;
        }
    }
    if (t.selected < 0) t.selected = 0;
    scrollToSelection();
    t.open = true;
    t.previous = localRecord().controls;
    PlayChoiceSound();
}

bool LevelSelectUpdate() {
    LevelSelectState& t = levelSelect;
    const auto& controls = localRecord().controls;
    if (t.releasing) {
        t.releasing = std::any_of(controls.begin(), controls.end(), [](auto c) { return c != 0; });
        return t.releasing;
    }
    if (!t.open) return false;
    if (t.chosen) {
        if (shellState.TransitionCompleted) startChosen();
        return true;
    }
    if (pressed(kMenu)) {
        PlayChoiceSound();
        t.open = false;
        t.releasing = true;
    } else if (pressed(kForward) || pressed(kBack)) {
        moveTo(nextLevelRow(t.selected, pressed(kForward) ? -1 : 1));
    } else if (pressed(kTurnLeft) || pressed(kTurnRight)) {
        moveTo(otherSetRow(pressed(kTurnLeft) ? -1 : 1));
        // A set gone to shows from its own row down, as much of it as fits.
        const int count = static_cast<int>(t.entries.size());
        t.top = std::clamp(t.selected - 1, 0, std::max(count - kVisibleRows, 0));
    } else if (pressed(kJump) || pressed(kAction)) {
        choose();
    }
    t.previous = controls;
    return true;
}

void DrawLevelSelect() {
    const LevelSelectState& t = levelSelect;
    ClearFrame(0);
    const std::string title = "LEVEL SELECT";
    DrawText(title, true, 0.05, 0.5 - TextWidth(title, true) / 2);
    const int count = static_cast<int>(t.entries.size());
    const int last = std::min(count, t.top + kVisibleRows);
    for (int row = t.top; row < last; ++row)
        drawRow(t.entries[static_cast<std::size_t>(row)], row == t.selected,
                kListTop + kRowStep * (row - t.top));
    if (t.top > 0) DrawText("...", false, kListTop - kRowStep * 0.7, kNameLeft);
    if (last < count) DrawText("...", false, kListTop + kRowStep * kVisibleRows - 0.01, kNameLeft);
    const std::string help = keyName(kForward) + "/" + keyName(kBack) + " MOVE   " +
                             keyName(kTurnLeft) + "/" + keyName(kTurnRight) + " SET   " +
                             keyName(kJump) + " PLAY   " + keyName(kMenu) + " BACK";
    DrawText(help, false, 0.93, 0.5 - TextWidth(help, false) / 2);
}
