#include "shell/qt/screen_form.h"

#include "backends/qt/presenter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "backends/qt/app_icon.h"
#include "backends/qt/automation_finish.h"
#include "backends/qt/form_commands.h"
#include "backends/qt/key_map.h"
#include "backends/qt/qt_platform.h"
#include "media/display.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "shell/automation_run.h"
#include "shell/form_services.h"
#include "shell/frame_step.h"
#include "shell/keyboard.h"
#include "shell/lobby.h"
#include "shell/lobby_view.h"
#include "shell/music.h"
#include "shell/qt/pad_dialogs.h"
#include "shell/screen_flow.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "shell/window_fit.h"
#include "world/frame_clock.h"
#include "world/world.h"

TScreenForm* ScreenForm = nullptr;

namespace {
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 240;
const char* const kLoadingText = "LOADING PLEASE WAIT";

QFont boldFont(int pixelSize) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// The services the shell's logic asks of the window.
class ScreenFormServices : public FormServices {
  public:
    explicit ScreenFormServices(TScreenForm& form) : form_(form) {}
    void ShowLoadingScreen() override { form_.ShowLoadingScreen(); }
    void SetCommPanelVisible(bool visible) override { form_.CommPanel->setVisible(visible); }
    int ClientWidth() const override { return form_.width(); }
    int ClientHeight() const override { return form_.height(); }
    void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
    void EndProgram(int exitCode) override { form_.EndProgram(exitCode); }
    void Present(const FrameBuffer& buffer, const FrameBuffer* stereo) override {
        PresentFrame(&form_, buffer, stereo);
    }
    bool EnterFullScreen() override {
        if (!fullScreenActive) windowed_ = CurrentPlace();
        return ::EnterFullScreen(&form_);
    }
    void LeaveFullScreen() override {
        ::LeaveFullScreen();
        PlaceNow(windowed_);
    }
    void PlaceWindow(const WindowPlace& place) override {
        windowed_ = place;
        if (!fullScreenActive) PlaceNow(place);
    }
    WindowPlace WindowedPlace() const override {
        return fullScreenActive ? windowed_ : CurrentPlace();
    }
    double PixelRatio() const override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->devicePixelRatio() : 1.0;
    }
    std::vector<WindowPlace> ScreenAreas() const override {
        std::vector<WindowPlace> areas;
        // Qt lists the primary screen first.
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect area = screen->availableGeometry();
            areas.push_back({area.left(), area.top(), area.width(), area.height()});
        }
        return areas;
    }
    void SetIntegerScaling(bool on) override {
        ::SetIntegerScaling(on);
        form_.update();
    }
    void PresentVideo(const VideoPicture& picture) override {
        PresentVideoPicture(&form_, picture);
    }
    std::uint64_t WindowHandle() const override { return form_.winId(); }
    std::vector<std::uint8_t> PictureAsPng() override { return EncodePng(form_.Picture()); }
    bool DialogOpen() const override { return QApplication::activeModalWidget() != nullptr; }
    std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                       const std::string& prefilled) override {
        // Without a screen nobody could answer: cancel rather than block.
        if (RunningWithoutScreen()) return std::nullopt;
        bool ok = false;
        const QString answer = QInputDialog::getText(
            &form_, QString::fromStdString(caption), QString::fromStdString(prompt),
            QLineEdit::Normal, QString::fromStdString(prefilled), &ok);
        if (!ok) return std::nullopt;
        return answer.toStdString();
    }

    std::optional<std::string> AskTextOrChoice(const std::string& caption,
                                               const std::string& prompt,
                                               const std::vector<std::string>& choices) override {
        if (RunningWithoutScreen()) return std::nullopt;
        QStringList items;
        for (const std::string& choice : choices) items << QString::fromStdString(choice);
        bool ok = false;
        const QString answer =
            QInputDialog::getItem(&form_, QString::fromStdString(caption),
                                  QString::fromStdString(prompt), items, 0, true, &ok);
        if (!ok) return std::nullopt;
        return answer.toStdString();
    }

  private:
    // Outer top-left corner and client size.
    WindowPlace CurrentPlace() const {
        return {form_.x(), form_.y(), form_.width(), form_.height()};
    }
    void PlaceNow(const WindowPlace& place) {
        form_.move(place.left, place.top);
        form_.resize(place.width, place.height);
    }

    TScreenForm& form_;
    WindowPlace windowed_;
};

} // namespace

TScreenForm::TScreenForm(QWidget* parent)
    : QWidget(parent), services_(std::make_unique<ScreenFormServices>(*this)) {
    ScreenForm = this;
    InstallFormServices(services_.get());
    setObjectName(QStringLiteral("ScreenForm"));
    setWindowTitle(QStringLiteral("Kelvane"));
    UseAppIcon(*this, AppIconKind::Game);
    // The first start's place until the settings are read (they may keep it).
    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const WindowPlace place = FirstWindowPlace(
            {area.left(), area.top(), area.width(), area.height()}, screen->devicePixelRatio());
        resize(place.width, place.height);
        move(place.left, place.top);
    }
    setFont(boldFont(11));
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::yellow);
    setPalette(colours);
    // Every frame covers the whole client area: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);

    CommPanel = new QFrame(this);
    CommPanel->setObjectName(QStringLiteral("CommPanel"));
    CommPanel->setGeometry(0, 0, 321, 241);
    CommPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    CommPanel->setAutoFillBackground(true);
    CommPanel->setPalette(QApplication::palette());
    CommPanel->hide();

    ListBox = new QListWidget(CommPanel);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    ListBox->setGeometry(8, 8, 305, 121);
    ListBox->setFont(boldFont(11));
    ListBox->setUniformItemSizes(true);
    ListBox->setStyleSheet(QStringLiteral("QListWidget { color: black; } "
                                          "QListWidget::item { height: 13px; }"));

    NewGame = new QPushButton(QStringLiteral("Create Game"), CommPanel);
    NewGame->setObjectName(QStringLiteral("NewGame"));
    NewGame->setGeometry(8, 160, 81, 25);
    connect(NewGame, &QPushButton::clicked, this, [this] {
        NewGameClick();
        MirrorLobbyView();
    });

    JoinGame = new QPushButton(QStringLiteral("Join Game"), CommPanel);
    JoinGame->setObjectName(QStringLiteral("JoinGame"));
    JoinGame->setGeometry(240, 160, 75, 25);
    connect(JoinGame, &QPushButton::clicked, this, [this] {
        JoinGameClick();
        MirrorLobbyView();
    });
    PortMapping =
        new QCheckBox(QStringLiteral("Ask the router to forward the game's port"), CommPanel);
    PortMapping->setObjectName(QStringLiteral("PortMapping"));
    PortMapping->setGeometry(8, 134, 305, 22);
    // Dark text on the panel, as the list's (the form's own text is yellow).
    PortMapping->setStyleSheet(
        QStringLiteral("QCheckBox { color: black; } QCheckBox:disabled { color: gray; }"));
    connect(PortMapping, &QCheckBox::toggled, this, [this](bool checked) {
        PortMappingClick(checked);
        MirrorLobbyView();
    });

    MappingStatus = new QLabel(CommPanel);
    MappingStatus->setObjectName(QStringLiteral("MappingStatus"));
    MappingStatus->setGeometry(8, 190, 305, 46);
    MappingStatus->setWordWrap(true);
    MappingStatus->setStyleSheet(QStringLiteral("QLabel { color: black; }"));
    MappingStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The public address can be copied from the line, to send to friends.
    MappingStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The user's choice goes back to the lobby's logic (mirroring blocks this).
    connect(ListBox, &QListWidget::currentRowChanged, this,
            [](int row) { lobbyView.selected = row; });

    GameLoop = new QTimer(this);
    GameLoop->setObjectName(QStringLiteral("GameLoop"));
    GameLoop->setTimerType(Qt::PreciseTimer);
    GameLoop->setInterval(kGameLoopIntervalMs);
    connect(GameLoop, &QTimer::timeout, this, &TScreenForm::GameLoopTimer);
    GameLoop->start();
    // Before the first prompt, which may come as the form is created.
    new PadDialogs(this);

    FormCreate();
}

TScreenForm::~TScreenForm() {
    if (ScreenForm == this) {
        ScreenForm = nullptr;
        InstallFormServices(nullptr);
    }
}

void TScreenForm::FormCreate() {
    ShellState& s = shellState;
    s.Initialised = false;
    s.ActivatedOnce = false;
    if (IsNetworkStart(s.CommandLine)) s.NetworkLobby = true;
    if (s.NetworkLobby) {
        ReadNickname();
        ChangeScreen(kScreenLobby);
    }
}

void TScreenForm::FormActivate() {
    ShellState& s = shellState;
    setFocus();
    // The guard covers activations that arrive while the start-up itself lets
    // the window deliver events (waiting for keys to be released).
    if (s.ActivatedOnce || s.NetworkLobby || activating_ || s.EndRequested) return;
    activating_ = true;
    FrameStep();
    GameLoop->stop();
    if (!InitialiseGame()) {
        activating_ = false;
        RequestProgramEnd(0);
        return;
    }
    s.ScreenState = kScreenNone;
    WaitForNoKey();
    if (s.EndRequested) {
        activating_ = false;
        return;
    }
    ResetFrameClock();
    s.Initialised = true;
    EnterFirstScreen();
    s.ActivatedOnce = true;
    GameLoop->start();
    PaceGameLoop();
    activating_ = false;
}

void TScreenForm::FormClose() {
    if (!shellState.EndRequested) ShutdownGame();
}

void TScreenForm::GameLoopTimer() {
    ShellState& s = shellState;
    if (s.EndRequested) return;
    // Automated runs count the frames of the running game (or lobby), not the
    // ticks that only show the loading text.
    const bool counted = s.Initialised || s.NetworkLobby;
    if (counted && FrameBudgetUsed()) {
        close(); // as the window's close would
        return;
    }
    // In exclusive mode frames run back to back (paceGameLoop), and Qt still
    // delivers input between them.
    if (counted) {
        BeginAutomatedFrame();
        RunScriptFormCommands();
    }
    FrameStep();
    MirrorLobbyView();
    // The clip's end is told between frames, as the window's notification was.
    ServiceVideoClip();
    if (counted) EndAutomatedFrame();
    if (counted && FrameBudgetUsed() && !s.EndRequested) {
        close();
        return;
    }
    PaceGameLoop();
}

void TScreenForm::RunScriptFormCommands() {
    const std::int64_t frame = ScriptFrame();
    if (frame == 0) return;
    MirrorLobbyView(); // the commands act on what the user would see now
    for (const FormCommand& command : ScriptFormCommandsNow()) {
        std::string error;
        if (!RunSharedFormCommand(command, error)) {
            scriptCommandFailed_ = true;
            std::fprintf(stderr, "kelvane: script frame %lld: %s\n", static_cast<long long>(frame),
                         error.c_str());
        }
        MirrorLobbyView();
    }
}

QImage TScreenForm::Picture() {
    if (PresentedImage().isNull()) return grab().toImage();
    return PresentedImage();
}

void TScreenForm::MirrorLobbyView() {
    if (lobbyView.revision == mirroredRevision_) return;
    mirroredRevision_ = lobbyView.revision;
    const LobbyView& view = lobbyView;
    const QSignalBlocker blockList(ListBox);
    QStringList items;
    for (const std::string& item : view.items) items.push_back(QString::fromStdString(item));
    bool same = ListBox->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = ListBox->item(i)->text() == items[i];
    if (!same) {
        ListBox->clear();
        ListBox->addItems(items);
    }
    const int selected =
        view.selected >= 0 && view.selected < ListBox->count() ? view.selected : -1;
    ListBox->setCurrentRow(selected);
    if (selected < 0) ListBox->clearSelection();
    const auto mirrorButton = [](QPushButton* button, const LobbyButtonView& shown) {
        button->setText(QString::fromStdString(shown.caption));
        button->setVisible(shown.visible);
        button->setEnabled(shown.enabled);
    };
    mirrorButton(NewGame, view.newGame);
    mirrorButton(JoinGame, view.joinGame);
    {
        const QSignalBlocker blockBox(PortMapping);
        PortMapping->setChecked(view.portMapping);
        PortMapping->setEnabled(view.portMappingEnabled);
    }
    MappingStatus->setText(QString::fromStdString(view.mappingLine));
    CommPanel->setVisible(view.panelVisible);
}

void TScreenForm::PaceGameLoop() {
    // A network run keeps real time so that its peers and timers see the
    // frames pass as the virtual clock counts them.
    const std::optional<std::int32_t> realTime = RealTimeFrameMs();
    const bool backToBack = shellState.ExclusiveMode || VirtualClockActive();
    const int interval = realTime ? *realTime : backToBack ? 0 : kGameLoopIntervalMs;
    if (GameLoop->interval() != interval) GameLoop->setInterval(interval);
}

void TScreenForm::EndProgram(int exitCode) {
    GameLoop->stop();
    QCoreApplication::exit(exitCode);
}

void TScreenForm::ShowLoadingScreen() {
    repaint();
}

void TScreenForm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Some window managers never activate a new window; the start-up must not
    // wait for that. A later activation finds it done.
    if (!shownOnce_) {
        shownOnce_ = true;
        QTimer::singleShot(0, this, &TScreenForm::FormActivate);
    }
}

bool TScreenForm::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        const bool handled = QWidget::event(e);
        FormActivate();
        return handled;
    }
    if (e->type() == QEvent::WindowDeactivate) ReleaseAllKeys();
    return QWidget::event(e);
}

void TScreenForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!shellState.Initialised) {
        PaintLoadingText(painter);
        return;
    }
    // Redrawing the window shows the last presented picture; frames are run
    // by the timer only, so a repaint never advances the game.
    painter.fillRect(rect(), Qt::black);
    PaintPresentedImage(painter, rect());
}

void TScreenForm::PaintLoadingText(QPainter& painter) {
    painter.fillRect(rect(), Qt::black);
    painter.setFont(font());
    painter.setPen(Qt::yellow);
    const QFontMetrics metrics(font());
    const QString text = QString::fromLatin1(kLoadingText);
    const int left = (width() - metrics.horizontalAdvance(text)) / 2;
    const int top = (height() - metrics.height()) / 2;
    painter.drawText(left, top + metrics.ascent(), text);
}

void TScreenForm::keyPressEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat()) PressKey(VirtualKeyFromQt(e->key(), e->modifiers()));
}

void TScreenForm::keyReleaseEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat()) ReleaseKey(VirtualKeyFromQt(e->key(), e->modifiers()));
}

void TScreenForm::focusOutEvent(QFocusEvent* e) {
    ReleaseAllKeys();
    QWidget::focusOutEvent(e);
}

void TScreenForm::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept();
}

bool TScreenForm::focusNextPrevChild(bool next) {
    // Tab is a game key unless the network panel is up.
    return CommPanel->isVisible() && QWidget::focusNextPrevChild(next);
}
