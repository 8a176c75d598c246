// The controls and sound page: rows, rebinding by a new press, volumes in
// steps of 10 within 0..100, reset, and leaving it without the held key
// reaching the screen under it.
#include <gtest/gtest.h>

#include "media/sound_output.h"
#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/profile.h"
#include "shell/control_bindings.h"
#include "shell/controls_screen.h"
#include "shell/joystick.h"
#include "shell/player_input.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "shell/title_screen.h"

namespace {

class ControlsScreenTest : public ShellTest {
  protected:
    // One frame with `vk` held (none for 0), then one with it released.
    bool frame(int vk = 0) {
        if (vk) PressKey(vk);
        ReadControls();
        bool open = ControlsScreenUpdate();
        if (vk) {
            ReleaseKey(vk);
            ReadControls();
            open = ControlsScreenUpdate();
        }
        return open;
    }
    void openPage() {
        ReadControls();
        OpenControlsScreen();
    }
};

TEST_F(ControlsScreenTest, PickingAControlBindsTheNextNewPress) {
    openPage();
    frame(kVkDown);
    frame(kVkDown);
    frame(kVkDown);
    frame(kVkDown); // row 4: the jump
    EXPECT_EQ(controlsScreen.selected, kJump);
    PressKey('K'); // held from before the wait: not the answer
    frame(kVkSpace);
    ASSERT_TRUE(controlsScreen.waiting);
    frame();
    EXPECT_TRUE(controlsScreen.waiting);
    ReleaseKey('K');
    frame(kVkF1 + 20); // F21 has no name: not bindable
    EXPECT_TRUE(controlsScreen.waiting);
    frame('J');
    EXPECT_FALSE(controlsScreen.waiting);
    EXPECT_EQ(controlBindings.keys[kJump], 'J');

    // Escape while waiting cancels and keeps the key; the page stays open.
    frame('J');
    ASSERT_TRUE(controlsScreen.waiting);
    frame(kVkEscape);
    EXPECT_FALSE(controlsScreen.waiting);
    EXPECT_TRUE(controlsScreen.open);
    EXPECT_EQ(controlBindings.keys[kJump], 'J');
}

TEST_F(ControlsScreenTest, VolumesStepWithinTheirRangeAndResetRestoresAll) {
    openPage();
    frame(kVkUp);
    frame(kVkUp);
    frame(kVkUp);
    frame(kVkUp); // up from row 0 wraps to the back row, then reset, effects, music
    EXPECT_EQ(controlsScreen.selected, kRowMusicVolume);
    frame(kVkRight); // already 100
    EXPECT_EQ(CurrentMixVolumes().music, 100);
    for (int i = 0; i < 12; ++i) frame(kVkLeft);
    EXPECT_EQ(CurrentMixVolumes().music, 0);
    frame(kVkDown);
    frame(kVkLeft);
    EXPECT_EQ(CurrentMixVolumes().effects, 90);
    controlBindings.keys[kLook] = 'L';
    frame(kVkDown);
    EXPECT_EQ(controlsScreen.selected, kRowReset);
    frame(kVkShift); // action picks as jump does
    EXPECT_EQ(CurrentMixVolumes().music, 100);
    EXPECT_EQ(CurrentMixVolumes().effects, 100);
    EXPECT_EQ(controlBindings.keys[kLook], kVkControl);
}

TEST_F(ControlsScreenTest, LeavingWritesTheSettingsAndSwallowsTheHeldKey) {
    openPage();
    frame(kVkDown);
    frame(kVkDown);
    frame(kVkSpace); // waiting for the turn left key
    frame('A');
    EXPECT_EQ(controlBindings.keys[kTurnLeft], 'A');
    PressKey(kVkEscape);
    ReadControls();
    EXPECT_TRUE(ControlsScreenUpdate()); // closes
    EXPECT_FALSE(controlsScreen.open);
    ReadControls();
    EXPECT_TRUE(ControlsScreenUpdate()); // Escape still held: the title must not see it
    ReleaseKey(kVkEscape);
    EXPECT_FALSE(frame());

    const ProfileData written = ReadProfile(SettingsPath());
    EXPECT_EQ(ProfileString(written, "Controls", "Left", ""), "A");
    EXPECT_EQ(ProfileString(written, "Controls", "PadLeft", ""), "LEFT");
    EXPECT_EQ(ProfileString(written, "Sound", "MusicVolume", ""), "100");
}

// A centred controller whose start button the test holds.
class StartPad final : public JoystickDevice {
  public:
    void Update() override {}
    std::optional<JoystickCaps> Caps() override { return JoystickCaps{0, 65535, 0, 65535}; }
    std::optional<JoystickPosition> Position() override {
        JoystickPosition p{32768, 32768, 0};
        p.start = start;
        return p;
    }
    bool start = false;
};

TEST_F(ControlsScreenTest, TheTitleOpensThePageWithOOrAPressOfTheControllersStart) {
    StartPad pad;
    InstallJoystickDevice(&pad);
    ReadJoystickCaps();
    shellState.ScreenState = kScreenTitle;
    shellState.FirstFrame = true;
    const auto titleFrame = [] {
        ReadControls();
        return TitleScreenUpdate();
    };
    pad.start = true;
    EXPECT_TRUE(titleFrame());
    EXPECT_TRUE(controlsScreen.open);
    EXPECT_FALSE(frame(kVkEscape)); // back, and Escape let go
    titleFrame();                   // start still held: not a new press
    EXPECT_FALSE(controlsScreen.open);
    pad.start = false;
    titleFrame();
    pad.start = true;
    titleFrame();
    EXPECT_TRUE(controlsScreen.open);
    frame(kVkEscape);
    PressKey('O');
    titleFrame();
    EXPECT_TRUE(controlsScreen.open);
    InstallJoystickDevice(nullptr);
}

} // namespace
