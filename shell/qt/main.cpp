// The game's entry point: automation options, data folder, start-up of the
// shared modules, then the application with its one main form.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/ffmpeg/ffmpeg_media.h"
#include "backends/fluidsynth/fluid_midi.h"
#include "backends/openmpt/openmpt_module.h"
#include "backends/qt/qt_platform.h"
#include "backends/sdl/sdl_audio.h"
#include "backends/sdl/sdl_joystick.h"
#include "media/music_decoders.h"
#include "media/sound_output.h"
#include "platform/automation.h"
#include "shell/automation_run.h"
#include "shell/net_session.h"
#include "shell/qt/net_providers.h"
#include "shell/qt/screen_form.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const AutomationParse parse = ParseAutomationOptions(arguments);
    if (parse.helpRequested) {
        std::fputs(AutomationUsage("kelvane").c_str(), stdout);
        return 0;
    }
    if (!parse.error.empty()) {
        std::fprintf(stderr, "kelvane: %s\n%s", parse.error.c_str(),
                     AutomationUsage("kelvane").c_str());
        return kBadCommandLineExitCode;
    }
    const AutomationOptions& options = parse.options;

    std::string error;
    const auto dataFolder = FindDataFolder(options, ExecutableFolder(argv[0]), error);
    if (!dataFolder) {
        std::fprintf(stderr, "kelvane: %s\n", error.c_str());
        return kBadCommandLineExitCode;
    }
    std::error_code ec;
    std::filesystem::current_path(*dataFolder, ec);
    if (ec) {
        std::fprintf(stderr, "kelvane: cannot enter the data folder '%s': %s\n",
                     dataFolder->c_str(), ec.message().c_str());
        return kBadCommandLineExitCode;
    }

    ConfigureAutomation(options);
    shellState.CommandLine = arguments;
    // Before Qt, so that Qt's signal handling stays. Headless runs ignore real
    // devices, so that a script replays the same on every machine.
    if (!options.headless) {
        StartSdlJoystick();
        InstallSdlAudio();
    }
    // Headless runs play music too: a capture must hear it.
    InstallMusicDecoders({OpenMptModule, FluidMidi, FfmpegAudioFile, FfmpegVideo});
    StartUpSharedModules();

    if (!PrepareQtPlatform(options.headless, error)) {
        std::fprintf(stderr, "kelvane: %s\n", error.c_str());
        StopSdlAudio();
        StopSdlJoystick();
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelvane"));
    InstallQtMessageBox("Kelvane");

    // Before the form: a network start opens the lobby as the form is created.
    InstallNetProviders(GameNetProviders(options));
    TScreenForm form;
    form.show();
    form.activateWindow();
    const int exec = shellState.EndRequested ? shellState.ExitCode : app.exec();
    int code = shellState.EndRequested ? shellState.ExitCode : exec;
    // As in the editor: a script command that found nothing to act on fails the run.
    if (code == 0 && form.ScriptCommandFailed()) code = 1;
    FinishAutomation();
    CloseSoundOutput();
    StopSdlAudio();
    StopSdlJoystick();
    return code;
}
