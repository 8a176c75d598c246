#include "platform/script_answers.h"

#include <deque>

namespace {
std::deque<QueuedAnswer> queues[3];

std::deque<QueuedAnswer>& queueOf(AnswerQueue queue) {
    return queues[static_cast<int>(queue)];
}
} // namespace

void QueueScriptAnswer(AnswerQueue queue, QueuedAnswer answer) {
    queueOf(queue).push_back(std::move(answer));
}

std::optional<QueuedAnswer> TakeScriptAnswer(AnswerQueue queue) {
    std::deque<QueuedAnswer>& q = queueOf(queue);
    if (q.empty()) return std::nullopt;
    QueuedAnswer answer = std::move(q.front());
    q.pop_front();
    return answer;
}

void ClearScriptAnswers() {
    for (auto& q : queues) q.clear();
}
