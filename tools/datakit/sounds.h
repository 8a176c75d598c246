// The sound effects of the default data set, each made by one function. All
// are mono at kEffectRate; one-shots start and end in silence, ambient loops
// repeat seamlessly.
#pragma once

#include "synth.h"

namespace sounds {

constexpr double kEffectRate = 22050;

// Interface
synth::Signal MenuChoice();
synth::Signal Click();
synth::Signal ClockTick();
// Hero and sentries
synth::Signal Step();
synth::Signal Hurt();
synth::Signal Death();
synth::Signal Seen();
synth::Signal Lost();
// Actions of the object types
synth::Signal Dig();
synth::Signal Refill();
synth::Signal Lever();
synth::Signal Door();
synth::Signal Ingot();
synth::Signal TimerPickup();
synth::Signal ExtraLife();
synth::Signal Light();
synth::Signal Spring();
synth::Signal Push();
synth::Signal Sensor();
// Ambient loops
synth::Signal Lava();
synth::Signal Water();
synth::Signal Torch();
synth::Signal Hum();

// Shared finishing: trims the silent tail, softens both ends, scales to `peak`.
void FinishOneShot(synth::Signal& signal, double peak);
// Turns a seamless loop so it starts at a quiet zero crossing, scales to `peak`.
void FinishLoop(synth::Signal& signal, double peak);

// A short metallic clack (lever, latch, door bolt): inharmonic partials over a
// low body, `pitch` scaling every partial.
synth::Signal Clack(double pitch);
// A noise grain for gravel and crackle: `seconds` long, band-passed at `hz`.
synth::Signal Grain(synth::Lcg& random, double seconds, double hz);
// A bell: phase-modulated partials with a quick metallic attack.
synth::Signal Bell(double hz, double seconds);

} // namespace sounds
