#include <gtest/gtest.h>

#include "platform/automation.h"
#include "platform/joystick.h"
#include "platform/script_joystick.h"
#include "support/test_support.h"

namespace {

std::string scriptError(const std::string& text) {
    std::string error;
    EXPECT_FALSE(ParseInputScript(text, error).has_value()) << text;
    return error;
}

TEST(InputScriptTest, RangesHoldKeysOnTheirFrames) {
    std::string error;
    const auto script = ParseInputScript("# walk, then jump\r\n"
                                         "1-3 up\n"
                                         "\n"
                                         "  3   SPACE  f7\n",
                                         error);
    ASSERT_TRUE(script) << error;
    ASSERT_EQ(script->entries.size(), 2u);
    EXPECT_TRUE(ScriptKeysForFrame(*script, 1).test(kVkUp));
    EXPECT_EQ(ScriptKeysForFrame(*script, 2).count(), 1u);
    const KeySet third = ScriptKeysForFrame(*script, 3);
    EXPECT_TRUE(third.test(kVkUp) && third.test(kVkSpace) && third.test(kVkF7));
    EXPECT_TRUE(ScriptKeysForFrame(*script, 4).none());
    EXPECT_TRUE(ScriptKeysForFrame(*script, 0).none());
}

TEST(InputScriptTest, ErrorsNameTheLine) {
    EXPECT_EQ(scriptError("1 UP\n2 JUMP\n"),
              "script line 2: unknown key 'JUMP' (keys: UP DOWN LEFT RIGHT SPACE CTRL SHIFT ESC "
              "F1..F12 ADD SUBTRACT DELETE BACK PGUP PGDN PLUS MINUS A..Z; controller: PAD_UP "
              "PAD_DOWN PAD_LEFT PAD_RIGHT PAD_A PAD_B PAD_X PAD_Y PAD_START)");
    EXPECT_NE(scriptError("1 PAD_Z").find("unknown key 'PAD_Z'"), std::string::npos);
    EXPECT_EQ(scriptError("5-2 UP"), "script line 1: the range '5-2' ends before it starts");
    EXPECT_EQ(scriptError("\n\n7"), "script line 3: no keys after the frames");
    for (const char* bad : {"0 UP", "-3 UP", "1- UP", "x UP", "1-2-3 UP", "+1 UP", "1.5 UP",
                            "99999999999999999999 UP"}) {
        EXPECT_NE(scriptError(bad).find("is not a frame number"), std::string::npos) << bad;
    }
}

// Controller inputs sit on key lines beside keys and play the script's own
// joystick: a d-pad direction is a full deflection, the buttons are 1..4.
TEST(InputScriptTest, ControllerInputsPlayTheScriptsJoystick) {
    std::string error;
    const auto script = ParseInputScript("1-2 pad_up SPACE PAD_A\n2 PAD_LEFT PAD_START\n"
                                         "3 PAD_DOWN PAD_RIGHT PAD_B PAD_X PAD_Y\n",
                                         error);
    ASSERT_TRUE(script) << error;
    EXPECT_TRUE(ScriptUsesPad(*script));
    EXPECT_FALSE(ScriptUsesPad(*ParseInputScript("1 UP\n", error)));
    EXPECT_TRUE(ScriptKeysForFrame(*script, 2).test(kVkSpace));
    EXPECT_EQ(ScriptKeysForFrame(*script, 3).count(), 0u);
    EXPECT_EQ(ScriptPadForFrame(*script, 0), 0u);

    UseScriptJoystick();
    struct Case {
        std::int64_t frame;
        std::uint32_t x, y, buttons;
        bool start;
    };
    for (const Case& c : {Case{1, 32768, 0, 1, false}, Case{2, 0, 0, 1, true},
                          Case{3, 65535, 65535, 14, false}, Case{4, 32768, 32768, 0, false}}) {
        HoldScriptPad(ScriptPadForFrame(*script, c.frame));
        const auto p = ReadJoystickPosition();
        ASSERT_TRUE(p);
        EXPECT_EQ(p->x, c.x) << c.frame;
        EXPECT_EQ(p->y, c.y) << c.frame;
        EXPECT_EQ(p->buttons, c.buttons) << c.frame;
        EXPECT_EQ(p->start, c.start) << c.frame;
    }
    const auto caps = ReadJoystickDeviceCaps();
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->maxX, 65535u);
    InstallJoystickDevice(nullptr);
}

AutomationParse parse(std::vector<std::string> args) {
    return ParseAutomationOptions(args);
}

TEST(AutomationOptionsTest, ReadsEveryOption) {
    TempDir dir;
    const std::string script = dir.write("run.txt", "1 ESC\n");
    const AutomationParse p =
        parse({"/NETWORK", "--data", "d", "--headless", "--frames", "3", "--frame-ms", "0",
               "--seed", "4294967295", "--script", script, "--screenshot", "a.PNG", "--dump-state",
               "s.txt", "--record-audio", "o.wav"});
    ASSERT_EQ(p.error, "");
    const AutomationOptions& o = p.options;
    EXPECT_EQ(o.arguments.front(), "/NETWORK");
    EXPECT_EQ(o.dataFolder, "d");
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.frames, 3);
    EXPECT_EQ(o.frameMs, 0);
    EXPECT_EQ(o.seed, 4294967295u);
    ASSERT_EQ(o.script.entries.size(), 1u);
    // Output files are kept absolute: the game changes its folder later.
    EXPECT_TRUE(std::filesystem::path(o.screenshotFile).is_absolute());
    EXPECT_TRUE(std::filesystem::path(o.dumpStateFile).is_absolute());
    EXPECT_TRUE(std::filesystem::path(o.recordAudioFile).is_absolute());
}

TEST(AutomationOptionsTest, BadValuesAreErrors) {
    EXPECT_EQ(parse({"--frames", "abc"}).error,
              "--frames needs a whole number of 0 or more, not 'abc'");
    EXPECT_NE(parse({"--frames", "-1"}).error, "");
    EXPECT_NE(parse({"--frame-ms", "12ms"}).error, "");
    EXPECT_NE(parse({"--seed", "4294967296"}).error, "");
    EXPECT_EQ(parse({"--frames"}).error, "--frames needs a value");
    EXPECT_EQ(parse({"--data", ""}).error, "--data needs a value");
    EXPECT_EQ(parse({"--fullscreen"}).error, "unknown option '--fullscreen'");
    EXPECT_NE(parse({"--screenshot", "shot.bmp"}).error, "");
    EXPECT_NE(parse({"--script", "/no/such/script.txt"}).error.find("cannot read the script"),
              std::string::npos);
    TempDir dir;
    const std::string script = dir.write("bad.txt", "1 UP\n2-1 UP\n");
    EXPECT_EQ(parse({"--script", script}).error,
              script + ": script line 2: the range '2-1' ends before it starts");
    // A script far larger than any real one is refused unread.
    const std::string huge = dir.write("huge.txt", "1 UP\n");
    ExtendSparse(huge, (16u << 20) + 1);
    const std::uint64_t before = BytesReadSoFar();
    EXPECT_EQ(parse({"--script", huge}).error, "the script '" + huge + "' is larger than 16 MiB");
    EXPECT_LT(BytesReadSoFar() - before, 4096u);
}

TEST(AutomationOptionsTest, DataFolderSearchOrder) {
    TempDir dir;
    const auto bin = dir.path() / "prefix" / "bin";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(dir.path() / "prefix" / "share" / "kelvane");
    std::string error;
    AutomationOptions options;
    EXPECT_EQ(FindDataFolder(options, bin, error), dir.path() / "prefix" / "share" / "kelvane");
    std::filesystem::create_directories(bin / "data");
    EXPECT_EQ(FindDataFolder(options, bin, error), bin / "data");
    options.dataFolder = (dir.path() / "prefix").string();
    EXPECT_EQ(FindDataFolder(options, bin, error), dir.path() / "prefix");
    options.dataFolder = (dir.path() / "missing").string();
    EXPECT_EQ(FindDataFolder(options, bin, error), std::nullopt);
    EXPECT_NE(error.find("does not exist"), std::string::npos);
}

} // namespace

TEST(InputScriptTest, FormCommandsKeepTheirTextAndOrder) {
    std::string error;
    const auto script = ParseInputScript("4 F SELECT ObjectCombo  Red bricks \n"
                                         "4 F ANSWER 5\n"
                                         "4 F ANSWER\n"
                                         "4 F FILE CANCEL\n"
                                         "6 F MOUSE -3 40 RIGHT LEFT\n"
                                         "6 F MENU New1\n"
                                         "6 F SAVEANSWER CANCEL\n"
                                         "7 F A\n",
                                         error);
    ASSERT_TRUE(script) << error;
    // "F" before keys is still the key F.
    ASSERT_EQ(script->entries.size(), 1u);
    EXPECT_TRUE(ScriptKeysForFrame(*script, 7).test('F'));
    const std::vector<FormCommand> four = FormCommandsForFrame(*script, 4);
    ASSERT_EQ(four.size(), 4u);
    EXPECT_EQ(four[0].verb, FormVerb::Select);
    EXPECT_EQ(four[0].target, "ObjectCombo");
    EXPECT_EQ(four[0].text, "Red bricks");
    EXPECT_EQ(four[1].text, "5");
    // An empty answer is an answer (it ends a number prompt), not Cancel.
    EXPECT_FALSE(four[2].cancel);
    EXPECT_EQ(four[2].text, "");
    EXPECT_TRUE(four[3].cancel);
    const std::vector<FormCommand> six = FormCommandsForFrame(*script, 6);
    ASSERT_EQ(six.size(), 3u);
    EXPECT_EQ(six[0].x, -3);
    EXPECT_EQ(six[0].y, 40);
    EXPECT_TRUE(six[0].left && six[0].right);
    EXPECT_EQ(six[1].target, "New1");
    // The save question's answers are a verb of their own.
    EXPECT_EQ(six[2].verb, FormVerb::SaveAnswer);
    EXPECT_TRUE(six[2].cancel);
    EXPECT_TRUE(FormCommandsForFrame(*script, 5).empty());
}

TEST(InputScriptTest, MalformedFormCommandsNameTheLine) {
    EXPECT_EQ(scriptError("1-3 F MENU New1"),
              "script line 1: a form command runs on one frame, not '1-3'");
    EXPECT_EQ(scriptError("2 F MENU"), "script line 1: F MENU needs one object name");
    EXPECT_EQ(scriptError("2 F SELECT ObjectCombo"),
              "script line 1: F SELECT needs an object name and an item text");
    EXPECT_EQ(scriptError("2 F FILE"), "script line 1: F FILE needs a path or CANCEL");
    EXPECT_EQ(scriptError("2 F MOUSE 5"), "script line 1: F MOUSE needs the whole numbers X and Y");
    EXPECT_EQ(scriptError("2 F MOUSE 5 6 MIDDLE"),
              "script line 1: F MOUSE takes LEFT and RIGHT after X and Y, not 'MIDDLE'");
}
