// Shared set-up of the shell tests: a clean shell state on a virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/test_support.h"

// A fresh shell state, virtual clock at 1000 ms, no keys down, no joystick
// device (absent until ReadJoystickCaps), message boxes collected in `messages`, and
// XDG_CONFIG_HOME and XDG_DATA_HOME in fresh folders, so that no test reads or writes the
// user's own settings, replays or best times.
class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<std::string> messages;
    std::unique_ptr<TempDir> userConfig;
    std::unique_ptr<TempDir> userData;

  private:
    std::optional<std::string> savedConfigHome_;
    std::optional<std::string> savedDataHome_;
};

// As ShellTest, run in the built data set's folder (where the game runs)
// with no definitions loaded and no drawing.
class ShellDataTest : public ShellTest {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    std::optional<ScopedCurrentDir> inData_;
};
