#include "shell/practice_game.h"

#include "shell/play_screen.h"
#include "shell/shell_state.h"

PracticeGame practiceGame;

bool StartPracticeGame(const LevelSet& set, int level) {
    if (level < 0 || level >= static_cast<int>(set.levels.size()) || !set.problem.empty() ||
        !set.levels[static_cast<std::size_t>(level)].problem.empty())
        return false;
    ShellState& s = shellState;
    if (!practiceGame.active) practiceGame.campaignFiles = s.LevelFiles;
    std::vector<std::string> files;
    std::int32_t first = 0;
    for (std::size_t i = 0; i < set.levels.size(); ++i) {
        if (!set.levels[i].problem.empty()) continue;
        if (static_cast<int>(i) == level) first = static_cast<std::int32_t>(files.size());
        files.push_back(set.levels[i].path);
    }
    practiceGame.active = true;
    practiceGame.setTitle = set.title;
    s.LevelFiles = std::move(files);
    s.LevelCount = static_cast<std::int32_t>(s.LevelFiles.size());
    StartNewGame(first);
    if (s.ScreenState == kScreenPlay && !s.EndRequested) return true;
    // The level was refused on the way (its message shown): the title stays.
    EndPracticeGame();
    return false;
}

void EndPracticeGame() {
    if (!practiceGame.active) return;
    ShellState& s = shellState;
    s.LevelFiles = std::move(practiceGame.campaignFiles);
    s.LevelCount = static_cast<std::int32_t>(s.LevelFiles.size());
    practiceGame = PracticeGame{};
}
