// The texts of the editor's help pages: title and rich text of each page, and
// the buttons that open them.
#pragma once

struct HelpPage {
    const char* title;
    const char* text; // rich text
};

constexpr int kHelpPageCount = 9;
extern const HelpPage kHelpPages[kHelpPageCount];

struct HelpButton {
    const char* name;
    const char* caption;
    int top;
    int page;
};

extern const HelpButton kHelpButtons[kHelpPageCount];
