#include "shell/automation_run.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/script_answers.h"
#include "platform/script_joystick.h"
#include "shell/replay_run.h"
#include "shell/shell_state.h"
#include "shell/sounds.h"
#include "shell/startup.h"
#include "shell/state_dump.h"
#include "world/random_clock.h"

namespace {
GameOptions options;
std::int64_t framesRun = 0;
std::int64_t scriptStart = 0; // the run's frame that is the script's frame 1; 0: not yet
KeySet scriptHeld;
bool firstAnswersQueued = false; // frame 1's F ANSWER lines went to the queue before any frame
bool scriptPlaysPad = false;     // the script holds controller inputs and plays joystick 1
} // namespace

void ConfigureAutomation(const GameOptions& given) {
    options = given;
    framesRun = 0;
    scriptStart = 0;
    firstAnswersQueued = false;
    ForgetKeptState();
    scriptHeld.reset();
    // A script that holds controller inputs plays joystick 1 itself.
    scriptPlaysPad = ScriptUsesPad(options.script);
    if (scriptPlaysPad) UseScriptJoystick();
    FixClockSeed(options.seed);
    if (options.frameMs) {
        UseVirtualClock(0);
    } else {
        UseRealClock();
    }
}

const GameOptions& CurrentAutomation() {
    return options;
}

void BeginAutomatedFrame() {
    ++framesRun;
    if (ReplayPlaying()) {
        // Each frame of a replay shows the tick it was recorded with.
        if (const auto tick = NextReplayTick())
            UseVirtualClock(*tick);
        else
            AdvanceVirtualClock(ReplayPaceMs());
    } else if (options.frameMs) {
        AdvanceVirtualClock(*options.frameMs);
    }
    // The screen is the one the previous frame left: the first frame that
    // starts in play is the script's first.
    if (scriptStart == 0 &&
        (!options.net.scriptFromPlay || shellState.ScreenState == kScreenPlay)) {
        scriptStart = framesRun;
    }
    if (scriptStart == 0 || options.script.entries.empty()) return;
    FeedScriptKeys(options.script, ScriptFrame(), scriptHeld);
    if (scriptPlaysPad) HoldScriptPad(ScriptPadForFrame(options.script, ScriptFrame()));
}

std::int64_t ScriptFrame() {
    return scriptStart == 0 ? 0 : framesRun - scriptStart + 1;
}

std::optional<std::int32_t> RealTimeFrameMs() {
    if (ReplayPlaying() && !options.headless) return ReplayPaceMs();
    if (!options.frameMs || !IsNetworkStart(shellState.CommandLine)) return std::nullopt;
    return options.frameMs;
}

void QueueFirstFrameAnswers() {
    // A script that starts in play has no frame 1 before the lobby.
    if (framesRun != 0 || firstAnswersQueued || options.net.scriptFromPlay) return;
    firstAnswersQueued = true;
    for (const FormCommand& command : FormCommandsForFrame(options.script, 1))
        if (command.verb == FormVerb::Answer)
            QueueScriptAnswer(AnswerQueue::Prompt, {command.cancel, command.text});
}

std::vector<FormCommand> ScriptFormCommandsNow() {
    const std::int64_t frame = ScriptFrame();
    if (frame == 0) return {};
    std::vector<FormCommand> commands = FormCommandsForFrame(options.script, frame);
    if (frame == 1 && firstAnswersQueued)
        std::erase_if(commands, [](const FormCommand& c) { return c.verb == FormVerb::Answer; });
    return commands;
}

void EndAutomatedFrame() {
    CaptureFrameSound();
}

std::int64_t FramesRun() {
    return framesRun;
}

void LimitFrameBudget(std::int64_t frames) {
    if (!options.frames) options.frames = std::max<std::int64_t>(frames, 0);
}

bool FrameBudgetUsed() {
    return options.frames && framesRun >= *options.frames;
}
