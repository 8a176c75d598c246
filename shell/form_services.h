// What the shell's logic asks of the main window. The window installs its
// services when it is created; without one (tests, tools) they do nothing
// and the client area counts as 320 x 240. This is the shell's only door to
// the window system, so that its logic builds and runs without it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct FrameBuffer;
struct VideoPicture;

// A window's place: outer top-left corner and client size, in screen pixels.
// Also a screen's available area.
struct WindowPlace {
    int left = 100;
    int top = 100;
    int width = 320;
    int height = 240;
};

class FormServices {
  public:
    virtual ~FormServices() = default;
    // Frame step while the game loads: black client area with "LOADING PLEASE WAIT".
    virtual void ShowLoadingScreen() = 0;
    virtual void SetCommPanelVisible(bool visible) = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Lets the window deliver pending input (used while waiting for keys).
    virtual void ProcessPendingEvents() = 0;
    // Stops the game loop and leaves the event loop with `exitCode`.
    virtual void EndProgram(int exitCode) = 0;
    // Shows the frame (with the stereo picture merged in when given).
    virtual void Present(const FrameBuffer& buffer, const FrameBuffer* stereo) = 0;

    // Covers the screen with the window; false, after "DirectDraw Error" has
    // been shown, when it cannot. Entering again first leaves.
    virtual bool EnterFullScreen() = 0;
    virtual void LeaveFullScreen() = 0;
    // Moves and sizes the window (in full screen, the place it returns to).
    virtual void PlaceWindow(const WindowPlace& place) = 0;
    // The window's place, or in full screen the one it had before.
    virtual WindowPlace WindowedPlace() const = 0;
    // The available area of every screen (without task bars and docks), the
    // primary screen first.
    virtual std::vector<WindowPlace> ScreenAreas() const = 0;
    // Device pixels per logical pixel on the primary screen.
    virtual double PixelRatio() const { return 1.0; }
    // Shows the picture at whole multiples of its size only.
    virtual void SetIntegerScaling(bool on) = 0;

    // Shows a video clip's picture over the client area, in place of the frame.
    virtual void PresentVideo(const VideoPicture&) {}
    // The window's number for the command strings that name it.
    virtual std::uint64_t WindowHandle() const { return 0; }
    // The picture the window shows now as a PNG file's bytes; none when
    // there is no picture.
    virtual std::vector<std::uint8_t> PictureAsPng() { return {}; }
    // An input box with `caption`, `prompt` and a pre-filled answer; nullopt
    // when cancelled. A window that must not block (headless) cancels.
    virtual std::optional<std::string>
    AskText(const std::string& caption, const std::string& prompt, const std::string& prefilled) {
        (void)caption;
        (void)prompt;
        (void)prefilled;
        return std::nullopt;
    }
    // The same box where the answer may also be picked from `choices` (not
    // empty), the first of them pre-filled.
    virtual std::optional<std::string> AskTextOrChoice(const std::string& caption,
                                                       const std::string& prompt,
                                                       const std::vector<std::string>& choices) {
        return AskText(caption, prompt, choices.front());
    }
    // Whether a dialog (an input box, a message box) is open over the window.
    virtual bool DialogOpen() const { return false; }
};

// The window's services from now on; null removes them.
void InstallFormServices(FormServices* services);

// The installed services' operations, or their stand-ins without a window.
void ShowLoadingScreen();
void SetCommPanelVisible(bool visible);
int FormClientWidth();
int FormClientHeight();
void ProcessPendingEvents();
// Ends the program with `exitCode` once control returns to the event loop:
// the game loop stops at once.
void RequestProgramEnd(int exitCode);
void PresentPicture(const FrameBuffer& buffer, const FrameBuffer* stereo);
// Without a window, full screen is only the display's state: entering always
// succeeds and the place is only remembered.
bool EnterFormFullScreen();
void LeaveFormFullScreen();
void PlaceForm(const WindowPlace& place);
WindowPlace FormWindowedPlace();
std::vector<WindowPlace> FormScreenAreas(); // none without a window
double FormPixelRatio();                    // 1 without a window
void SetFormIntegerScaling(bool on);
void PresentVideoPicture(const VideoPicture& picture);
std::uint64_t FormWindowHandle();             // 0 without a window
std::vector<std::uint8_t> FormPictureAsPng(); // none without a window
// An input box: a script's queued answer when there is one (its CANCEL
// gives nullopt), else the window's box, else (no window) nullopt.
// With `choices`, the answer may be picked from them and the first is the
// pre-filled answer (`prefilled` is then not used).
std::optional<std::string> FormAskText(const std::string& caption, const std::string& prompt,
                                       const std::string& prefilled,
                                       const std::vector<std::string>& choices = {});

// The last input box asked for (answered by a script or not), for the state dump.
struct AskedPrompt {
    std::string caption;
    std::string prefilled;
    std::vector<std::string> choices;
};
const AskedPrompt& LastAskedPrompt();
bool FormDialogOpen(); // false without a window
