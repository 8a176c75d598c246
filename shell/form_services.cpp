#include "shell/form_services.h"

#include "media/display.h"
#include "platform/script_answers.h"
#include "shell/shell_state.h"

namespace {

constexpr int kClientWidth = 320;
constexpr int kClientHeight = 240;

FormServices* installed = nullptr;
WindowPlace placeWithoutWindow;

} // namespace

void InstallFormServices(FormServices* services) {
    installed = services;
}

void ShowLoadingScreen() {
    if (installed) installed->ShowLoadingScreen();
}

void SetCommPanelVisible(bool visible) {
    if (installed) installed->SetCommPanelVisible(visible);
}

int FormClientWidth() {
    return installed ? installed->ClientWidth() : kClientWidth;
}

int FormClientHeight() {
    return installed ? installed->ClientHeight() : kClientHeight;
}

void ProcessPendingEvents() {
    if (installed) installed->ProcessPendingEvents();
}

void RequestProgramEnd(int exitCode) {
    if (!shellState.EndRequested) shellState.ExitCode = exitCode;
    shellState.EndRequested = true;
    if (installed) installed->EndProgram(shellState.ExitCode);
}

void PresentPicture(const FrameBuffer& buffer, const FrameBuffer* stereo) {
    if (installed) installed->Present(buffer, stereo);
}

bool EnterFormFullScreen() {
    if (installed) return installed->EnterFullScreen();
    windowMode = false;
    fullScreenActive = true;
    return true;
}

void LeaveFormFullScreen() {
    if (installed) {
        installed->LeaveFullScreen();
        return;
    }
    windowMode = true;
    fullScreenActive = false;
}

void PlaceForm(const WindowPlace& place) {
    if (installed)
        installed->PlaceWindow(place);
    else
        placeWithoutWindow = place;
}

WindowPlace FormWindowedPlace() {
    return installed ? installed->WindowedPlace() : placeWithoutWindow;
}

std::vector<WindowPlace> FormScreenAreas() {
    return installed ? installed->ScreenAreas() : std::vector<WindowPlace>{};
}

double FormPixelRatio() {
    return installed ? installed->PixelRatio() : 1.0;
}

void SetFormIntegerScaling(bool on) {
    if (installed) installed->SetIntegerScaling(on);
}

void PresentVideoPicture(const VideoPicture& picture) {
    if (installed) installed->PresentVideo(picture);
}

std::uint64_t FormWindowHandle() {
    return installed ? installed->WindowHandle() : 0;
}

std::vector<std::uint8_t> FormPictureAsPng() {
    return installed ? installed->PictureAsPng() : std::vector<std::uint8_t>{};
}

namespace {

AskedPrompt lastPrompt;

} // namespace

std::optional<std::string> FormAskText(const std::string& caption, const std::string& prompt,
                                       const std::string& prefilled,
                                       const std::vector<std::string>& choices) {
    lastPrompt = {caption, choices.empty() ? prefilled : choices.front(), choices};
    if (auto queued = TakeScriptAnswer(AnswerQueue::Prompt)) {
        if (queued->cancel) return std::nullopt;
        return queued->text;
    }
    if (!installed) return std::nullopt;
    if (choices.empty()) return installed->AskText(caption, prompt, prefilled);
    return installed->AskTextOrChoice(caption, prompt, choices);
}

const AskedPrompt& LastAskedPrompt() {
    return lastPrompt;
}

bool FormDialogOpen() {
    return installed && installed->DialogOpen();
}
