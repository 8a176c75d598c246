#include "editor_test_support.h"

#include "editor/level_commands.h"
#include "formats/definitions.h"
#include "world/world.h"

void EditorTest::SetUp() {
    ClearWorldTables();
    ForgetDefinitions();
    ResetEditorState();
    editorServices.inputBox = [this](const std::string&, const std::string& prompt,
                                     const std::string&) -> std::optional<std::string> {
        prompts.push_back(prompt);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    };
    editorServices.messageBox = [this](const std::string& text) { messages.push_back(text); };
    editorServices.fileDialog = [this](bool) -> std::optional<std::string> {
        if (files.empty()) return std::nullopt;
        auto file = files.front();
        files.pop_front();
        return file;
    };
    editorServices.askSaveChanges = [this](const std::string& question) {
        questions.push_back(question);
        if (saveAnswers.empty()) return SaveAnswer::Cancel;
        const SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    };
    editorServices.askQuestion = editorServices.askSaveChanges;
    // Every type but 0 defined, so that the checks see solid cells.
    for (ObjectType& type : objectTypes) type.undefined = 0;
    objectTypes[0].undefined = 1;
    StartEditorLevel();
}

void EditorTest::TearDown() {
    editorServices = EditorServices{};
}

void EditorTest::Answer(std::initializer_list<std::optional<std::string>> list) {
    answers.insert(answers.end(), list.begin(), list.end());
}
