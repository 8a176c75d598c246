// What the shell's logic asks of the main window. The window installs its
// services when it is created; without one (tests, tools) they do nothing
// and the client area counts as 320 x 240. This is the shell's only door to
// the window system, so that its logic builds and runs without it.
#pragma once

#include <string>

struct FrameBuffer;

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
    // Saves the last presented picture, or what the window shows before the
    // first, as PNG; false when it cannot be written.
    virtual bool SaveScreenshot(const std::string& pngPath) = 0;
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
bool SaveScreenshot(const std::string& pngPath);
