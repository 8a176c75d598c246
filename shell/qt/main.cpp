// The game's entry point: the command line and the data folder (the start
// both programs share), the devices and the shared modules, then the
// application with its one main form, and the automation's files at the end.
#include <QApplication>
#include <filesystem>

#include "backends/ffmpeg/ffmpeg_media.h"
#include "backends/fluidsynth/fluid_midi.h"
#include "backends/openmpt/openmpt_module.h"
#include "backends/qt/automation_finish.h"
#include "backends/qt/qt_platform.h"
#include "backends/sdl/sdl_audio.h"
#include "backends/sdl/sdl_joystick.h"
#include "media/music_decoders.h"
#include "media/sound_output.h"
#include "platform/program_start.h"
#include "shell/automation_run.h"
#include "shell/control_bindings.h"
#include "shell/game_options.h"
#include "shell/net_session.h"
#include "shell/qt/net_providers.h"
#include "shell/qt/screen_form.h"
#include "shell/router_mapping.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "shell/state_dump.h"

int main(int argc, char** argv) {
    GameOptions options;
    std::filesystem::path dataFolder;
    const CommandLine commandLine = GameCommandLine(options);
    if (const auto exit = StartProgram("kelvane", commandLine, options, argc, argv, dataFolder))
        return *exit;

    ConfigureAutomation(options);
    shellState.CommandLine = options.arguments;
    // Before Qt, so that Qt's signal handling stays. Headless runs ignore real
    // devices, so that a script replays the same on every machine; so does a
    // window whose script plays the controller.
    if (!options.headless) {
        if (!ScriptUsesPad(options.script)) StartSdlJoystick(false, ControllerMappingPath());
        InstallSdlAudio();
    }
    // Headless runs play music too: a capture must hear it.
    InstallMusicDecoders({OpenMptModule, FluidMidi, FfmpegAudioFile, FfmpegVideo});
    StartUpSharedModules();

    const auto app = StartQtApplication({"kelvane", "Kelvane", "Kelvane", "Kelvane"},
                                        options.headless, argc, argv);
    if (!app) {
        StopSdlAudio();
        StopSdlJoystick();
        return 1;
    }

    // Before the form: a network start opens the lobby as the form is created.
    InstallNetProviders(GameNetProviders(options));
    InstallPortMappers(GamePortMappers(options));
    TScreenForm form;
    form.show();
    form.activateWindow();
    const int exec = shellState.EndRequested ? shellState.ExitCode : app->exec();
    int code = shellState.EndRequested ? shellState.ExitCode : exec;
    // As in the editor: a script command that found nothing to act on fails the run,
    // and so does a file the run was asked for that could not be written.
    if (code == 0 && form.ScriptCommandFailed()) code = 1;
    if (!FinishAutomation(options, {[&form] { return form.Picture(); }, FinalStateDump}) &&
        code == 0)
        code = 1;
    CloseSoundOutput();
    StopSdlAudio();
    StopSdlJoystick();
    return code;
}
