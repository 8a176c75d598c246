// The editor's main window, TScreenForm of kelvedit: the level view and the
// preview painted from the engine's buffers, the info panel with its icons and
// lists, the menus, and the 50 ms GameLoop that runs the frame step.
#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "editor/editor_state.h"
#include "media/frame_buffer.h"

class QComboBox;
class THelp;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class TObjectList;
class TOverviewView;
class TWarningsPanel;

class TEditorForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TEditorForm(QWidget* parent = nullptr);
    ~TEditorForm() override;

    // One frame step (the GameLoop's tick).
    void FrameStep();
    // Loading and first set-up; false after showing why it failed.
    bool Activate();
    // Loads a level file as File, Load does once a file is chosen; a
    // missing or damaged file is shown and the level stays as it was.
    bool OpenLevel(const std::string& path);
    // Fills ObjectCombo, MusicBox and NMEList from the world.
    void FillLists();
    // Caption, coordinate and luminosity labels, music controls.
    void RefreshInfoPanel();
    // The whole window as it is shown now, or the help window while it is
    // open in front.
    QImage Picture();
    // The mouse at `position` over the form with these buttons held, as
    // the mouse's own events would leave it.
    void SetMouse(QPoint position, bool left, bool right);
    // The state dump's keys of the editor and its windows.
    std::string DescribeState();

    QWidget* LevelView = nullptr;
    QWidget* CurrentView = nullptr;
    QGroupBox* InfoBox = nullptr;
    QGroupBox* SelectObjectBox = nullptr;
    QLabel *XPosLabel = nullptr, *YPosLabel = nullptr, *ZPosLabel = nullptr;
    QLabel* LuminosityLabel = nullptr;
    QComboBox* NMEList = nullptr;
    QPushButton* SetNMEPos = nullptr;
    QComboBox* MusicBox = nullptr;
    QPushButton *Play = nullptr, *Stop = nullptr;
    QLineEdit* FocusKiller = nullptr;
    QComboBox* ObjectCombo = nullptr;
    QTimer* GameLoop = nullptr;
    THelp* HelpForm = nullptr;
    TObjectList* Objects = nullptr;     // ObjectGroup, ObjectSearch and ObjectCombo
    TOverviewView* Overview = nullptr;  // the selector's layer from above
    TWarningsPanel* Warnings = nullptr; // the level's warnings
    QMenu* RecentMenu = nullptr;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildPanel();
    void BuildMenus();
    void Refocus();
    void AfterCommand();
    void FillRecentMenu();
    void ResizeLevelBuffer();
    void BuildViewMenu(QMenu* editorMenu);
    void SetViewDistance(int cells);
    // A Yes/No/Cancel question box (Cancel without a screen).
    SaveAnswer AskYesNoCancel(const std::string& question, bool yesByDefault);
    // The level view's buffer pixel under a point of the central widget.
    std::optional<std::pair<double, double>> LevelViewPixel(QPoint point) const;

    bool activated_ = false;
    bool dialogOpen_ = true;
    bool autosaveOffered_ = false;
    bool leftHeld_ = false, rightHeld_ = false;
    QPoint mouse_, previousMouse_;
    int shownZone_ = -2, shownZoneMusic_ = -1;
    int framesSinceCheck_ = 0;
    QString shownCaption_;
    FrameBuffer preview_;
    QImage levelImage_, previewImage_;
};

extern TEditorForm* EditorForm;
