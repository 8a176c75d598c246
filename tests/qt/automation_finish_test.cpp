// The files an automated run leaves at its end: whole, in place, and only
// those asked for.
#include "backends/qt/automation_finish.h"

#include <QImage>
#include <algorithm>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

QImage Picture() {
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(3, 2, qRgb(200, 0, 0));
    return picture;
}

std::vector<std::filesystem::path> Entries(const TempDir& dir) {
    std::vector<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FinishAutomationTest, WritesWholeFilesInPlaceOfOldOnes) {
    TempDir dir;
    AutomationOptions options;
    options.screenshotFile = dir.file("shot.png");
    options.dumpStateFile = dir.file("state.txt");
    // An older, longer dump is replaced, not written over in part.
    dir.write("state.txt", std::string(1000, 'x'));
    const bool ok = FinishAutomation(options, {Picture, [] { return std::string("frames=3\n"); }});
    EXPECT_TRUE(ok);
    const QImage saved(QString::fromStdString(options.screenshotFile));
    ASSERT_EQ(saved.size(), QSize(4, 3));
    EXPECT_EQ(saved.pixel(3, 2), qRgb(200, 0, 0));
    const std::vector<std::uint8_t> dump = ReadBytes(options.dumpStateFile);
    EXPECT_EQ(std::string(dump.begin(), dump.end()), "frames=3\n");
    // Nothing else is left beside them: no temporary file.
    EXPECT_EQ(Entries(dir), (std::vector<std::filesystem::path>{"shot.png", "state.txt"}));
}

TEST(FinishAutomationTest, AFileThatCannotBeWrittenFailsTheRunButNotTheOthers) {
    TempDir dir;
    AutomationOptions options;
    options.screenshotFile = dir.file("no/folder/shot.png");
    options.dumpStateFile = dir.file("state.txt");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(FinishAutomation(options, {Picture, [] { return std::string("a=1\n"); }}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "cannot write the screenshot '" + options.screenshotFile + "'\n");
    EXPECT_EQ(Entries(dir), (std::vector<std::filesystem::path>{"state.txt"}));

    // No picture to save is a failure too, and leaves no empty file behind.
    options.screenshotFile = dir.file("empty.png");
    options.dumpStateFile.clear();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(FinishAutomation(options, {[] { return QImage(); }, nullptr}));
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(std::filesystem::exists(options.screenshotFile));
}

TEST(FinishAutomationTest, NothingAskedForIsNeitherDrawnNorWritten) {
    TempDir dir;
    bool drawn = false, described = false;
    EXPECT_TRUE(FinishAutomation(AutomationOptions{}, {[&] {
                                                           drawn = true;
                                                           return Picture();
                                                       },
                                                       [&] {
                                                           described = true;
                                                           return std::string();
                                                       }}));
    EXPECT_FALSE(drawn || described);
}

} // namespace
