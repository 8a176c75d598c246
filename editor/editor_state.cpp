#include "editor/editor_state.h"

#include "platform/script_answers.h"
#include "platform/text_case.h"

EditorState editor;
EditorServices editorServices;

std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                   const std::string& initial) {
    if (std::optional<QueuedAnswer> queued = TakeScriptAnswer(AnswerQueue::Prompt)) {
        if (queued->cancel) return std::nullopt;
        return std::move(queued->text);
    }
    if (!editorServices.inputBox) return std::nullopt;
    return editorServices.inputBox(caption, prompt, initial);
}

void ShowEditorMessage(const std::string& text) {
    editor.lastMessage = text;
    if (editorServices.messageBox) editorServices.messageBox(text);
}

std::optional<std::string> ChooseLevelFile(bool forSave) {
    if (std::optional<QueuedAnswer> queued = TakeScriptAnswer(AnswerQueue::File)) {
        if (queued->cancel) return std::nullopt;
        return std::move(queued->text);
    }
    if (!editorServices.fileDialog) return std::nullopt;
    return editorServices.fileDialog(forSave);
}

namespace {

// "Yes" and "No" in any case; anything else is Cancel.
SaveAnswer answerOf(const QueuedAnswer& queued) {
    if (queued.cancel) return SaveAnswer::Cancel;
    if (EqualNoCase(queued.text, "Yes")) return SaveAnswer::Yes;
    if (EqualNoCase(queued.text, "No")) return SaveAnswer::No;
    return SaveAnswer::Cancel;
}

} // namespace

SaveAnswer AskSaveChanges(const std::string& question) {
    if (const std::optional<QueuedAnswer> queued = TakeScriptAnswer(AnswerQueue::SaveChanges))
        return answerOf(*queued);
    if (!editorServices.askSaveChanges) return SaveAnswer::Cancel;
    return editorServices.askSaveChanges(question);
}

SaveAnswer AskQuestion(const std::string& question) {
    if (const std::optional<QueuedAnswer> queued = TakeScriptAnswer(AnswerQueue::Prompt))
        return answerOf(*queued);
    if (!editorServices.askQuestion) return SaveAnswer::Cancel;
    return editorServices.askQuestion(question);
}

CellPosition CellOfPose(const SelectorPose& pose) {
    return {CellOf(pose.x), CellOf(pose.y), CellOf(pose.z)};
}

CellPosition TargetCell() {
    return CellOfPose(editor.target);
}

void PlaceSelectorAt(const CellPosition& cell) {
    const auto centre = [](int c) { return static_cast<float>(std::int64_t{c} * worldUnit + 256); };
    editor.target.x = editor.shown.x = centre(cell.x);
    editor.target.y = editor.shown.y = centre(cell.y);
    editor.target.z = editor.shown.z = centre(cell.z);
}

void ResetEditorState() {
    editor = EditorState{};
}
