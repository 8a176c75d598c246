#include "backends/sdl/sdl_joystick.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "backends/sdl/sdl_start.h"
#include "platform/files.h"
#include "platform/joystick.h"

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK;
constexpr std::uint32_t kAxisMax = 65535;

// SDL's axes run from -32768 to 32767, the game's from 0 to 65535, so that a
// centred stick (0) reads 32768.
std::uint32_t gameAxis(Sint16 value) {
    return static_cast<std::uint32_t>(value + 32768);
}

// A pressed direction pad moves like a stick at full deflection.
std::uint32_t padAxis(std::uint32_t stick, bool low, bool high) {
    if (low) return 0;
    if (high) return kAxisMax;
    return stick;
}

// Buttons 1 to 4 of the game, in bit order.
constexpr std::array<SDL_GameControllerButton, 4> kControllerButtons = {
    SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y};

class SdlJoystick final : public JoystickDevice {
  public:
    explicit SdlJoystick(bool virtualOnly) : virtualOnly_(virtualOnly) {}
    ~SdlJoystick() override { close(); }

    // The first usable game controller, else the first usable joystick.
    void OpenFirst() {
        const int count = SDL_NumJoysticks();
        for (int i = 0; i < count && !joystick_; ++i) {
            if (!usable(i) || !SDL_IsGameController(i)) continue;
            controller_ = SDL_GameControllerOpen(i);
            if (controller_) joystick_ = SDL_GameControllerGetJoystick(controller_);
        }
        for (int i = 0; i < count && !joystick_; ++i)
            if (usable(i)) joystick_ = SDL_JoystickOpen(i);
    }

    // Without joystick 1, a device plugged in or still present takes its place.
    void Update() override {
        bool devicesChanged = false;
        SDL_PumpEvents();
        // Only the joystick and controller events (0x600 to 0x6FF) are taken,
        // so that a later user of SDL's event queue keeps its own.
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_JOYAXISMOTION, SDL_FINGERDOWN - 1) > 0) {
            if (event.type != SDL_JOYDEVICEADDED && event.type != SDL_JOYDEVICEREMOVED) continue;
            devicesChanged = true;
            if (event.type == SDL_JOYDEVICEREMOVED && joystick_ &&
                event.jdevice.which == SDL_JoystickInstanceID(joystick_))
                close();
        }
        if (devicesChanged && !joystick_) OpenFirst();
    }

    std::optional<JoystickCaps> Caps() override {
        if (!attached()) return std::nullopt;
        return JoystickCaps{0, kAxisMax, 0, kAxisMax};
    }

    std::optional<JoystickPosition> Position() override {
        if (!attached()) return std::nullopt;
        return controller_ ? controllerPosition() : joystickPosition();
    }

  private:
    bool usable(int index) const { return !virtualOnly_ || SDL_JoystickIsVirtual(index); }

    bool attached() const { return joystick_ && SDL_JoystickGetAttached(joystick_); }

    void close() {
        if (controller_) {
            SDL_GameControllerClose(controller_);
        } else if (joystick_) {
            SDL_JoystickClose(joystick_);
        }
        controller_ = nullptr;
        joystick_ = nullptr;
    }

    // The left stick, the direction pad over it, and A, B, X, Y.
    JoystickPosition controllerPosition() const {
        auto pressed = [this](SDL_GameControllerButton b) {
            return SDL_GameControllerGetButton(controller_, b) != 0;
        };
        JoystickPosition p;
        p.x = padAxis(gameAxis(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX)),
                      pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT),
                      pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
        p.y = padAxis(gameAxis(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY)),
                      pressed(SDL_CONTROLLER_BUTTON_DPAD_UP),
                      pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
        for (std::size_t i = 0; i < kControllerButtons.size(); ++i)
            if (pressed(kControllerButtons[i])) p.buttons |= 1u << i;
        p.start = pressed(SDL_CONTROLLER_BUTTON_START);
        p.back = pressed(SDL_CONTROLLER_BUTTON_BACK);
        return p;
    }

    // A joystick without a controller mapping: axes 0 and 1 (centred when it
    // has fewer), hat 0 as the direction pad, buttons 0 to 3.
    JoystickPosition joystickPosition() const {
        auto axis = [this](int n) {
            return SDL_JoystickNumAxes(joystick_) > n ? gameAxis(SDL_JoystickGetAxis(joystick_, n))
                                                      : kAxisMax / 2 + 1;
        };
        const Uint8 hat = SDL_JoystickNumHats(joystick_) > 0 ? SDL_JoystickGetHat(joystick_, 0)
                                                             : SDL_HAT_CENTERED;
        JoystickPosition p;
        p.x = padAxis(axis(0), hat & SDL_HAT_LEFT, hat & SDL_HAT_RIGHT);
        p.y = padAxis(axis(1), hat & SDL_HAT_UP, hat & SDL_HAT_DOWN);
        const int buttons = std::min(SDL_JoystickNumButtons(joystick_), 4);
        for (int i = 0; i < buttons; ++i)
            if (SDL_JoystickGetButton(joystick_, i)) p.buttons |= 1u << i;
        return p;
    }

    bool virtualOnly_;
    SDL_GameController* controller_ = nullptr;
    SDL_Joystick* joystick_ = nullptr; // the controller's own, or a plain joystick
};

std::unique_ptr<SdlJoystick> device;
int mappingsAdded = 0;

// Hands the file's lines to SDL from memory, so that SDL reads no more than
// the bytes checked here.
void addMappings(const std::string& file) {
    mappingsAdded = 0;
    if (file.empty()) return;
    const SmallFile read = ReadSmallFile(file, kMappingFileLimit);
    if (read.status == SmallFileStatus::TooLarge)
        std::fprintf(stderr, "%s: larger than %llu bytes, not read\n", file.c_str(),
                     static_cast<unsigned long long>(kMappingFileLimit));
    if (read.status != SmallFileStatus::Read || read.bytes.empty()) return;
    SDL_RWops* memory = SDL_RWFromConstMem(read.bytes.data(), static_cast<int>(read.bytes.size()));
    mappingsAdded = memory ? SDL_GameControllerAddMappingsFromRW(memory, 1) : -1;
    if (mappingsAdded < 0)
        std::fprintf(stderr, "%s: no controller mappings read (%s)\n", file.c_str(),
                     SDL_GetError());
}

} // namespace

bool StartSdlJoystick(bool virtualOnly, const std::string& mappingFile) {
    if (device) return true;
    if (!StartSdlSubsystems(kSubsystems)) return false;
    addMappings(mappingFile);
    device = std::make_unique<SdlJoystick>(virtualOnly);
    device->OpenFirst();
    InstallJoystickDevice(device.get());
    return true;
}

int SdlMappingsAdded() {
    return mappingsAdded;
}

void StopSdlJoystick() {
    if (!device) return;
    InstallJoystickDevice(nullptr);
    device.reset();
    StopSdlSubsystems(kSubsystems);
}
