#include "shell/keyboard.h"

#include <chrono>
#include <thread>

#include "platform/keys.h"
#include "shell/form_services.h"
#include "shell/shell_state.h"

bool KeyDown(int vk) {
    return QueryKey(vk);
}

void WaitForNoKey() {
    for (;;) {
        bool anyDown = false;
        for (int vk = 0; vk < kVirtualKeyCount; ++vk) anyDown = KeyDown(vk) || anyDown;
        if (!anyDown || shellState.EndRequested) return;
        ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
