#include "platform/message_box.h"

#include <cstdio>

namespace {
MessageBoxHandler& handler() {
    static MessageBoxHandler instance;
    return instance;
}
} // namespace

void SetMessageBoxHandler(MessageBoxHandler h) {
    handler() = std::move(h);
}

void ShowMessageBox(const std::string& text) {
    if (handler()) {
        handler()(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}
