#include "shell/automation_run.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/keys.h"
#include "shell/form_services.h"
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
    // Only changes are fed in, so the keyboard's own events are left alone; a
    // key the script holds is pressed again if the window let it go (focus
    // lost), so it stays held.
    const KeySet wanted = ScriptKeysForFrame(options.script, framesRun);
    for (int vk = 0; vk < kVirtualKeyCount; ++vk) {
        const auto bit = static_cast<std::size_t>(vk);
        if (wanted[bit] && (!scriptHeld[bit] || !KeyIsDown(vk))) PressKey(vk);
        if (!wanted[bit] && scriptHeld[bit]) ReleaseKey(vk);
    }
    scriptHeld = wanted;
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
    return ok;
}
