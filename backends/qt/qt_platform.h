// Qt set-up shared by the two programs: choosing the window system before the
// application exists, and real message boxes once it does.
#pragma once

#include <memory>
#include <string>

class QApplication;

// Call before the QApplication is created. Headless runs use Qt's offscreen
// platform (QT_QPA_PLATFORM "offscreen:OPTIONS" is kept, so that tests can
// give it virtual screens: "offscreen:configfile=screens.json"). Otherwise a display must be
// reachable; when none is, returns false with a message saying so.
bool PrepareQtPlatform(bool headless, std::string& error);

// True when the application runs on a platform without a screen (offscreen or
// minimal): nobody could answer a dialog there.
bool RunningWithoutScreen();

// Routes ShowMessageBox to a modal QMessageBox with `caption`, unless the
// platform has no screen, where the text keeps going to standard error.
void InstallQtMessageBox(const std::string& caption);

// What a program's Qt application is called.
struct QtProgramNames {
    const char* program;        // "kelvane": its messages on standard error start so
    const char* application;    // the application's name
    const char* displayName;    // the name shown to the user; null: the application's
    const char* messageCaption; // the caption of its message boxes
};

// The Qt half of both programs' start: chooses the window system
// (PrepareQtPlatform), creates the application and installs the message
// boxes. Null, after "PROGRAM: <why>" on standard error, when no display can
// be reached. `argc` must outlive the application.
std::unique_ptr<QApplication> StartQtApplication(const QtProgramNames& names, bool headless,
                                                 int& argc, char** argv);
