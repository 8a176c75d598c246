// The game's state as "key=value" lines, for automated runs to compare.
#pragma once

#include <string>

// One line per value; text values have carriage returns and line feeds
// written as \r and \n, other control characters as \xHH.
std::string DescribeState();

// Keeps the state as the last frame left it, before the shutdown stops the
// music and clips: the dump written at exit shows that state.
void KeepStateBeforeShutdown();
// A new run: nothing kept.
void ForgetKeptState();

// The dump written at exit: the kept state, or the state now when none was kept.
std::string FinalStateDump();
