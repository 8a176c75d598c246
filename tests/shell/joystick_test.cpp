#include <gtest/gtest.h>

#include <string>

#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/profile.h"
#include "shell/control_bindings.h"
#include "shell/joystick.h"
#include "shell/player_input.h"
#include "shell/shell_test_support.h"
#include "shell/state_dump.h"
#include "world/world.h"

namespace {

// A device whose range and position the test sets; it counts position reads.
class FakeJoystick final : public JoystickDevice {
  public:
    void Update() override { ++updates; }
    std::optional<JoystickCaps> Caps() override {
        return answers ? std::optional(caps) : std::nullopt;
    }
    std::optional<JoystickPosition> Position() override {
        ++reads;
        return answers ? std::optional(position) : std::nullopt;
    }

    bool answers = true;
    JoystickCaps caps{0, 65535, 0, 65535};
    JoystickPosition position{32768, 32768, 0};
    int updates = 0, reads = 0;
};

class JoystickTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        InstallJoystickDevice(&device);
    }
    void place(std::uint32_t x, std::uint32_t y, std::uint32_t buttons = 0) {
        device.position = {x, y, buttons};
    }
    bool anyTest() {
        return JoyLeft() || JoyRight() || JoyUp() || JoyDown() || JoyButton(1) || JoyButton(2) ||
               JoyButton(3) || JoyButton(4);
    }

    FakeJoystick device;
};

TEST_F(JoystickTest, ThresholdsOnTheirBoundaries) {
    device.caps.maxY = 1001; // half 500: up below 250, down above 750
    ReadJoystickCaps();
    // X: half 32767, left below 16383, right above 49150.
    place(16382, 250);
    EXPECT_TRUE(JoyLeft());
    EXPECT_FALSE(JoyUp());
    place(16383, 249);
    EXPECT_FALSE(JoyLeft());
    EXPECT_TRUE(JoyUp());
    place(49150, 751);
    EXPECT_FALSE(JoyRight());
    EXPECT_TRUE(JoyDown());
    place(49151, 750);
    EXPECT_TRUE(JoyRight());
    EXPECT_FALSE(JoyDown());

    // Measured from 0, not from the minimum: half 2000, below 1000, above 3000.
    device.caps = {1000, 5000, 1000, 5000};
    ReadJoystickCaps();
    place(1000, 1000);
    EXPECT_FALSE(JoyLeft() || JoyUp());
    place(3001, 3000);
    EXPECT_TRUE(JoyRight());
    EXPECT_FALSE(JoyDown());
}

TEST_F(JoystickTest, AbsentOrSilentJoystickMakesEveryTestFalse) {
    // Not read yet: an empty range must not turn a centred stick into "right".
    EXPECT_FALSE(anyTest());
    InstallJoystickDevice(nullptr);
    ReadJoystickCaps();
    EXPECT_TRUE(joystickState.JoystickAbsent);
    InstallJoystickDevice(&device); // plugged in later: never asked
    place(0, 0, 0xF);
    EXPECT_FALSE(anyTest());
    EXPECT_EQ(device.reads, 0);

    ReadJoystickCaps();
    ASSERT_FALSE(joystickState.JoystickAbsent);
    device.answers = false; // unplugged after start-up
    EXPECT_FALSE(anyTest());
}

TEST_F(JoystickTest, ReadControlsAsksTheJoystickOnlyWhereNoKeyIsDown) {
    ReadJoystickCaps();
    ReadControls();
    EXPECT_NE(DescribeState().find("\ncontrols=00000000\njoystickAbsent=0\n"), std::string::npos);
    place(0, 65535, 0x1 | 0x8); // full left and back, buttons 1 and 4
    PressKey(kVkUp);
    PressKey(kVkShift);
    device.reads = 0;
    ReadControls();
    EXPECT_NE(DescribeState().find("\ncontrols=11101011\n"), std::string::npos);
    EXPECT_EQ(device.reads, 6);   // not for Up and Shift
    EXPECT_EQ(device.updates, 2); // events taken once a frame
    place(32768, 32768, 0xFFFFFFFF);
    EXPECT_FALSE(JoyButton(0) || JoyButton(5));
}

TEST_F(JoystickTest, ThePlusAndMinusKeysOfEitherRowMoveTheCamera) {
    PlayerRecord& p = players[0];
    for (const auto& [closer, farther] :
         {std::pair{kVkAdd, kVkSubtract}, std::pair{kVkOemPlus, kVkOemMinus}}) {
        ResetKeys();
        ReadControls();
        PressKey(closer);
        ReadControls();
        EXPECT_EQ(p.cameraCloser, 1);
        EXPECT_EQ(p.previousCameraCloser, 0);
        EXPECT_EQ(p.cameraFarther, 0);
        ReleaseKey(closer);
        PressKey(farther);
        ReadControls();
        EXPECT_EQ(p.cameraCloser, 0);
        EXPECT_EQ(p.cameraFarther, 1);
        ReleaseKey(farther);
    }
    // With both + keys down, the press of the one not read first is not left
    // pending: once both are up, the camera key is up in the next frame.
    PressKey(kVkAdd);
    PressKey(kVkOemPlus);
    ReadControls();
    ReleaseKey(kVkAdd);
    ReleaseKey(kVkOemPlus);
    ReadControls();
    EXPECT_EQ(p.cameraCloser, 0);
}

} // namespace

// Controls answer to the keys and controller inputs bound to them, and to
// nothing else.
TEST_F(JoystickTest, ControlsFollowTheirBindings) {
    ReadJoystickCaps();
    std::vector<std::string> complaints;
    controlBindings = ReadControlBindings(
        ParseProfile("[Controls]\nJump=j\nForward=W\nPadJump=y\nPadMenu=a\n"), complaints);
    EXPECT_TRUE(complaints.empty());
    PressKey(kVkSpace);
    PressKey(kVkUp);
    ReadControls();
    EXPECT_NE(DescribeState().find("\ncontrols=00000000\n"), std::string::npos);
    ReleaseAllKeys();
    PressKey('J');
    PressKey('W');
    ReadControls();
    EXPECT_NE(DescribeState().find("\ncontrols=10001000\n"), std::string::npos);
    ReleaseAllKeys();
    place(32768, 32768, 0x1); // A: now the menu
    ReadControls();
    EXPECT_NE(DescribeState().find("\ncontrols=00000001\n"), std::string::npos);
    place(32768, 32768, 0x8); // Y: now the jump
    ReadControls();
    EXPECT_NE(DescribeState().find("\ncontrols=00001000\n"), std::string::npos);
    const std::string dump = DescribeState();
    EXPECT_NE(dump.find("\nbinding.Forward=W,UP\n"), std::string::npos);
    EXPECT_NE(dump.find("\nbinding.Jump=J,Y\n"), std::string::npos);
    EXPECT_NE(dump.find("\nbinding.Menu=ESC,A\n"), std::string::npos);
}

TEST(ControlBindingNames, UnknownNamesKeepTheDefaultAndAreSaid) {
    std::vector<std::string> complaints;
    const ControlBindings b = ReadControlBindings(
        ParseProfile("[Controls]\nJump=ENTER\nLook=\nPadAction=Z\nMenu=f13\nBack=pgdn\n"),
        complaints);
    const ControlBindings defaults = DefaultControlBindings();
    EXPECT_EQ(b.keys[kJump], kVkSpace);
    EXPECT_EQ(b.keys[kLook], kVkControl);
    EXPECT_EQ(b.keys[kMenu], kVkEscape);
    EXPECT_EQ(b.keys[kBack], kVkNext);
    EXPECT_EQ(b.pad, defaults.pad);
    ASSERT_EQ(complaints.size(), 3u);
    EXPECT_EQ(complaints[0], "kelv.ini: [Controls] Jump=ENTER: no such key; SPACE kept");
    EXPECT_EQ(complaints[1], "kelv.ini: [Controls] PadAction=Z: no such controller input; X kept");

    // Written and read back, every binding comes back as it was.
    ControlBindings changed = defaults;
    changed.keys[kLook] = kVkF5;
    changed.pad[kMenu] = PadInput::Left;
    std::string text;
    for (const ProfileEntry& e : ControlBindingEntries(changed))
        text = *SetProfileValue(text, e.section, e.key, e.value);
    complaints.clear();
    const ControlBindings back = ReadControlBindings(ParseProfile(text), complaints);
    EXPECT_TRUE(complaints.empty()) << text;
    EXPECT_EQ(back.keys, changed.keys);
    EXPECT_EQ(back.pad, changed.pad);
    for (int vk = 0; vk < kVirtualKeyCount; ++vk) {
        const std::string name = VirtualKeyName(vk);
        if (!name.empty()) {
            EXPECT_EQ(VirtualKeyFromName(name), vk) << name;
        }
    }
}
