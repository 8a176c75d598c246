// The game's main window: one form driven by the GameLoop timer. It shows the
// presented picture, takes the keyboard into the key table and holds the
// hidden network panel.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "shell/form_services.h"

class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

class TScreenForm : public QWidget {
    Q_OBJECT

  public:
    explicit TScreenForm(QWidget* parent = nullptr);
    ~TScreenForm() override;

    // The form's events.
    void FormCreate();
    void FormActivate();
    void FormClose();
    void GameLoopTimer();

    // Stops the game loop and leaves the event loop with `exitCode`.
    void EndProgram(int exitCode);
    // Paints the loading screen now (synchronously).
    void ShowLoadingScreen();
    // The script's form commands of this frame, on the window's components;
    // one that cannot act is reported on standard error and remembered.
    void RunScriptFormCommands();
    bool ScriptCommandFailed() const { return scriptCommandFailed_; }
    // Shows `lobbyView` in CommPanel when the logic has changed it.
    void MirrorLobbyView();
    // The picture for --screenshot: the last presented frame; before the
    // first one (the loading text), what the window shows.
    QImage Picture();

    QFrame* CommPanel = nullptr;
    QListWidget* ListBox = nullptr;
    QPushButton* NewGame = nullptr;
    QPushButton* JoinGame = nullptr;
    QCheckBox* PortMapping = nullptr;
    QLabel* MappingStatus = nullptr;
    QTimer* GameLoop = nullptr;

  protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void PaintLoadingText(QPainter& painter);
    // Back to back while in exclusive mode or on the virtual clock, else 50 ms;
    // a network run on the virtual clock at --frame-ms in real time.
    void PaceGameLoop();

    std::unique_ptr<FormServices> services_;
    bool activating_ = false;
    bool shownOnce_ = false;
    std::uint32_t mirroredRevision_ = 0;
    bool scriptCommandFailed_ = false;
};

// The one main form while it exists.
extern TScreenForm* ScreenForm;
