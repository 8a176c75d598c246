// Message boxes. The windowed programs install a handler that shows a real
// dialog; without one (headless runs, tools, tests) the text goes to stderr.
#pragma once

#include <functional>
#include <string>

using MessageBoxHandler = std::function<void(const std::string& text)>;

void SetMessageBoxHandler(MessageBoxHandler handler);
void ShowMessageBox(const std::string& text);
