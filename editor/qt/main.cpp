// The editor's entry point: the command line and the data folder (the start
// both programs share; the editor has no options of its own), then the
// application with its one main form. With --frames the frames run back to
// back (on the virtual clock with --frame-ms), the input script holding its
// keys, and the automation's files are written at the end.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "backends/ffmpeg/ffmpeg_media.h"
#include "backends/fluidsynth/fluid_midi.h"
#include "backends/openmpt/openmpt_module.h"
#include "backends/qt/automation_finish.h"
#include "backends/qt/qt_platform.h"
#include "backends/sdl/sdl_audio.h"
#include "editor/autosave.h"
#include "editor/editor_music.h"
#include "editor/editor_state.h"
#include "editor/level_commands.h"
#include "editor/qt/editor_form.h"
#include "editor/qt/form_script.h"
#include "editor/recent_files.h"
#include "editor/test_play.h"
#include "media/audio_capture.h"
#include "media/display.h"
#include "media/music_decoders.h"
#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/program_start.h"
#include "platform/user_data.h"
#include "world/random_clock.h"
#include "world/world.h"

int main(int argc, char** argv) {
    // The level a launcher passes first, made absolute before the editor
    // moves into its data folder.
    const std::string startLevel =
        LevelFileArgument(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    AutomationOptions options;
    std::filesystem::path dataFolder;
    CommandLine commandLine;
    AddSharedOptions(commandLine, options);
    if (const auto exit = StartProgram("kelvedit", commandLine, options, argc, argv, dataFolder))
        return *exit;
    FixClockSeed(options.seed);
    // Test-play gives the game the same data, by a path that does not depend
    // on the folder the game is started in.
    editor.dataFolder = std::filesystem::absolute(dataFolder).string();
    editor.gameProgram = (ExecutableFolder(argv[0]) / "kelvane").string();
    if (const std::string config = UserConfigFolder(); !config.empty())
        editor.settingsFile = (std::filesystem::path(config) / "kelvedit.ini").string();
    editor.recentFiles = ReadRecentFiles();
    editor.autosaveFolder = DefaultAutosaveFolder();
    if (options.frameMs) UseVirtualClock(0);
    DisplayStartup();
    ClearWorldTables();
    // As the game: headless runs use no real device, and play music silently.
    if (!options.headless) InstallSdlAudio();
    InstallMusicDecoders({OpenMptModule, FluidMidi, FfmpegAudioFile, FfmpegVideo});
    const bool recording = !options.recordAudioFile.empty();
    StartEditorSound(recording);

    const auto app = StartQtApplication({"kelvedit", "Level editor", nullptr, "Level Editor"},
                                        options.headless, argc, argv);
    if (!app) {
        StopEditorSound();
        StopSdlAudio();
        return 1;
    }

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
        code = app->exec();
    }
    // The dump shows the editor as its last frame left it.
    if (!FinishAutomation(options, {[&form] { return form.Picture(); },
                                    [&form] { return form.DescribeState(); }}))
        code = 1;
    // Ending normally is a clean exit: the autosave is not wanted any more.
    RemoveAutosave();
    stopSound();
    ForgetTestPlayFile();
    return code;
}
