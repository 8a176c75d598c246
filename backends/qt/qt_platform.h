// Qt set-up shared by the two programs: choosing the window system before the
// application exists, and real message boxes once it does.
#pragma once

#include <string>

// Call before the QApplication is created. Headless runs use Qt's offscreen
// platform. Otherwise a display must be reachable; when none is, returns false
// with a message saying so.
bool PrepareQtPlatform(bool headless, std::string& error);

// True when the application runs on a platform without a screen (offscreen or
// minimal): nobody could answer a dialog there.
bool RunningWithoutScreen();

// Routes ShowMessageBox to a modal QMessageBox with `caption`, unless the
// platform has no screen, where the text keeps going to standard error.
void InstallQtMessageBox(const std::string& caption);
