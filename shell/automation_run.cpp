#include "shell/automation_run.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/keys.h"
#include "shell/form_services.h"
#include "shell/sounds.h"
#include "shell/state_dump.h"
#include "world/random_clock.h"

namespace {
AutomationOptions options;
std::int64_t framesRun = 0;
KeySet scriptHeld;
} // namespace

void ConfigureAutomation(const AutomationOptions& given) {
    options = given;
    framesRun = 0;
    ForgetKeptState();
    scriptHeld.reset();
    FixClockSeed(options.seed);
    if (options.frameMs) {
        UseVirtualClock(0);
    } else {
        UseRealClock();
    }
}

const AutomationOptions& CurrentAutomation() {
    return options;
}

void BeginAutomatedFrame() {
    ++framesRun;
    if (options.frameMs) AdvanceVirtualClock(*options.frameMs);
    if (options.script.entries.empty()) return;
    FeedScriptKeys(options.script, framesRun, scriptHeld);
}

void EndAutomatedFrame() {
    CaptureFrameSound();
}

std::int64_t FramesRun() {
    return framesRun;
}

bool FrameBudgetUsed() {
    return options.frames && framesRun >= *options.frames;
}

bool FinishAutomation() {
    bool ok = true;
    if (!options.screenshotFile.empty()) {
        if (!SaveScreenshot(options.screenshotFile)) {
            std::fprintf(stderr, "cannot write the screenshot '%s'\n",
                         options.screenshotFile.c_str());
            ok = false;
        }
    }
    if (!options.dumpStateFile.empty() && !WriteStateDump(options.dumpStateFile)) {
        std::fprintf(stderr, "cannot write the state dump '%s'\n", options.dumpStateFile.c_str());
        ok = false;
    }
    if (!WriteSoundCapture()) {
        std::fprintf(stderr, "cannot write the audio capture '%s'\n",
                     options.recordAudioFile.c_str());
        ok = false;
    }
    return ok;
}
