#include "qt/qt_test_support.h"

#include <QApplication>
#include <cstdlib>

QApplication& EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        new QApplication(argc, argv);
    }
    return *qApp;
}
