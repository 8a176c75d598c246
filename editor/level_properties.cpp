#include "editor/level_properties.h"

#include <sstream>
#include <vector>

#include "editor/edit_history.h"
#include "editor/editor_state.h"
#include "editor/level_commands.h"
#include "editor/number_answer.h"
#include "platform/script_answers.h"
#include "platform/text_case.h"
#include "world/world.h"

std::function<std::optional<std::string>(const LevelProperties& current)> levelPropertiesDialog;

std::optional<LevelProperties> ParseLevelPropertiesAnswer(const std::string& text,
                                                          const LevelProperties& current,
                                                          std::string& error) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    LevelProperties result = current;
    if (words.empty() || words.size() > 2) {
        error = "Answer Outdoor or Indoor, and the random seed if it changes.";
        return std::nullopt;
    }
    if (EqualNoCase(words[0], "Outdoor")) {
        result.outside = true;
    } else if (EqualNoCase(words[0], "Indoor")) {
        result.outside = false;
    } else {
        error = "The level is Outdoor or Indoor, not \"" + words[0] + "\".";
        return std::nullopt;
    }
    if (words.size() == 2) {
        const NumberAnswer seed = ParseNumberAnswer(words[1]);
        switch (seed.kind) {
        case NumberKind::Empty:
            break;
        case NumberKind::NotNumber:
            error = "You must enter a positive number.";
            return std::nullopt;
        case NumberKind::TooLarge:
            error = TooLargeNumberText(words[1]);
            return std::nullopt;
        case NumberKind::Value:
            result.seed = seed.value;
            break;
        }
    }
    return result;
}

std::string LevelPropertiesAnswerText(const LevelProperties& properties) {
    return std::string(properties.outside ? "Outdoor " : "Indoor ") +
           std::to_string(properties.seed);
}

LevelProperties CurrentLevelProperties() {
    return {levelState.outside != 0, levelState.randomSeed};
}

void SetLevelProperties(const LevelProperties& properties) {
    EditStep step;
    step.metaBefore = CaptureLevelMeta();
    LevelMeta after = *step.metaBefore;
    after.state.outside = properties.outside ? 1 : 0;
    after.state.randomSeed = properties.seed;
    if (after == *step.metaBefore) return;
    ApplyLevelMeta(after); // starts the sentries again from the new seed
    step.metaAfter = CaptureLevelMeta();
    RecordStep(editor.history, std::move(step), false);
    editor.modified = !HistoryAtSavedState(editor.history);
}

void LevelPropertiesCommand() {
    const LevelProperties current = CurrentLevelProperties();
    std::optional<std::string> answer;
    if (std::optional<QueuedAnswer> queued = TakeScriptAnswer(AnswerQueue::Prompt)) {
        if (queued->cancel) return;
        answer = std::move(queued->text);
    } else if (levelPropertiesDialog) {
        answer = levelPropertiesDialog(current);
    }
    if (!answer) return;
    std::string error;
    const std::optional<LevelProperties> wanted =
        ParseLevelPropertiesAnswer(*answer, current, error);
    if (!wanted) {
        ShowEditorMessage(error);
        return;
    }
    SetLevelProperties(*wanted);
}

void NewLevelOfKindCommand(bool outside) {
    // The history starts afresh with the new level, so the kind is part of
    // the level as made rather than a step of its own.
    if (NewLevelCommand()) levelState.outside = outside ? 1 : 0;
}
