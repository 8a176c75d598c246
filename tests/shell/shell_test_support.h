// Shared set-up of the shell tests: a clean shell state on a virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A fresh shell state, virtual clock at 1000 ms, no keys down, no joystick
// device (absent until ReadJoystickCaps), message boxes collected in `messages`.
class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<std::string> messages;
};
