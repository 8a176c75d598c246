// Joystick 1 through SDL's virtual devices, from the device to the control
// flags. Real devices are ignored, so that the tests run the same anywhere.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/sdl/sdl_joystick.h"
#include "platform/joystick.h"
#include "shell/joystick.h"
#include "shell/player_input.h"
#include "shell/shell_test_support.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK;

class SdlJoystickTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(kSubsystems), 0) << SDL_GetError();
    }

    void TearDown() override {
        StopSdlJoystick();
        for (SDL_Joystick* handle : handles) SDL_JoystickClose(handle);
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
        SDL_QuitSubSystem(kSubsystems);
        ShellTest::TearDown();
    }

    // Plugs in a device and returns the test's own handle for moving it.
    SDL_Joystick* plug(SDL_JoystickType type, int axes, int buttons, int hats) {
        const int index = SDL_JoystickAttachVirtual(type, axes, buttons, hats);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* handle = SDL_JoystickOpen(index);
        EXPECT_NE(handle, nullptr) << SDL_GetError();
        handles.push_back(handle);
        return handle;
    }
    SDL_Joystick* plugController() {
        return plug(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                    SDL_CONTROLLER_BUTTON_MAX, 0);
    }

    void unplug(SDL_Joystick* handle) {
        const SDL_JoystickID id = SDL_JoystickInstanceID(handle);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }

    void start() {
        ASSERT_TRUE(StartSdlJoystick(true)) << SDL_GetError();
        ReadJoystickCaps();
    }

    // One frame's control flags, in record order.
    std::string frame() {
        ReadControls();
        std::string flags;
        for (std::uint8_t f : players[localPlayer].controls) flags += f ? '1' : '0';
        return flags;
    }

    std::vector<SDL_Joystick*> handles;
};

TEST_F(SdlJoystickTest, ControllerStickPadAndFaceButtonsFillTheFlags) {
    SDL_Joystick* pad = plugController();
    start();
    ASSERT_FALSE(joystickState.JoystickAbsent);
    EXPECT_EQ(frame(), "00000000"); // a centred stick reads centred
    EXPECT_EQ(ReadJoystickPosition()->x, 32768u);

    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(frame(), "00101000");
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    for (auto b : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y})
        SDL_JoystickSetVirtualButton(pad, b, 1);
    EXPECT_EQ(frame(), "10010111");

    // START is no game button; the pad is a full deflection over the stick.
    for (auto b : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y})
        SDL_JoystickSetVirtualButton(pad, b, 0);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    EXPECT_EQ(frame(), "01100000");
    EXPECT_TRUE(JoyStartButton()); // it opens the controls page on the title
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 0);
    frame();
    EXPECT_FALSE(JoyStartButton());
}

TEST_F(SdlJoystickTest, UnplugClearsEveryTestAndReplugIsJoystickOneAgain) {
    SDL_Joystick* pad = plugController();
    start();
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(frame(), "00101000");
    unplug(pad);
    EXPECT_EQ(frame(), "00000000");
    EXPECT_FALSE(ReadJoystickPosition());

    SDL_Joystick* again = plugController();
    SDL_JoystickSetVirtualButton(again, SDL_CONTROLLER_BUTTON_B, 1);
    EXPECT_EQ(frame(), "00000100");
    unplug(again); // out and in again within one frame
    SDL_JoystickSetVirtualButton(plugController(), SDL_CONTROLLER_BUTTON_Y, 1);
    EXPECT_EQ(frame(), "00000001");
}

// A start without any device: the controller plugged in later moves the hero
// from the next frame on.
TEST_F(SdlJoystickTest, AControllerPluggedInAfterTheStartIsTakenUp) {
    start();
    ASSERT_TRUE(joystickState.JoystickAbsent);
    EXPECT_EQ(frame(), "00000000");
    SDL_Joystick* pad = plugController();
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(frame(), "10001000");
    EXPECT_FALSE(joystickState.JoystickAbsent);
}

// The player's mapping file is read before the first device is chosen; a
// file above the limit is not read at all.
TEST_F(SdlJoystickTest, TheMappingFileIsReadWithinItsLimit) {
    TempDir folder;
    const std::string mapping =
        "03000000341200007856000011000000,Kelvane Test Pad,a:b0,b:b1,x:b2,y:b3,"
        "leftx:a0,lefty:a1,platform:Linux,\n";
    folder.write("gamecontrollerdb.txt", mapping + "# a comment\nnot a mapping\n");
    ASSERT_TRUE(StartSdlJoystick(true, folder.file("gamecontrollerdb.txt"))) << SDL_GetError();
    EXPECT_EQ(SdlMappingsAdded(), 1);
    StopSdlJoystick();

    folder.write("big.txt", std::string(kMappingFileLimit + 1, '#'));
    ASSERT_TRUE(StartSdlJoystick(true, folder.file("big.txt")));
    EXPECT_EQ(SdlMappingsAdded(), 0);
    StopSdlJoystick();
    ASSERT_TRUE(StartSdlJoystick(true, folder.file("missing.txt")));
    EXPECT_EQ(SdlMappingsAdded(), 0);
}

TEST_F(SdlJoystickTest, ControllerIsPreferredAndAPlainJoystickIsTheFallback) {
    SDL_Joystick* stick = plug(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 1);
    SDL_Joystick* pad = plugController();
    start();
    ASSERT_FALSE(joystickState.JoystickAbsent);
    SDL_JoystickSetVirtualButton(stick, 0, 1);
    EXPECT_EQ(frame(), "00000000");
    // With the controller gone, the joystick still there takes its place:
    // axis 1, hat 0 and buttons 0 to 3.
    unplug(pad);
    SDL_JoystickSetVirtualAxis(stick, 1, -32768);
    SDL_JoystickSetVirtualHat(stick, 0, SDL_HAT_RIGHT);
    SDL_JoystickSetVirtualButton(stick, 2, 1);
    EXPECT_EQ(frame(), "10011010");
}

} // namespace
