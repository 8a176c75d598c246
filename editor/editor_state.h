// The editor's own state beside the level held in the world: the selector and
// its camera, the current object, the preview, the file being edited with its
// modified flag and history, and the services of the window (prompts,
// messages, file dialogs) that the commands ask through.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/clipboard.h"
#include "editor/edit_history.h"
#include "editor/region_select.h"

struct SelectorPose {
    float x = 0, y = 0, z = 0;
    float heading = 0; // angle units, never wrapped
};

struct CellPosition {
    int x = 0, y = 0, z = 0;
    bool operator==(const CellPosition&) const = default;
};

struct EditorState {
    SelectorPose target, shown;
    float pitchTarget = 0, pitch = 0;
    float distanceTarget = 512, distance = 512;
    float headingOffset = 16384;
    std::int32_t selectorLight = 5000;
    std::uint8_t currentObject = 0;
    std::int32_t previewYaw = 0, previewPitch = 0;
    std::int32_t previewDistance = 1024;
    std::string detail = "High"; // texturing
    bool stretching = true;
    int viewDistance = 8; // cells drawn on each side of the camera; 0: the whole level

    std::uint32_t newLevelSeeds = 0; // the sequence New draws its seeds from

    std::string fileName; // empty until loaded or saved
    // The editor's settings file (the Recent files) and autosave folder;
    // nothing is kept while they are empty (the tests, unless they set them).
    std::string settingsFile, autosaveFolder;
    std::vector<std::string> recentFiles; // newest first
    std::int64_t autosaveChangedMs = 0;   // modified time since the last autosave
    std::string autosaveWritten;          // this editor's autosave on disk, or empty
    int autosaves = 0;                    // written this session
    std::string autosaveRestored;         // the leftover restored at start, or empty
    bool modified = false;
    EditHistory history;
    std::string lastMessage;
    std::vector<std::string> warnings; // of the last save

    // Test-play: the data folder the game is given, the game's program, and
    // the command line last started (for the state dump).
    std::string dataFolder, gameProgram;
    std::string lastLaunch;

    // Key state between frames: the page keys act once a press, and the
    // repeats of one held editing key make one undo step.
    bool pageUpHeld = false, pageDownHeld = false, testPlayHeld = false, testHereHeld = false;
    int editKeyLastFrame = 0, editKeyThisFrame = 0;

    // The region tools: the box being spanned, the clipboard, their keys.
    RegionSelection selection;
    Clipboard clipboard;
    RegionKeysHeld regionKeys;
};

extern EditorState editor;

enum class SaveAnswer { Yes, No, Cancel };

// What the commands need of the window. Unset services answer Cancel and
// show nothing, as a headless run with nothing queued does.
struct EditorServices {
    std::function<std::optional<std::string>(const std::string& caption, const std::string& prompt,
                                             const std::string& initial)>
        inputBox;
    std::function<void(const std::string& text)> messageBox;
    // A level file to open (forSave false) or to write.
    std::function<std::optional<std::string>(bool forSave)> fileDialog;
    std::function<SaveAnswer(const std::string& question)> askSaveChanges;
    // Any other question with the answers Yes, No and Cancel.
    std::function<SaveAnswer(const std::string& question)> askQuestion;
    // Returns when no key is held (or after a bounded wait).
    std::function<void()> waitForNoKeys;
    // Starts a program that runs on its own; false when it cannot start.
    std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>
        startProgram;
};

extern EditorServices editorServices;

// The prompts take a script's queued answer first (platform/script_answers.h):
// text or CANCEL for the input boxes (F ANSWER), "Yes", "No" or CANCEL for
// the "save changes?" question (its own queue, F SAVEANSWER) and for the
// other questions (F ANSWER). Nothing queued and no window: Cancel.
std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                   const std::string& initial);
// Records the text as the last message and shows it.
void ShowEditorMessage(const std::string& text);
std::optional<std::string> ChooseLevelFile(bool forSave);
SaveAnswer AskSaveChanges(const std::string& question);
SaveAnswer AskQuestion(const std::string& question);

CellPosition CellOfPose(const SelectorPose& pose);
CellPosition TargetCell();

// Target and shown position at the centre of a cell; the heading is kept.
void PlaceSelectorAt(const CellPosition& cell);

// The editor's state at start: selector, camera, current object, no file.
void ResetEditorState();
