#include "backends/qt/qt_platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/message_box.h"

namespace {
bool envSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
} // namespace

bool PrepareQtPlatform(bool headless, std::string& error) {
    if (headless) {
        // The offscreen platform with options of its own (a configuration of
        // virtual screens: "offscreen:configfile=FILE") is kept as given.
        const char* chosen = std::getenv("QT_QPA_PLATFORM");
        if (chosen == nullptr || std::string_view(chosen).rfind("offscreen:", 0) != 0)
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return true;
    }
    // A platform chosen by the environment is taken as it is (Qt reports its
    // own failure); otherwise Qt would abort without a display.
    if (envSet("QT_QPA_PLATFORM") || envSet("DISPLAY") || envSet("WAYLAND_DISPLAY")) return true;
    error = "no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
            "run with --headless to play without a window";
    return false;
}

bool RunningWithoutScreen() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

void InstallQtMessageBox(const std::string& caption) {
    if (RunningWithoutScreen()) return;
    const QString title = QString::fromStdString(caption);
    SetMessageBoxHandler([title](const std::string& text) {
        QMessageBox box(QMessageBox::NoIcon, title, QString::fromLocal8Bit(text.c_str()),
                        QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    });
}

std::unique_ptr<QApplication> StartQtApplication(const QtProgramNames& names, bool headless,
                                                 int& argc, char** argv) {
    std::string error;
    if (!PrepareQtPlatform(headless, error)) {
        std::fprintf(stderr, "%s: %s\n", names.program, error.c_str());
        return nullptr;
    }
    auto app = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(names.application));
    if (names.displayName != nullptr)
        QApplication::setApplicationDisplayName(QString::fromUtf8(names.displayName));
    InstallQtMessageBox(names.messageCaption);
    return app;
}
