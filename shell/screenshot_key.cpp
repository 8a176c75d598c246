#include "shell/screenshot_key.h"

#include <cstdio>
#include <filesystem>

#include "platform/files.h"
#include "platform/user_data.h"
#include "shell/form_services.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMaxSameSecond = 100;

void failed(const std::string& why) {
    std::fprintf(stderr, "screenshot: %s\n", why.c_str());
    ShowStatusMessage("SCREENSHOT FAILED");
}

} // namespace

std::string ScreenshotFolder() {
    const std::string pictures = UserFolder("XDG_PICTURES_DIR", "Pictures");
    return pictures.empty() ? "" : (fs::path(pictures) / "Kelvane").string();
}

std::string ScreenshotName(std::time_t when) {
    std::tm local{};
    if (!localtime_r(&when, &local)) return "kelvane.png";
    char text[64];
    if (std::strftime(text, sizeof text, "kelvane-%Y%m%d-%H%M%S.png", &local) == 0)
        return "kelvane.png";
    return text;
}

std::string SaveScreenshot() {
    const std::string folder = ScreenshotFolder();
    if (folder.empty()) {
        failed("neither XDG_PICTURES_DIR nor HOME names a folder");
        return "";
    }
    const std::vector<std::uint8_t> png = FormPictureAsPng();
    if (png.empty()) {
        failed("no picture to save");
        return "";
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::string name = ScreenshotName(std::time(nullptr));
    const std::string stem = name.substr(0, name.size() - 4);
    std::string file = (fs::path(folder) / name).string();
    for (int n = 2; fs::exists(file, ec) && n <= kMaxSameSecond; ++n)
        file = (fs::path(folder) / (stem + "-" + std::to_string(n) + ".png")).string();
    if (fs::exists(file, ec) || !WriteWholeFile(file, png)) {
        failed("cannot write '" + file + "'");
        return "";
    }
    shellState.LastScreenshot = file;
    std::fprintf(stderr, "screenshot: %s\n", file.c_str());
    ShowStatusMessage("SCREENSHOT " + fs::path(file).filename().string());
    return file;
}
