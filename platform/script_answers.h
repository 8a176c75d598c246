// Answers a script queues for the prompts and file dialogs still to come, so
// that a run without a screen can fill in a form: each prompt takes the
// oldest answer of its own queue.
#pragma once

#include <optional>
#include <string>

struct QueuedAnswer {
    bool cancel = false;
    std::string text;
};

// Prompt: input boxes and questions; File: file dialogs; SaveChanges: the
// question before unsaved changes are dropped, kept apart so that it never
// takes an answer meant for the prompts of the command that follows it.
enum class AnswerQueue { Prompt, File, SaveChanges };

void QueueScriptAnswer(AnswerQueue queue, QueuedAnswer answer);
// The oldest queued answer, taken off its queue; nullopt when none is queued.
std::optional<QueuedAnswer> TakeScriptAnswer(AnswerQueue queue);
void ClearScriptAnswers();
