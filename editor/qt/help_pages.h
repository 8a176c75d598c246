// The texts of the editor's help pages: title and rich text of each page, and
// the buttons that open them.
#pragma once

struct HelpPage {
    const char* title;
    const char* text; // rich text
};

// A page's text shows a panel icon with <img src='icon:I_Start'>: the URL's
// scheme and the icon's object name.
#define HELP_ICON_SCHEME "icon"

constexpr int kHelpPageCount = 9;
extern const HelpPage kHelpPages[kHelpPageCount];

struct HelpButton {
    const char* name;
    const char* caption;
    int top;
    int page;
};

extern const HelpButton kHelpButtons[kHelpPageCount];
