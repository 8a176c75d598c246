// kelvane-icons OUTDIR: writes both programs' icons as an icon theme's tree,
// OUTDIR/hicolor/<side>x<side>/apps/<name>.png and
// OUTDIR/hicolor/scalable/apps/<name>.svg.
#include <QImage>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/qt/app_icon.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

bool writeIcons(const fs::path& theme, AppIconKind kind) {
    const std::string name = AppIconName(kind);
    std::error_code ec;
    for (const int side : AppIconSizes()) {
        const fs::path folder =
            theme / (std::to_string(side) + "x" + std::to_string(side)) / "apps";
        fs::create_directories(folder, ec);
        const fs::path file = folder / (name + ".png");
        if (ec || !DrawAppIcon(kind, side).save(QString::fromStdString(file.string()), "PNG")) {
            std::fprintf(stderr, "kelvane-icons: cannot write %s\n", file.c_str());
            return false;
        }
    }
    const fs::path folder = theme / "scalable" / "apps";
    fs::create_directories(folder, ec);
    const fs::path file = folder / (name + ".svg");
    const std::string svg = AppIconSvg(kind);
    if (ec || !WriteWholeFile(file.string(), std::vector<std::uint8_t>(svg.begin(), svg.end()))) {
        std::fprintf(stderr, "kelvane-icons: cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvane-icons OUTDIR\n");
        return 2;
    }
    const fs::path theme = fs::path(argv[1]) / "hicolor";
    return writeIcons(theme, AppIconKind::Game) && writeIcons(theme, AppIconKind::Editor) ? 0 : 1;
}
