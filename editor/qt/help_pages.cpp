#include "editor/qt/help_pages.h"

// Buttons with captions are drawn as framed captions, as they stand on the panel.
#define ICON(caption)                                                                              \
    "<span style='border:1px solid #808080; background:#404040'>&nbsp;" caption "&nbsp;</span>"
// The panel's picture icons, by object name; the help window supplies the pictures.
#define PICTURE(name) "<img src='" HELP_ICON_SCHEME ":" name "' align='middle'>"

const HelpButton kHelpButtons[kHelpPageCount] = {
    {"Menu1", "Introduction", 94, 0},       {"Menu2", "General concepts", 114, 1},
    {"Menu3", "Building", 134, 2},          {"Menu4", "Start and Exit points", 154, 3},
    {"Menu5", "Adding some music", 174, 4}, {"Menu8", "Playing levels", 194, 7},
    {"Menu9", "Defining sentries", 214, 8}, {"Menu6", "Tips", 234, 5},
    {"Menu7", "Contact", 254, 6},
};

const HelpPage kHelpPages[kHelpPageCount] = {
    {"INTRODUCTION",
     "<p>This editor builds levels for Kelvane. Everything the game shows in a level, its walls, "
     "ingots, doors, lights, music and sentries, is placed here cell by cell.</p>"
     "<p>Choose a subject with the buttons at the left to read about it.</p>"
     "<p>Kelvane and its level editor are free: you may copy, share and change them, and the "
     "levels you make are yours.</p>"},
    {"GENERAL CONCEPTS",
     "<p>A level is a three-dimensional map of cells, all of the same size. Each cell holds one "
     "building object: a wall, an ingot, a door, a lever, or nothing at all.</p>"
     "<p>The size of the map in cells along X, Y and Z is chosen before building; Tools, "
     "Resize level adds or removes cells on any side later.</p>"
     "<p>Besides its cells, a level needs a start point, where the player appears, an exit "
     "point, which takes the player on to the next level, and a number of flying sentries.</p>"
     "<table border='1' cellpadding='6'><tr><td>Before building a level, you MUST define its "
     "dimensions (File-&gt;New)</td></tr></table>"},
    {"BUILDING",
     "<p>You build in 3D. The selector, a white frame, marks the cell you work on; the view "
     "follows it.</p>"
     "<p>The command panel at the right moves the selector forward, back and sideways, turns "
     "it, raises and lowers it, zooms the view and tilts it from above or below. Other icons "
     "put the current object in the selected cell, delete it, and make the cell brighter or "
     "darker.</p>"
     "<p>The list of building objects is at the lower right; the object chosen there turns "
     "beside it and is the one the Put icon and the Space key place. The Tools menu fills or "
     "clears a whole plane through the selector at once, and Edit undoes and redoes every "
     "change.</p>"
     "<p>Hold Shift while you move the selector to span a box (drawn in orange) from where "
     "you started, or drag with the left button over the view; Esc or a move without Shift drops "
     "it. Space fills the box and Delete "
     "clears it. Ctrl+C and Ctrl+X copy and cut it, sentries and music cells included, and "
     "Ctrl+V pastes it with its corner at the selector. R turns what you copied a quarter "
     "turn (Shift+R the other way), M mirrors it (Shift+M along the other axis): ladders and "
     "ramps turn with it.</p>"},
    {"START AND EXIT POINTS",
     "<p>A playable level needs a start point and an exit point. Each can be placed on any "
     "cell.</p>"
     "<p>" PICTURE("I_Start") " (key D) puts the start point in the selected cell, facing the way "
                              "the selector faces. In the view it is a white marker.</p>"
                              "<p>" PICTURE(
                                  "I_Exit") " (key X) puts the exit point in the selected cell. In "
                                            "the view it is "
                                            "a yellow marker.</p>"
                                            "<p>Saving warns you when the exit is missing or the "
                                            "start stands inside a wall.</p>"},
    {"ADDING SOME MUSIC",
     "<p>Music cells start their music when the player passes through them. A level holds up "
     "to 256 of them.</p>"
     "<p>" PICTURE(
         "I_SFX") " (key S) makes the selected cell a music cell, shown in the view by a "
                  "cyan marker. While the selector stands on it, a list of the game's music "
                  "appears in "
                  "the panel: choose the piece for this cell there, and try it with " ICON(
                      "Play") " and " ICON("Stop") ".</p>"
                                                   "<p>Deleting the cell frees its music cell "
                                                   "again.</p>"},
    {"TIPS",
     "<p>The description and the author (Options menu) are shown to the player when the level "
     "begins.</p>"
     "<p>Options, Level makes the level outdoor, under the sky, or indoor, and sets its "
     "random seed.</p>"
     "<p>Every icon has a key; its hint names it.</p>"
     "<p>Test your levels often in the game: F9 (File, Test play) starts it on the "
     "level as it stands, without touching the file you edit.</p>"
     "<p>When the view is slow, try Options, Editor, Boost display; when that does not help, "
     "turn Stretching off.</p>"},
    {"CONTACT && SUPPORT",
     "<p>Questions, faults and levels you would like to share are welcome on the Kelvane "
     "project's issue tracker.</p>"
     "<p>When you report a fault, say what you did, what you expected and what happened, and "
     "join the level file when you can.</p>"},
    {"INTEGRATING LEVELS IN THE GAME",
     "<p>Save your levels into the game's \"Level\" folder; the editor's file dialogs open "
     "there.</p>"
     "<p>The game offers its levels in alphabetical order of their file names, so name them "
     "with a number, a dash and a description: 010-Gallery.lev, 020-Vault.lev.</p>"
     "<p>A level saved as \"000.lev\" comes before all others: a handy place for the level you "
     "are testing.</p>"},
    {"DEFINING SENTRIES OF THE LEVEL",
     "<p>Set the number of sentries in the Options menu, up to 255.</p>"
     "<p>To place a sentry, move the selector to its cell, choose its number in the list, and "
     "press " ICON("Set Pos.") ":</p>"
                               "<p>" ICON("NME #1 &#9662;") "&nbsp;" ICON(
                                   "Set Pos.") "</p>"
                                               "<p>The sentry starts there, facing away from the "
                                               "selector's heading.</p>"},
};
