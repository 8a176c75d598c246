#include "shell/title_screen.h"

#include <algorithm>
#include <string_view>

#include "draw/pipeline.h"
#include "draw/text.h"
#include "engine/angles.h"
#include "engine/pictures.h"
#include "media/music_player.h"
#include "platform/clock.h"
#include "platform/scramble_text.h"
#include "shell/controls_screen.h"
#include "shell/joystick.h"
#include "shell/keyboard.h"
#include "shell/level_select.h"
#include "shell/play_screen.h"
#include "shell/practice_game.h"
#include "shell/screen_input.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/player_models.h"
#include "world/sound_listener.h"
#include "world/world.h"

TitleScreenState titleScreen;

namespace {

using namespace std::string_view_literals;

constexpr int kLogoPicture = 1;
constexpr int kFramePicture = 2;
constexpr int kTitleMusic = 0;
constexpr std::int32_t kNewGameLives = 3;
constexpr float kDemoStart = 10240;
constexpr float kDemoNearest = 300;
constexpr float kDemoGone = -2000; // behind the camera for the rest of the page
constexpr std::int32_t kDemoCameraZ = 204;
constexpr std::int32_t kDemoLight = 16000;
constexpr std::int32_t kStepVolume = 254;

// The stored texts, scrambled by ScrambleText so that they do not read as
// text in the program; the plain text is in the comment above each.
// "KELVANE - A GAME BY THE KELVANE TEAM, MADE FROM SCRATCH"
constexpr std::string_view kHiddenText =
    "\x4a\x47\x4f\x52\x44\x48\x42\x28\x24\x2a\x4a\x2c\x4a\x4f\x42\x55"
    "\x31\x50\x4a\x34\x41\x5e\x52\x38\x52\x5f\x57\x4a\x5c\x50\x5a\x00"
    "\x75\x67\x62\x69\x09\x06\x6a\x69\x6d\x6f\x0b\x6a\x7f\x61\x62\x10"
    "\x62\x71\x61\x75\x61\x75\x7f"sv;
// "KELVANE (C) THE KELVANE TEAM"
constexpr std::string_view kVariant0First =
    "\x4a\x47\x4f\x52\x44\x48\x42\x28\x21\x49\x22\x2c\x59\x46\x4a\x30"
    "\x5a\x57\x5f\x42\x54\x58\x52\x38\x4d\x5f\x5a\x51"sv;
// "CODE, LEVELS, PICTURES AND SOUND"
constexpr std::string_view kVariant1First =
    "\x42\x4d\x47\x41\x29\x26\x4b\x4d\x5f\x4f\x47\x5f\x21\x2e\x5f\x59"
    "\x52\x46\x46\x46\x50\x45\x37\x59\x57\x5e\x3b\x4f\x52\x4b\x51\x64"sv;
// "BY THE KELVANE TEAM"
constexpr std::string_view kVariant1Second =
    "\x43\x5b\x23\x50\x4d\x43\x27\x43\x4c\x46\x5d\x4d\x43\x4b\x2f\x44"
    "\x54\x53\x5e"sv;
// "DIG, CLIMB, PUSH AND REACH THE EXIT"
constexpr std::string_view kVariant2First =
    "\x45\x4b\x44\x28\x25\x45\x4b\x41\x44\x48\x27\x2c\x5d\x5b\x5c\x58"
    "\x31\x53\x5d\x50\x35\x44\x52\x59\x5a\x52\x3b\x48\x55\x5b\x3f\x65"
    "\x79\x6b\x77"sv;
// "PRESS F1 FOR HELP WITH THE KEYS"
constexpr std::string_view kVariant2Second =
    "\x51\x50\x46\x57\x56\x26\x41\x39\x29\x4c\x44\x5e\x2d\x46\x4a\x5c"
    "\x41\x32\x44\x5d\x41\x5e\x37\x4c\x51\x5f\x3b\x57\x58\x47\x4c"sv;
constexpr std::string_view kVariant0Second = "VERSION BETA 7 - 01/2000"sv; // stored plain

PlayerRecord& localRecord() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

// Each page lasts 15.5 s; the text variant moves on each time page 0 comes back.
void turnPages() {
    TitleScreenState& t = titleScreen;
    const std::int32_t shown = std::max(TickDifference(shellState.ScreenEnteredAt, Now), 0);
    const std::int32_t page = (shown / kTitlePageMs) % 2;
    if (page != t.TitlePage) {
        t.DemoDistance = kDemoStart;
        t.LogoZoom = 100;
        if (page == 0) t.TextVariant = (t.TextVariant + 1) % kTextVariants;
    }
    t.TitlePage = page;
}

void drawCentred(const std::string& text, bool big, double top) {
    DrawText(text, big, top, 0.5 - TextWidth(text, big) / 2);
}

// The logo shrinks toward its place; the picture shows it as it was before
// this frame's step.
void shrinkLogo() {
    TitleScreenState& t = titleScreen;
    t.DrawnLogoZoom = t.LogoZoom;
    // Never past 0, however long the frame.
    t.LogoZoom += RelaxStep(t.LogoZoom, 0, 0.35f);
}

void drawLogoPage() {
    const TitleScreenState& t = titleScreen;
    const double width = (1 + t.DrawnLogoZoom) * 0.9296875;
    const double height = (1 + t.DrawnLogoZoom) * 0.1645833;
    DrawPicture(kLogoPicture, false, 0, height, width, (1 - height) / 2 - 0.2, (1 - width) / 2);
    // Blinks: shown in the first half of every two seconds.
    if (static_cast<std::uint32_t>(Now) % 2000 < 1000)
        drawCentred("PRESS FIRE TO START", true, 0.62);
    drawCentred("L: LEVEL SELECT", false, 0.72);
    drawCentred("O: CONTROLS AND SOUND", false, 0.76);
    drawCentred(TitleLine(t.TextVariant, 0), false, 0.92);
    drawCentred(TitleLine(t.TextVariant, 1), false, 0.96);
}

// The hero walks toward the camera, one pose step each time his walk phase
// passes 1, with a step sound on poses 1 and 3.
void walkDemoHero(PlayerRecord& hero) {
    TitleScreenState& t = titleScreen;
    t.DemoDistance -= frameScaled(70);
    if (t.DemoDistance < kDemoNearest) t.DemoDistance = kDemoGone;
    hero.walkPhase += frameScaled(0.8f);
    if (hero.walkPhase > 1.0f) {
        hero.walkPhase = 0;
        hero.pose += 1;
        if (hero.pose < kPoseWalk1 || hero.pose > kPoseWalk1 + 3) hero.pose = kPoseWalk1;
        hero.poseBlendMs = 200;
        if (hero.pose == kPoseWalk1 || hero.pose == kPoseWalk1 + 2)
            TriggerSound(0, 0, TruncToInt(t.DemoDistance), hero.stepSound, kStepVolume);
    }
    AnimatePlayerModels();
}

void drawDemoPage() {
    SetCamera(0, 0, kDemoCameraZ, 0, 0, 0);
    AddLight(0, 0, 0, kDemoLight);
    SubmitMesh(MeshOrNull(localRecord().workMesh), 0, 0, TruncToInt(titleScreen.DemoDistance), 0,
               0);
    DrawQueue();
    DrawPicture(kFramePicture, true, 0, 1.0, 1.0, 0.0, 0.0);
}

void startNewGame() {
    PlayerRecord& player = localRecord();
    player.levelIndex = 0;
    player.lives = kNewGameLives;
    // Taken now: a first level that cannot be read leaves the title running
    // (its message shown once) instead of retrying in every frame.
    shellState.TransitionCompleted = false;
    StartLevel(0);
}

} // namespace

std::string TitleLine(std::int32_t variant, int line) {
    static constexpr std::string_view kLines[kTextVariants][2] = {
        {kVariant0First, {}}, {kVariant1First, kVariant1Second}, {kVariant2First, kVariant2Second}};
    if (variant < 0 || variant >= kTextVariants || line < 0 || line > 1) return {};
    if (variant == 0 && line == 1) return std::string(kVariant0Second);
    return ScrambleText(std::string(kLines[variant][line]));
}

void TitleInput() {
    if (AnyButtonSet(1, 3)) CloseScreenWithChoice();
    if (AnyButtonSet(4, 4)) ShutdownGame();
}

bool TitleScreenUpdate() {
    ShellState& s = shellState;
    TitleScreenState& t = titleScreen;
    if (s.FirstFrame) {
        StartMusic(kTitleMusic);
        s.FirstFrame = false;
        t = TitleScreenState{};
        t.HiddenText = ScrambleText(std::string(kHiddenText));
        EndPracticeGame(); // fire on the title starts the campaign
    }
    if (ControlsScreenUpdate() || LevelSelectUpdate()) return true;
    // The controller's start button opens the page when pressed, not while held.
    const bool start = JoyStartButton();
    const bool startPressed = start && !t.StartHeld;
    t.StartHeld = start;
    const bool back = JoyBackButton();
    const bool backPressed = back && !t.BackHeld;
    t.BackHeld = back;
    if ((KeyDown('O') || startPressed) && !s.TransitionActive) {
        OpenControlsScreen();
        return true;
    }
    if ((KeyDown('L') || backPressed) && !s.TransitionActive) {
        OpenLevelSelect();
        return true;
    }
    TitleInput();
    if (s.EndRequested || s.VideoPlaying) return false;
    turnPages();
    if (t.TitlePage == 0) {
        shrinkLogo();
    } else {
        // The demo's steps are heard from the demo's camera.
        PlaceSoundListener(0, 0, kDemoCameraZ, 0, 0, 0);
        walkDemoHero(localRecord());
    }
    if (s.TransitionCompleted) startNewGame();
    return true;
}

void DrawTitleScreen() {
    if (controlsScreen.open) {
        DrawControlsScreen();
        return;
    }
    if (levelSelect.open) {
        DrawLevelSelect();
        return;
    }
    ClearFrame(0);
    DrawText(titleScreen.HiddenText, false, -1, -1);
    if (titleScreen.TitlePage == 0) {
        drawLogoPage();
    } else {
        drawDemoPage();
    }
}
