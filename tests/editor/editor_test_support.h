// A fixture for the editor's commands: a clean world and editor state, and
// window services that answer from queues and record what they were asked.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/editor_state.h"

class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Answers for the next input boxes; nullopt is Cancel.
    void Answer(std::initializer_list<std::optional<std::string>> answers);

    std::deque<std::optional<std::string>> answers;
    std::deque<std::optional<std::string>> files;
    std::deque<SaveAnswer> saveAnswers;
    std::vector<std::string> prompts;  // prompt lines asked
    std::vector<std::string> messages; // message boxes shown
    std::vector<std::string> questions;
};
