#include "editor/qt/editor_form.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "backends/qt/app_icon.h"
#include "backends/qt/key_map.h"
#include "backends/qt/presenter.h"
#include "backends/qt/qt_platform.h"
#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "editor/autosave.h"
#include "editor/cell_commands.h"
#include "editor/editor_actions.h"
#include "editor/editor_dump.h"
#include "editor/editor_music.h"
#include "editor/editor_state.h"
#include "editor/editor_view.h"
#include "editor/level_commands.h"
#include "editor/level_properties.h"
#include "editor/level_resize.h"
#include "editor/qt/editor_icons.h"
#include "editor/qt/file_dialogs.h"
#include "editor/qt/help_form.h"
#include "editor/qt/level_properties_dialog.h"
#include "editor/qt/object_list.h"
#include "editor/qt/overview_view.h"
#include "editor/qt/warnings_panel.h"
#include "editor/region_commands.h"
#include "editor/test_play.h"
#include "editor/view_dump.h"
#include "editor/view_pick.h"
#include "editor/view_settings.h"
#include "engine/render_context.h"
#include "formats/definitions.h"
#include "media/display.h"
#include "media/music_list.h"
#include "media/music_player.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "world/frame_clock.h"
#include "world/random.h"
#include "world/random_clock.h"
#include "world/world.h"

TEditorForm* EditorForm = nullptr;

namespace {

constexpr int kDesignWidth = 629, kDesignHeight = 479;
constexpr int kInfoWidth = 196, kInfoHeight = 244, kObjectBoxHeight = 62;
constexpr int kPreviewSide = 128;
constexpr int kKeyWaitMs = 2000;
// The warnings list checks the level again every this many frames.
constexpr int kCheckEveryFrames = 10;

struct Icon {
    const char* name;
    const char* text; // read by assistive tools; the picture is what is shown
    const char* hint;
    EditorAction action;
    int row, column; // grouped: moves and turns, heights and views, cell commands, markers
};

const Icon kIcons[] = {
    {"I_MoveForward", "Fwd", "Move forward (Up arrow)", EditorAction::MoveForward, 0, 0},
    {"I_MoveBack", "Back", "Move backwards (Down arrow)", EditorAction::MoveBack, 0, 1},
    {"I_MoveLeft", "Left", "Move left (CTRL+Left arrow)", EditorAction::MoveLeft, 0, 2},
    {"I_MoveRight", "Right", "Move right (CTRL+Right arrow)", EditorAction::MoveRight, 0, 3},
    {"I_RotateLeft", "RotL", "Rotate left (Left arrow)", EditorAction::RotateLeft, 0, 4},
    {"I_RotateRight", "RotR", "Rotate right (Right arrow)", EditorAction::RotateRight, 0, 5},
    {"I_GoUp", "Up", "Move upwards (\"H\")", EditorAction::GoUp, 1, 0},
    {"I_GoDown", "Down", "Move downards (\"B\" key)", EditorAction::GoDown, 1, 1},
    {"I_ZoomIn", "Z+", "Zoom in (\"+\")", EditorAction::ZoomIn, 1, 2},
    {"I_ZoomOut", "Z-", "Zoom out (\"-\")", EditorAction::ZoomOut, 1, 3},
    {"I_LookUp", "Top", "Top view (\"Page Up\")", EditorAction::LookUp, 1, 4},
    {"I_LookDown", "Low", "Down view (\"Page Down\")", EditorAction::LookDown, 1, 5},
    {"I_PutBlock", "Put", "Put current object in map (Space key)", EditorAction::PutBlock, 2, 0},
    {"I_DelBlock", "Del", "Delete current cell (object & music) (DEL key)", EditorAction::DelBlock,
     2, 1},
    {"I_Brighter", "Lum+", "Brighten current cell (\"E\" key)", EditorAction::Brighter, 2, 2},
    {"I_Darker", "Lum-", "Darken current cell (\"A\" key)", EditorAction::Darker, 2, 3},
    {"I_SFX", "SFX", "Put a music (\"S\")", EditorAction::SFX, 3, 0},
    {"I_Start", "Start", "Put the Start point (\"D\")", EditorAction::Start, 3, 1},
    {"I_Exit", "Exit", "Put the Exit point (\"X\")", EditorAction::Exit, 3, 2},
};

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

bool anyKeyDown() {
    for (int vk = 0; vk < kVirtualKeyCount; ++vk)
        if (KeyIsDown(vk)) return true;
    return false;
}

// Waits for every key to be let go, but never longer than kKeyWaitMs: a key
// whose release was lost must not hang the editor.
void waitForNoKeys() {
    QElapsedTimer timer;
    timer.start();
    while (anyKeyDown() && timer.elapsed() < kKeyWaitMs && !RunningWithoutScreen())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (anyKeyDown()) ReleaseAllKeys();
}

} // namespace

TEditorForm::TEditorForm(QWidget* parent) : QMainWindow(parent) {
    EditorForm = this;
    setObjectName(QStringLiteral("ScreenForm"));
    setWindowTitle(QStringLiteral("Kelvane - Level Editor"));
    UseAppIcon(*this, AppIconKind::Editor);
    setFont(QFont(QStringLiteral("MS Sans Serif")));
    resize(kDesignWidth, kDesignHeight);
    setMinimumHeight(469);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCentralWidget(new QWidget(this));
    centralWidget()->setMouseTracking(true);
    centralWidget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    BuildPanel();
    BuildMenus();
    HelpForm = new THelp(this);
    HelpForm->hide();

    editorServices.inputBox = [this](const std::string& caption, const std::string& prompt,
                                     const std::string& initial) -> std::optional<std::string> {
        if (RunningWithoutScreen()) return std::nullopt;
        bool ok = false;
        dialogOpen_ = true;
        const QString answer = QInputDialog::getText(this, qs(caption), qs(prompt),
                                                     QLineEdit::Normal, qs(initial), &ok);
        dialogOpen_ = false;
        if (!ok) return std::nullopt;
        return answer.toStdString();
    };
    editorServices.messageBox = [](const std::string& text) { ShowMessageBox(text); };
    editorServices.fileDialog = [this](bool forSave) -> std::optional<std::string> {
        if (RunningWithoutScreen()) return std::nullopt;
        dialogOpen_ = true;
        std::optional<std::string> chosen = RunLevelFileDialog(this, forSave);
        dialogOpen_ = false;
        return chosen;
    };
    // "Save changes?" defaults to Yes; the other questions to Cancel, so that
    // Enter alone neither replaces a file nor drops an autosave.
    editorServices.askSaveChanges = [this](const std::string& question) {
        return AskYesNoCancel(question, true);
    };
    editorServices.askQuestion = [this](const std::string& question) {
        return AskYesNoCancel(question, false);
    };
    editorServices.waitForNoKeys = waitForNoKeys;
    regionNotice = [this](const std::string& text) { statusBar()->showMessage(qs(text), 5000); };
    levelPropertiesDialog = [this](const LevelProperties& current) -> std::optional<std::string> {
        if (RunningWithoutScreen()) return std::nullopt;
        dialogOpen_ = true;
        std::optional<std::string> answer = ShowLevelPropertiesDialog(this, current);
        dialogOpen_ = false;
        return answer;
    };
    // Without a screen nothing is started: the command line is only recorded.
    if (!RunningWithoutScreen())
        editorServices.startProgram = [](const std::string& program,
                                         const std::vector<std::string>& arguments) {
            QStringList list;
            for (const std::string& argument : arguments) list << qs(argument);
            return QProcess::startDetached(qs(program), list);
        };

    GameLoop = new QTimer(this);
    GameLoop->setObjectName(QStringLiteral("GameLoop"));
    GameLoop->setTimerType(Qt::PreciseTimer);
    GameLoop->setInterval(50);
    connect(GameLoop, &QTimer::timeout, this, &TEditorForm::FrameStep);
}

TEditorForm::~TEditorForm() {
    editorServices = EditorServices{};
    regionNotice = nullptr;
    levelPropertiesDialog = nullptr;
    if (EditorForm == this) EditorForm = nullptr;
}

void TEditorForm::BuildPanel() {
    QWidget* central = centralWidget();
    LevelView = new QWidget(central);
    LevelView->setObjectName(QStringLiteral("LevelView"));
    LevelView->setToolTip(QStringLiteral("Level view"));
    LevelView->hide();

    InfoBox = new QGroupBox(this);
    InfoBox->setObjectName(QStringLiteral("InfoBox"));
    // Compact, so that the object list and the preview fit below the panel
    // in a window of the design size.
    auto* info = new QVBoxLayout(InfoBox);
    info->setSpacing(3);
    info->setContentsMargins(6, 6, 6, 6);
    auto* labels = new QGridLayout;
    info->addLayout(labels);
    int labelAt = 0;
    const auto label = [&](const char* name, const char* hint) {
        auto* l = new QLabel(InfoBox);
        l->setObjectName(QString::fromLatin1(name));
        l->setToolTip(QString::fromLatin1(hint));
        labels->addWidget(l, labelAt / 2, labelAt % 2);
        ++labelAt;
        return l;
    };
    XPosLabel = label("XPosLabel", "X Coordinate");
    YPosLabel = label("YPosLabel", "Y Coordinate");
    ZPosLabel = label("ZPosLabel", "Z Coordinate");
    LuminosityLabel = label("LuminosityLabel", "Luminosity factor");

    auto* icons = new QGridLayout;
    icons->setSpacing(1);
    for (const Icon& icon : kIcons) {
        auto* button = new QToolButton(InfoBox);
        button->setObjectName(QString::fromLatin1(icon.name));
        button->setText(QString::fromLatin1(icon.text));
        button->setToolTip(QString::fromLatin1(icon.hint));
        button->setIcon(EditorIcon(button->objectName()));
        button->setIconSize(QSize(kEditorIconSide, kEditorIconSide));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setFocusPolicy(Qt::NoFocus);
        // Room for the button's frame around the whole picture, unscaled.
        button->setFixedSize(kEditorIconSide + 4, kEditorIconSide + 4);
        const EditorAction action = icon.action;
        connect(button, &QToolButton::clicked, this, [this, action] {
            if (action <= EditorAction::GoDown && action != EditorAction::RotateLeft &&
                action != EditorAction::RotateRight)
                BeforeSelectorMove(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
            RunEditorAction(action);
            RefreshInfoPanel();
        });
        icons->addWidget(button, icon.row, icon.column);
    }
    icons->setColumnStretch(6, 1);
    info->addLayout(icons);

    NMEList = new QComboBox(InfoBox);
    NMEList->setObjectName(QStringLiteral("NMEList"));
    SetNMEPos = new QPushButton(QStringLiteral("Set Pos."), InfoBox);
    SetNMEPos->setObjectName(QStringLiteral("SetNMEPos"));
    MusicBox = new QComboBox(InfoBox);
    MusicBox->setObjectName(QStringLiteral("MusicBox"));
    Play = new QPushButton(QStringLiteral("Play"), InfoBox);
    Play->setObjectName(QStringLiteral("Play"));
    Play->setToolTip(QStringLiteral("Play music"));
    Stop = new QPushButton(QStringLiteral("Stop"), InfoBox);
    Stop->setObjectName(QStringLiteral("Stop"));
    Stop->setToolTip(QStringLiteral("Stop music"));
    info->addWidget(MusicBox);
    auto* playStop = new QHBoxLayout;
    playStop->addWidget(Play);
    playStop->addWidget(Stop);
    info->addLayout(playStop);
    info->addStretch();
    auto* sentryRow = new QHBoxLayout;
    sentryRow->addWidget(NMEList, 1);
    sentryRow->addWidget(SetNMEPos);
    info->addLayout(sentryRow);
    FocusKiller = new QLineEdit(InfoBox);
    FocusKiller->setObjectName(QStringLiteral("FocusKiller"));
    FocusKiller->hide();

    SelectObjectBox = new QGroupBox(this);
    SelectObjectBox->setObjectName(QStringLiteral("SelectObjectBox"));
    auto* objects = new QVBoxLayout(SelectObjectBox);
    objects->setSpacing(3);
    objects->setContentsMargins(6, 4, 6, 4);
    ObjectCombo = new QComboBox(SelectObjectBox);
    ObjectCombo->setObjectName(QStringLiteral("ObjectCombo"));
    ObjectCombo->setToolTip(QStringLiteral("Building objects list"));
    ObjectCombo->setMaxVisibleItems(27);
    Objects = new TObjectList(SelectObjectBox, ObjectCombo, [this] { Refocus(); });
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(Objects->Search, 1);
    findRow->addWidget(Objects->Group);
    objects->addLayout(findRow);
    objects->addWidget(ObjectCombo);
    // Moving the selector from the overview or the warnings list shows at
    // once in the labels.
    Overview = new TOverviewView(this, [this] { RefreshInfoPanel(); });
    Warnings = new TWarningsPanel(this, [this] {
        RefreshInfoPanel();
        Refocus();
    });
    CurrentView = new QWidget(central);
    CurrentView->setObjectName(QStringLiteral("CurrentView"));
    CurrentView->setToolTip(QStringLiteral("Current paint object"));
    CurrentView->hide();

    connect(MusicBox, &QComboBox::textActivated, this, [this](const QString& text) {
        ChooseMusic(text.toStdString());
        Refocus();
    });
    connect(NMEList, &QComboBox::activated, this, [this] { Refocus(); });
    connect(SetNMEPos, &QPushButton::clicked, this, [this] {
        SetSentryPosition(NMEList->currentIndex());
        Refocus();
    });
    connect(Play, &QPushButton::clicked, this, [this] {
        if (MusicBox->currentIndex() >= 0) PlayMusicNamed(MusicBox->currentText().toStdString());
        Refocus();
    });
    connect(Stop, &QPushButton::clicked, this, [this] {
        StopMusic();
        Refocus();
    });
}

void TEditorForm::BuildMenus() {
    const auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    item(file, "New1", "&New outdoor level ...", [this] {
        NewLevelOfKindCommand(true);
        AfterCommand();
    });
    item(file, "NewIndoor1", "New &indoor level ...", [this] {
        NewLevelOfKindCommand(false);
        AfterCommand();
    });
    item(file, "Load1", "&Load", [this] {
        LoadLevelCommand();
        AfterCommand();
    });
    QAction* save = item(file, "Save1", "Sa&ve", [this] {
        SaveCommand();
        AfterCommand();
    });
    save->setShortcut(QKeySequence::Save);
    item(file, "Saveas1", "&Save as ...", [this] {
        SaveAsCommand();
        AfterCommand();
    });
    // F9 and F10 are read with the other keys each frame; the captions only show them.
    item(file, "TestPlay1", "&Test play\tF9", [this] {
        TestPlayCommand();
        AfterCommand();
    });
    item(file, "TestPlayHere1", "Test play from &here\tF10", [this] {
        TestPlayFromHereCommand();
        AfterCommand();
    });
    RecentMenu = file->addMenu(QStringLiteral("&Recent files"));
    RecentMenu->setObjectName(QStringLiteral("RecentFiles1"));
    FillRecentMenu();
    item(file, "Quit1", "&Quit", [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction* undo = item(edit, "Undo1", "&Undo", [this] {
        UndoEdit();
        RefreshInfoPanel();
    });
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = item(edit, "Redo1", "&Redo", [this] {
        RedoEdit();
        RefreshInfoPanel();
    });
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    // The keys are read with the others each frame; the captions only show them.
    const auto region = [this](void (*command)()) {
        return [this, command] {
            command();
            AfterCommand();
        };
    };
    edit->addSeparator();
    item(edit, "Cut1", "Cu&t\tCtrl+X", region(CutRegionCommand));
    item(edit, "Copy1", "&Copy\tCtrl+C", region(CopyRegionCommand));
    item(edit, "Paste1", "&Paste\tCtrl+V", region(PasteCommand));
    item(edit, "FillBox1", "&Fill box\tSpace", region([] { (void)FillRegionCommand(); }));
    item(edit, "ClearBox1", "Cl&ear box\tDel", region([] { (void)ClearRegionCommand(); }));
    item(edit, "SelectNone1", "Select &none\tEsc", region(ClearSelection));
    QMenu* clipboard = edit->addMenu(QStringLiteral("C&lipboard"));
    item(clipboard, "TurnRight1", "Turn &right\tR",
         region([] { TransformClipboardCommand(ClipTransform::TurnRight); }));
    item(clipboard, "TurnLeft1", "Turn &left\tShift+R",
         region([] { TransformClipboardCommand(ClipTransform::TurnLeft); }));
    item(clipboard, "MirrorX1", "Mirror across &X\tM",
         region([] { TransformClipboardCommand(ClipTransform::MirrorX); }));
    item(clipboard, "MirrorZ1", "Mirror across &Z\tShift+M",
         region([] { TransformClipboardCommand(ClipTransform::MirrorZ); }));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    item(options, "Leveldescription1", "Level &Description ...", [this] {
        LevelDescriptionCommand();
        AfterCommand();
    });
    item(options, "LevelAuthor1", "Level &Author ...", [this] {
        LevelAuthorCommand();
        AfterCommand();
    });
    item(options, "NumberofSentries1", "&Number of Sentries ...", [this] {
        NumberOfSentriesCommand();
        AfterCommand();
    });
    item(options, "Level1", "&Level ...", [this] {
        LevelPropertiesCommand();
        AfterCommand();
    });
    item(options, "RandomSeed1", "&Random Seed ...", [this] {
        RandomSeedCommand();
        AfterCommand();
    });
    QAction* outside = item(options, "NiveauInt", "&Outside level", [this] { ToggleOutside(); });
    outside->setCheckable(true);
    QMenu* editorMenu = options->addMenu(QStringLiteral("&Editor"));
    QMenu* texturing = editorMenu->addMenu(QStringLiteral("&Texturing"));
    const auto reload = [this](const char* detail) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ForgetDefinitions();
        const Loaded<> loaded = LoadDefinitions(levelState.definitionFile, detail);
        if (loaded)
            editor.detail = detail;
        else
            ShowMessageBox(loaded.error);
        (void)LoadEditorMarkers();
        FillLists();
        QApplication::restoreOverrideCursor();
        Refocus();
    };
    item(texturing, "On1", "&Enabled", [reload] { reload("High"); });
    item(texturing, "Off1", "&Disabled", [reload] { reload("Low"); });
    // Full screen is not used by the editor: boosting only settles the keys and the clock.
    item(editorMenu, "Boostdisplay1", "&Boost display", [this] {
        waitForNoKeys();
        ResetFrameClock();
        Refocus();
    });
    BuildViewMenu(editorMenu);
    QAction* stretching = item(editorMenu, "Stretching1", "&Stretching", [this] {
        editor.stretching = !editor.stretching;
        update();
    });
    stretching->setCheckable(true);
    stretching->setChecked(true);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    QMenu* generate = tools->addMenu(QStringLiteral("&Generate a plan"));
    QMenu* clear = tools->addMenu(QStringLiteral("&Clear a plan"));
    item(generate, "X1", "&X", [] { FillPlane(PlaneAxis::X); });
    item(generate, "Y1", "&Y", [] { FillPlane(PlaneAxis::Y); });
    item(generate, "Z1", "&Z", [] { FillPlane(PlaneAxis::Z); });
    item(clear, "X2", "&X", [] { ClearPlane(PlaneAxis::X); });
    item(clear, "Y2", "&Y", [] { ClearPlane(PlaneAxis::Y); });
    item(clear, "Z2", "&Z", [] { ClearPlane(PlaneAxis::Z); });
    item(tools, "Resize1", "&Resize level ...", [this] {
        ResizeLevelCommand();
        AfterCommand();
    });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    item(help, "Help1", "&Help", [this] {
        HelpForm->show();
        HelpForm->raise();
    });
}

void TEditorForm::BuildViewMenu(QMenu* editorMenu) {
    QMenu* distance = editorMenu->addMenu(QStringLiteral("&View distance"));
    distance->setObjectName(QStringLiteral("ViewDistanceMenu"));
    auto* choices = new QActionGroup(this);
    for (const int cells : kViewDistances) {
        QAction* action = distance->addAction(qs(ViewDistanceName(cells)));
        action->setObjectName(cells > 0 ? QStringLiteral("ViewDistance%1").arg(cells)
                                        : QStringLiteral("ViewDistanceAll"));
        action->setCheckable(true);
        action->setChecked(cells == editor.viewDistance);
        choices->addAction(action);
        connect(action, &QAction::triggered, this, [this, cells] {
            SetViewDistance(cells);
            if (!StoreViewDistanceSetting(cells) && !EditorSettingsFile().empty())
                statusBar()->showMessage(
                    qs("The view distance could not be kept in " + EditorSettingsFile() + "."),
                    10000);
            Refocus();
        });
    }
}

void TEditorForm::SetViewDistance(int cells) {
    editor.viewDistance = IsViewDistance(cells) ? cells : kViewDistances[0];
    const QString name = editor.viewDistance > 0
                             ? QStringLiteral("ViewDistance%1").arg(editor.viewDistance)
                             : QStringLiteral("ViewDistanceAll");
    if (QAction* action = findChild<QAction*>(name)) action->setChecked(true);
}

bool TEditorForm::Activate() {
    InfoBox->hide();
    SelectObjectBox->hide();
    repaint();
    BuildCubeFaceMeshes();
    SetupViewport(320, 240);
    MakeBitmapDescription(preview_, 256, 256);
    SeedRandomFromClock();
    editor.newLevelSeeds = RandomSeedValue();
    editor.fileName.clear();
    const Loaded<> definitions = LoadDefinitions(kDefinitionFile, "High");
    if (!definitions) {
        ShowMessageBox(definitions.error);
        return false;
    }
    const Loaded<> markersLoaded = LoadEditorMarkers();
    if (!markersLoaded) {
        ShowMessageBox(markersLoaded.error);
        return false;
    }
    StartEditorLevel();
    SetViewDistance(ReadViewDistanceSetting());
    findChild<QAction*>(QStringLiteral("NiveauInt"))->setChecked(levelState.outside);
    FillLists();
    InfoBox->show();
    SelectObjectBox->show();
    ResizeLevelBuffer();
    activated_ = true;
    dialogOpen_ = false;
    waitForNoKeys();
    ResetFrameClock();
    RefreshInfoPanel();
    GameLoop->start();
    return true;
}

void TEditorForm::FillLists() {
    // Refilling keeps what the lists show: the current object and the sentry
    // chosen, so that the next Set Pos. places the one the author sees.
    const QSignalBlocker quietObjects(ObjectCombo), quietSentries(NMEList);
    Objects->Fill();
    MusicBox->clear();
    for (const MusicEntry& entry : musicList)
        if (!entry.name.empty()) MusicBox->addItem(qs(entry.name));
    const int sentry = NMEList->currentIndex();
    NMEList->clear();
    for (int i = 1; i <= sentryCount; ++i) NMEList->addItem(QStringLiteral("NME #%1").arg(i));
    if (sentry < NMEList->count()) NMEList->setCurrentIndex(sentry);
    shownZone_ = -2;
}

void TEditorForm::RefreshInfoPanel() {
    const QString caption = qs(EditorCaption()) + (editor.modified ? QStringLiteral(" *") : "");
    if (caption != shownCaption_) {
        setWindowTitle(caption);
        shownCaption_ = caption;
    }
    const CellPosition c = TargetCell();
    XPosLabel->setText(QStringLiteral("X:%1 / %2").arg(c.x).arg(worldGrid.sizeX));
    YPosLabel->setText(QStringLiteral("Y:%1 / %2").arg(c.y).arg(worldGrid.sizeY));
    ZPosLabel->setText(QStringLiteral("Z:%1 / %2").arg(c.z).arg(worldGrid.sizeZ));
    LuminosityLabel->setText(
        QStringLiteral("Luminosity: %1%").arg((brightnessAt(c.x, c.y, c.z) * 100) >> 8));
    const int zone = MusicZoneAtTarget();
    MusicBox->setVisible(zone >= 0);
    Play->setVisible(zone >= 0);
    Stop->setVisible(zone >= 0);
    // Select again whenever the zone or its music changes, so that Play
    // plays the piece of the zone the selector stands on.
    const int music = zone >= 0 ? levelState.musicZones[zone].music : -1;
    if (zone != shownZone_ || music != shownZoneMusic_) {
        shownZone_ = zone;
        shownZoneMusic_ = music;
        if (music >= 0 && music < kMusicListSize) {
            const QSignalBlocker quiet(MusicBox);
            MusicBox->setCurrentIndex(MusicBox->findText(qs(musicList[music].name)));
        }
    }
    if (NMEList->count() != sentryCount) {
        NMEList->clear();
        for (int i = 1; i <= sentryCount; ++i) NMEList->addItem(QStringLiteral("NME #%1").arg(i));
    }
}

void TEditorForm::Refocus() {
    FocusKiller->show();
    FocusKiller->setFocus();
    FocusKiller->hide();
    setFocus();
}

bool TEditorForm::OpenLevel(const std::string& path) {
    const bool loaded = LoadEditorLevel(path);
    AfterCommand();
    return loaded;
}

void TEditorForm::FillRecentMenu() {
    RecentMenu->clear();
    for (std::size_t i = 0; i < editor.recentFiles.size(); ++i) {
        const std::string path = editor.recentFiles[i];
        QAction* action = RecentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(qs(path)));
        action->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        connect(action, &QAction::triggered, this, [this, path] {
            OpenRecentCommand(path);
            AfterCommand();
        });
    }
    RecentMenu->setEnabled(!editor.recentFiles.empty());
}

void TEditorForm::AfterCommand() {
    FillRecentMenu();
    findChild<QAction*>(QStringLiteral("NiveauInt"))->setChecked(levelState.outside);
    FillLists();
    RefreshInfoPanel();
    Warnings->Refresh();
    framesSinceCheck_ = 0;
    if (!editor.warnings.empty()) {
        // The warnings themselves are in their list.
        statusBar()->showMessage(
            QStringLiteral("Saved, with %1 warning(s).").arg(editor.warnings.size()), 10000);
        editor.warnings.clear();
    }
    Refocus();
}

void TEditorForm::FrameStep() {
    if (!activated_) {
        update();
        return;
    }
    // A crashed session's autosave is offered once, on the first frame, so
    // that a script's answers for that frame are queued by then.
    if (!autosaveOffered_ && !dialogOpen_) {
        autosaveOffered_ = true;
        if (OfferAutosaveLeftover()) AfterCommand();
    }
    if (!dialogOpen_) {
        const bool focused = hasFocus() || FocusKiller->hasFocus() || RunningWithoutScreen();
        DragSelectFrame(LevelViewPixel(mouse_), leftHeld_);
        RunEditorFrame(focused);
        AutosaveTick(frameMs);
        if (CurrentView->geometry().contains(mouse_))
            DragPreview(leftHeld_, rightHeld_, mouse_.x() - previousMouse_.x(),
                        mouse_.y() - previousMouse_.y());
        RefreshInfoPanel();
        DrawEditorView();
        DrawEditorPreview(preview_);
        // The palette may have changed with a definition load.
        ApplyPalette(renderContext.mainBuffer, renderContext.palette);
        levelImage_ = FrameBufferImage(renderContext.mainBuffer);
        previewImage_ = FrameBufferImage(preview_);
        if (++framesSinceCheck_ >= kCheckEveryFrames) {
            Warnings->Refresh();
            framesSinceCheck_ = 0;
        }
        Overview->update();
    }
    update();
}

QImage TEditorForm::Picture() {
    // The help window opens in front of the form: it is what is seen.
    if (HelpForm->isVisible()) return HelpForm->grab().toImage();
    return grab().toImage();
}

void TEditorForm::SetMouse(QPoint position, bool left, bool right) {
    previousMouse_ = mouse_;
    mouse_ = position - centralWidget()->pos();
    // A press over the overview is its click.
    if (left && !leftHeld_ && Overview->geometry().contains(position))
        Overview->ClickAt(position - Overview->pos());
    leftHeld_ = left;
    rightHeld_ = right;
}

std::string TEditorForm::DescribeState() {
    return DescribeEditorState({windowTitle().toStdString(), HelpForm->isVisible()}) +
           DescribeViewState(
               {Warnings->Lines(), Objects->GroupText(), Objects->SearchText(), Objects->Listed()});
}

SaveAnswer TEditorForm::AskYesNoCancel(const std::string& question, bool yesByDefault) {
    if (RunningWithoutScreen()) return SaveAnswer::Cancel;
    dialogOpen_ = true;
    const auto answer =
        QMessageBox::question(this, QStringLiteral("Level Editor"), qs(question),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                              yesByDefault ? QMessageBox::Yes : QMessageBox::Cancel);
    dialogOpen_ = false;
    return answer == QMessageBox::Yes  ? SaveAnswer::Yes
           : answer == QMessageBox::No ? SaveAnswer::No
                                       : SaveAnswer::Cancel;
}

std::optional<std::pair<double, double>> TEditorForm::LevelViewPixel(QPoint point) const {
    const QRect view = LevelView->geometry();
    const FrameBuffer& buffer = renderContext.mainBuffer;
    if (!view.contains(point) || buffer.width <= 0 || buffer.height <= 0) return std::nullopt;
    // As paintEvent shows the buffer: scaled in its own shape between bars,
    // or centred.
    if (editor.stretching) {
        const PictureArea fit = FitPicture(view.width(), view.height());
        const int x = point.x() - view.left() - fit.x;
        const int y = point.y() - view.top() - fit.y;
        if (fit.width <= 0 || fit.height <= 0 || x < 0 || y < 0 || x >= fit.width ||
            y >= fit.height)
            return std::nullopt;
        return std::pair{(x + 0.5) * buffer.width / fit.width,
                         (y + 0.5) * buffer.height / fit.height};
    }
    return std::pair{point.x() - (view.left() - (buffer.width - view.width()) / 2) + 0.5,
                     point.y() - (view.top() - (buffer.height - view.height()) / 2) + 0.5};
}

void TEditorForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!activated_) {
        painter.fillRect(rect(), Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("LOADING ... PLEASE WAIT"));
        return;
    }
    const QRect view = LevelView->geometry().translated(centralWidget()->pos());
    if (!levelImage_.isNull()) {
        if (editor.stretching) {
            // Scaled in the picture's own shape, with bars where the panel
            // is wider or taller.
            const PictureArea fit = FitPicture(view.width(), view.height());
            painter.fillRect(view, Qt::black);
            painter.drawImage(QRect(view.left() + fit.x, view.top() + fit.y, fit.width, fit.height),
                              levelImage_);
        } else {
            painter.fillRect(view.adjusted(0, 0, 32, 32), palette().window());
            painter.drawImage(QPoint(view.left() - (levelImage_.width() - view.width()) / 2,
                                     view.top() - (levelImage_.height() - view.height()) / 2),
                              levelImage_);
        }
    }
    if (!previewImage_.isNull())
        painter.drawImage(CurrentView->geometry().translated(centralWidget()->pos()),
                          previewImage_);
}

void TEditorForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QRect client = centralWidget()->geometry();
    const int right = client.width() - 5;
    InfoBox->setGeometry(right - kInfoWidth + client.left(), client.top(), kInfoWidth, kInfoHeight);
    SelectObjectBox->setGeometry(InfoBox->x(), InfoBox->geometry().bottom() + 4, kInfoWidth,
                                 kObjectBoxHeight);
    // The preview stays square and inside the window.
    const int previewTop = SelectObjectBox->geometry().bottom() + 4 - client.top();
    const int side = std::clamp(client.height() - previewTop - 4, 32, kPreviewSide);
    CurrentView->setGeometry(right - kInfoWidth / 2 - side / 2, previewTop, side, side);
    // Left of the panel: the level view, and below it the overview and the
    // warnings list side by side.
    const int leftWidth = std::max(1, client.width() - kInfoWidth - 20);
    const int strip = std::clamp(client.height() / 4, 110, 200);
    LevelView->setGeometry(0, 0, leftWidth, std::max(1, client.height() - 5 - strip - 4));
    const int stripTop = client.top() + LevelView->height() + 4;
    const int mapSide = std::min(strip, leftWidth / 2);
    Overview->setGeometry(client.left(), stripTop, mapSide, strip);
    Warnings->setGeometry(client.left() + mapSide + 4, stripTop,
                          std::max(1, leftWidth - mapSide - 4), strip);
    if (activated_) ResizeLevelBuffer();
    update();
}

void TEditorForm::ResizeLevelBuffer() {
    int width = 0, height = 0;
    LevelViewBufferSize(LevelView->width(), LevelView->height(), width, height);
    if (renderContext.mainBuffer.width != width || renderContext.mainBuffer.height != height)
        SetupViewport(width, height);
}

void TEditorForm::keyPressEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) PressKey(VirtualKeyFromQt(event->key(), event->modifiers()));
}

void TEditorForm::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) ReleaseKey(VirtualKeyFromQt(event->key(), event->modifiers()));
}

void TEditorForm::focusOutEvent(QFocusEvent* event) {
    ReleaseAllKeys();
    QMainWindow::focusOutEvent(event);
}

void TEditorForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) ReleaseAllKeys();
    QMainWindow::changeEvent(event);
}

void TEditorForm::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftHeld_ = true;
    if (event->button() == Qt::RightButton) rightHeld_ = true;
}

void TEditorForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftHeld_ = false;
    if (event->button() == Qt::RightButton) rightHeld_ = false;
}

void TEditorForm::mouseMoveEvent(QMouseEvent* event) {
    previousMouse_ = mouse_;
    mouse_ = event->position().toPoint() - centralWidget()->pos();
}

void TEditorForm::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps > 0) RunEditorAction(EditorAction::ZoomIn);
    if (steps < 0) RunEditorAction(EditorAction::ZoomOut);
}

void TEditorForm::closeEvent(QCloseEvent* event) {
    // Without a screen the question takes a queued answer, or Cancel.
    if (!ConfirmDiscardChanges()) {
        event->ignore();
        return;
    }
    GameLoop->stop();
    RemoveAutosave();
    event->accept();
}
