// The one Qt application of the Qt test program, on the offscreen platform.
#pragma once

class QApplication;

// Creates the application on first use.
QApplication& EnsureQtApplication();
