#include "editor/editor_state.h"

#include "platform/script_answers.h"

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

SaveAnswer AskSaveChanges(const std::string& question) {
    if (const std::optional<QueuedAnswer> queued = TakeScriptAnswer(AnswerQueue::Prompt)) {
        if (queued->cancel) return SaveAnswer::Cancel;
        if (queued->text == "Yes") return SaveAnswer::Yes;
        if (queued->text == "No") return SaveAnswer::No;
        return SaveAnswer::Cancel;
    }
    if (!editorServices.askSaveChanges) return SaveAnswer::Cancel;
    return editorServices.askSaveChanges(question);
}

CellPosition CellOfPose(const SelectorPose& pose) {
    return {CellOf(pose.x), CellOf(pose.y), CellOf(pose.z)};
}

CellPosition TargetCell() {
    return CellOfPose(editor.target);
}

CellPosition ShownCell() {
    return CellOfPose(editor.shown);
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
