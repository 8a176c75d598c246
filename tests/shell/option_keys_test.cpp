#include <gtest/gtest.h>

#include "draw/text.h"
#include "engine/render_context.h"
#include "formats/definitions.h"
#include "platform/keys.h"
#include "shell/display_options.h"
#include "shell/form_services.h"
#include "shell/help_panel.h"
#include "shell/option_keys.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "support/data_set.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

class OptionKeys : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        lastPlayer = 0;
        SetPictureSize({320, 240});
    }
    void TearDown() override {
        lastPlayer = 0;
        LeaveFormFullScreen();
        ShellTest::TearDown();
    }

    // One frame in which `vk` is tapped.
    static void tap(int vk) {
        PressKey(vk);
        ReleaseKey(vk);
        HandleOptionKeys();
    }
};

TEST_F(OptionKeys, PictureSizesCycleAndLeaveFullScreenOnlyFor160) {
    SetPictureSize({1280, 1024});
    GoFullScreen();
    ASSERT_TRUE(IsFullScreen());
    tap(kVkF4);
    EXPECT_EQ(CurrentPictureSize().width, 1600);
    EXPECT_TRUE(IsFullScreen()); // back to full screen at the new size
    EXPECT_EQ(shellState.MessageText, "RESOLUTION 1600x1200");
    tap(kVkF4);
    EXPECT_EQ(CurrentPictureSize().height, 120);
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(shellState.MessageText, "RESOLUTION 160x120");
    tap(kVkF4);
    EXPECT_EQ(shellState.MessageText, "RESOLUTION 320x200");
    EXPECT_FALSE(IsFullScreen()); // the window stays a window

    SetPictureSize({123, 456}); // a size not in the list starts over
    tap(kVkF4);
    EXPECT_EQ(shellState.MessageText, "RESOLUTION 160x120");
}

TEST_F(OptionKeys, ScreenModeMessageSaysWhereThePictureEndsUp) {
    frameMs = 400;
    tap(kVkF6);
    EXPECT_TRUE(IsFullScreen());
    EXPECT_EQ(shellState.MessageText, "FULLSCREEN MODE");
    EXPECT_EQ(frameMs, 1);
    tap(kVkF6);
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(shellState.MessageText, "WINDOW MODE");

    SetPictureSize({160, 120}); // too narrow to leave the window
    tap(kVkF6);
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(shellState.MessageText, "WINDOW MODE");
}

TEST_F(OptionKeys, TextureDetailReloadsTheDefinitionsInPlace) {
    TempDir data;
    WriteMiniDataSet(data);
    data.write("Other.bnk", ReadBytes(data.file(kDefinitionFile)));
    ScopedCurrentDir inData(data.path());
    ForgetDefinitions();
    ASSERT_TRUE(LoadDefinitions("Other.bnk", "High"));
    tap(kVkF5);
    EXPECT_EQ(LoadedDefinitionFile(), "Other.bnk");
    EXPECT_EQ(shellState.TextureDetail, "Low");
    EXPECT_EQ(shellState.MessageText, "TEXTURE MODE OFF");
    tap(kVkF5);
    EXPECT_EQ(shellState.TextureDetail, "High");
    EXPECT_EQ(shellState.MessageText, "TEXTURE MODE ON");

    // A definition file gone missing ends the game with its message.
    ::unlink(data.file("Other.bnk").c_str());
    tap(kVkF5);
    EXPECT_EQ(messages, std::vector<std::string>{"VX3: The file Other.bnk is missing"});
    EXPECT_TRUE(shellState.EndRequested);
    EXPECT_EQ(shellState.TextureDetail, "High");
}

TEST_F(OptionKeys, NetworkKeysDependOnRemotePlayers) {
    tap(kVkF10);
    EXPECT_EQ(shellState.MessageText, "");
    tap(kVkF11);
    EXPECT_TRUE(shellState.ExclusiveMode);
    EXPECT_EQ(shellState.MessageText, "EXCLUSIVE MODE ON");

    lastPlayer = 2;
    shellState.RefreshInterval = 24;
    tap(kVkF11);
    EXPECT_TRUE(shellState.ExclusiveMode);
    tap(kVkF10);
    EXPECT_EQ(shellState.MessageText, "Network refresh interval: 24 ms");
}

TEST_F(OptionKeys, NoKeyActsDuringAVideoClip) {
    shellState.VideoPlaying = true;
    PressKey(kVkF9);
    PressKey(kVkF8);
    HandleOptionKeys();
    EXPECT_FALSE(shellState.ShowFps);
    EXPECT_EQ(renderContext.stereoscopic, 0);
}

TEST_F(OptionKeys, F1ShowsTheHelpForFifteenSecondsAndAPressHidesIt) {
    tap(kVkF1);
    EXPECT_TRUE(helpPanel.shown);
    EXPECT_FALSE(shellState.MessageShown); // a panel, not the message line
    HandleOptionKeys(); // a frame without F1
    // Held over several frames, F1 counts as one press.
    PressKey(kVkF1);
    for (int i = 0; i < 3; ++i) HandleOptionKeys();
    EXPECT_FALSE(helpPanel.shown);
    ReleaseKey(kVkF1);
    HandleOptionKeys();
    tap(kVkF1);
    ASSERT_TRUE(helpPanel.shown);

    frameMs = 50;
    int frames = 0;
    while (UpdateHelpPanel()) ++frames;
    EXPECT_EQ(frames, kHelpShownMs / 50);
    EXPECT_FALSE(helpPanel.shown);
}

TEST(HelpPanel, NamesTheKeyboardAndTheCameraKeysInLinesThatFit) {
    bool keyboard = false, keypadCamera = false, mainRowCamera = false;
    for (const std::string& line : HelpLines()) {
        EXPECT_LE(TextWidth(line, false), kHelpTextWidth) << line;
        EXPECT_EQ(line.find("KEYBORAD"), std::string::npos);
        keyboard = keyboard || line.rfind("KEYBOARD", 0) == 0;
        const bool camera = line.find("CAMERA CLOSER AND FARTHER") != std::string::npos;
        keypadCamera = keypadCamera || (camera && line.find("KEYPAD + AND -") == 0);
        mainRowCamera = mainRowCamera || (camera && line.find("+ AND - (MAIN") == 0);
    }
    EXPECT_TRUE(keyboard);
    EXPECT_TRUE(keypadCamera);
    EXPECT_TRUE(mainRowCamera);
}

TEST_F(OptionKeys, StereoModesCycleThroughBothColourPairs) {
    tap(kVkF8);
    EXPECT_EQ(renderContext.stereoscopic, 1);
    const PalettePlanes redBlue = renderContext.palette;
    tap(kVkF8);
    EXPECT_EQ(shellState.MessageText, "STEREOSCOPIC RED/GREEN MODE");
    EXPECT_NE(renderContext.palette, redBlue);
    // Entry 16 * 15: eye A alone, green in red/green mode.
    EXPECT_EQ(renderContext.palette[240], 0);
    EXPECT_GT(renderContext.palette[256 + 240], 0);
    tap(kVkF8);
    EXPECT_EQ(shellState.StereoMode, 0);
    EXPECT_EQ(renderContext.stereoscopic, 0);
    EXPECT_EQ(shellState.MessageText, "STEREOSCOPIC MODE OFF");
}

} // namespace
