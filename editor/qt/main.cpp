// The editor's entry point: the automation options the game takes, the data
// folder, then the application with its one main form. With --frames the
// frames run back to back (on the virtual clock with --frame-ms), the input
// script holding its keys, and the screenshot is taken at the end.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/ffmpeg/ffmpeg_media.h"
#include "backends/fluidsynth/fluid_midi.h"
#include "backends/openmpt/openmpt_module.h"
#include "backends/qt/qt_platform.h"
#include "backends/sdl/sdl_audio.h"
#include "editor/editor_music.h"
#include "editor/editor_state.h"
#include "editor/level_commands.h"
#include "editor/qt/editor_form.h"
#include "editor/qt/form_script.h"
#include "editor/test_play.h"
#include "media/audio_capture.h"
#include "media/display.h"
#include "media/music_decoders.h"
#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "world/random_clock.h"
#include "world/world.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const AutomationParse parse = ParseAutomationOptions(arguments);
    if (parse.helpRequested) {
        std::fputs(AutomationUsage("kelvedit").c_str(), stdout);
        return 0;
    }
    if (!parse.error.empty()) {
        std::fprintf(stderr, "kelvedit: %s\n%s", parse.error.c_str(),
                     AutomationUsage("kelvedit").c_str());
        return kBadCommandLineExitCode;
    }
    const AutomationOptions& options = parse.options;
    std::string error;
    const auto dataFolder = FindDataFolder(options, ExecutableFolder(argv[0]), error);
    if (!dataFolder) {
        std::fprintf(stderr, "kelvedit: %s\n", error.c_str());
        return kBadCommandLineExitCode;
    }
    // The level to open: --level FILE, or the file a launcher passes first;
    // made absolute before the editor moves into its data folder.
    const std::string startLevel =
        options.levelFile.empty() ? LevelFileArgument(arguments) : options.levelFile;
    std::error_code ec;
    std::filesystem::current_path(*dataFolder, ec);
    if (ec) {
        std::fprintf(stderr, "kelvedit: cannot enter the data folder '%s': %s\n",
                     dataFolder->c_str(), ec.message().c_str());
        return kBadCommandLineExitCode;
    }
    FixClockSeed(options.seed);
    // Test-play gives the game the same data, by a path that does not depend
    // on the folder the game is started in.
    editor.dataFolder = std::filesystem::absolute(*dataFolder).string();
    editor.gameProgram = (ExecutableFolder(argv[0]) / "kelvane").string();
    if (options.frameMs) UseVirtualClock(0);
    DisplayStartup();
    ClearWorldTables();
    // As the game: headless runs use no real device, and play music silently.
    if (!options.headless) InstallSdlAudio();
    InstallMusicDecoders({OpenMptModule, FluidMidi, FfmpegAudioFile, FfmpegVideo});
    const bool recording = !options.recordAudioFile.empty();
    StartEditorSound(recording);

    if (!PrepareQtPlatform(options.headless, error)) {
        std::fprintf(stderr, "kelvedit: %s\n", error.c_str());
        StopEditorSound();
        StopSdlAudio();
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Level editor"));
    InstallQtMessageBox("Level Editor");

    TEditorForm form;
    form.show();
    form.activateWindow();
    const auto stopSound = [] {
        StopEditorSound();
        StopSdlAudio();
    };
    if (!form.Activate()) {
        stopSound();
        return 0;
    }
    if (!startLevel.empty()) form.OpenLevel(startLevel);
    int code = 0;
    if (options.frames) {
        form.GameLoop->stop();
        KeySet held;
        for (std::int64_t frame = 1; frame <= *options.frames && form.isVisible(); ++frame) {
            if (options.frameMs) AdvanceVirtualClock(*options.frameMs);
            FeedScriptKeys(options.script, frame, held);
            for (const FormCommand& command : FormCommandsForFrame(options.script, frame)) {
                std::string commandError;
                if (!RunFormCommand(form, command, commandError)) {
                    std::fprintf(stderr, "kelvedit: script frame %lld: %s\n",
                                 static_cast<long long>(frame), commandError.c_str());
                    code = 1;
                }
            }
            if (!form.isVisible()) break; // Quit
            form.FrameStep();
            if (recording) CaptureAudioFrame();
            QCoreApplication::processEvents();
        }
    } else {
        if (recording)
            QObject::connect(form.GameLoop, &QTimer::timeout, [] { CaptureAudioFrame(); });
        code = app.exec();
    }
    // The dump shows the editor as its last frame left it.
    if (!options.dumpStateFile.empty()) {
        const std::string dump = form.DescribeState();
        if (!WriteWholeFile(options.dumpStateFile,
                            std::vector<std::uint8_t>(dump.begin(), dump.end()))) {
            std::fprintf(stderr, "cannot write the state dump '%s'\n",
                         options.dumpStateFile.c_str());
            code = 1;
        }
    }
    if (!options.screenshotFile.empty() &&
        !form.Picture().save(QString::fromStdString(options.screenshotFile), "PNG")) {
        std::fprintf(stderr, "cannot write the screenshot '%s'\n", options.screenshotFile.c_str());
        code = 1;
    }
    if (recording && !WriteAudioCapture(options.recordAudioFile)) {
        std::fprintf(stderr, "cannot write the audio capture '%s'\n",
                     options.recordAudioFile.c_str());
        code = 1;
    }
    stopSound();
    ForgetTestPlayFile();
    return code;
}
