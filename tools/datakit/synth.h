// The data kit's sound synthesis toolkit: oscillators, envelopes, noise,
// filters, echo, reverb and mixing over buffers of doubles (-1..1, one value
// per sample). Everything is computed with plain double arithmetic and our own
// polynomial sine and exponential, so every machine produces the same bytes
// (library sin/exp may differ in the last bit between C libraries).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

using Signal = std::vector<double>;

struct Stereo {
    Signal left, right;
};

constexpr double kPi = 3.14159265358979323846;

// The sample count of `seconds` at `rate`, rounded.
std::size_t Samples(double seconds, double rate);

// --- deterministic math ------------------------------------------------------

double Sin01(double cycles); // sin(2 pi cycles)
inline double Cos01(double cycles) {
    return Sin01(cycles + 0.25);
}
double Exp(double x);
double Exp2(double x);
double NoteHz(double midiNote); // 69 = A4 = 440 Hz
// A smooth saturation: close to x for small x, never beyond +-1.
double SoftClip(double x);
// Gain of a level in decibels (0 dB = 1).
double DbToGain(double db);

// --- noise -------------------------------------------------------------------

// A linear congruential generator: the same sequence for the same seed everywhere.
struct Lcg {
    std::uint32_t state = 1;
    std::uint32_t NextU32();
    double Uniform();                            // [0, 1)
    double White() { return Uniform() * 2 - 1; } // [-1, 1)
    double Range(double low, double high) { return low + (high - low) * Uniform(); }
    int Below(int count); // 0 .. count-1
};

// --- oscillators (phase in cycles, step = frequency / rate) ----------------------

// Band-limited sawtooth and pulse (polynomial step correction at the jumps).
double SawBlep(double phase, double step);
double PulseBlep(double phase, double step, double width);
double Triangle(double phase);

// Advances a phase by `step`, keeping it in [0, 1).
inline double Advance(double phase, double step) {
    phase += step;
    return phase - static_cast<double>(static_cast<long long>(phase));
}

// A running oscillator phase: Next returns the phase now and steps it.
struct Phase {
    double value = 0;
    double Next(double hz, double rate) {
        const double now = value;
        value = Advance(value, hz / rate);
        return now;
    }
};

// A signal of `seconds` whose sample n is sample(n / rate).
template <typename F> Signal Render(double seconds, double rate, F&& sample) {
    Signal out(Samples(seconds, rate));
    for (std::size_t n = 0; n < out.size(); ++n) out[n] = sample(static_cast<double>(n) / rate);
    return out;
}

// --- envelopes ---------------------------------------------------------------

// Attack, decay and release in seconds; sustain as a level 0..1. The note is
// held for `held` seconds, then released.
struct Adsr {
    double attack = 0.005, decay = 0.1, sustain = 0.7, release = 0.1;
};
double AdsrAt(const Adsr& envelope, double t, double held);
// Exponential decay to 1/e after `seconds`, with a short linear attack.
double Decay(double t, double seconds, double attack = 0.002);

// --- filters -----------------------------------------------------------------

// A biquad section (direct form I).
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double Process(double x);
};
Biquad LowPass(double rate, double hz, double q = 0.7071);
Biquad HighPass(double rate, double hz, double q = 0.7071);
Biquad BandPass(double rate, double hz, double q);
Biquad PeakEq(double rate, double hz, double q, double gainDb);

// A state-variable filter whose cutoff may change every sample (stable at any
// cutoff below half the rate).
struct Svf {
    double ic1 = 0, ic2 = 0;
    double low = 0, band = 0, high = 0;
    // cutoff in Hz, resonance q (0.5 soft .. 10 ringing)
    void Process(double x, double rate, double hz, double q);
};

// One-pole low-pass (smoothing) and the matching DC-blocking high-pass.
struct OnePole {
    double a = 0, y = 0;
    double Process(double x) { return y += a * (x - y); }
};
OnePole OnePoleLowPass(double rate, double hz);

// Applies a biquad to a whole signal in place.
void Filter(Signal& signal, Biquad filter);

// --- buffers -----------------------------------------------------------------

double Peak(const Signal& signal);
double Peak(const Stereo& signal);
double Rms(const Signal& signal);
void Scale(Signal& signal, double gain);
void Scale(Stereo& signal, double gain);
// Scales so that the largest magnitude becomes `peak` (a silent signal stays silent).
void Normalise(Signal& signal, double peak);
void Normalise(Stereo& signal, double peak);
// Raised-cosine fades over the first / last `seconds`.
void FadeIn(Signal& signal, double rate, double seconds);
void FadeOut(Signal& signal, double rate, double seconds);
// Adds `source` x gain into `target` from sample `offset`, growing `target` when needed.
void MixInto(Signal& target, const Signal& source, std::size_t offset, double gain = 1);
// Equal-power pan: -1 left, 0 centre, 1 right.
void MixInto(Stereo& target, const Signal& source, std::size_t offset, double gain, double pan);
void MixInto(Stereo& target, const Stereo& source, std::size_t offset, double gain = 1);
// The same, wrapping around the end of `target` (for loops).
void MixWrapped(Signal& target, const Signal& source, std::size_t offset, double gain = 1);
void MixWrapped(Stereo& target, const Signal& source, std::size_t offset, double gain, double pan);
// Removes trailing samples quieter than `threshold` (keeps at least one).
void TrimTail(Signal& signal, double threshold);
void TrimTail(Stereo& signal, double threshold); // by the louder side
void Resize(Stereo& signal, std::size_t length);

// --- effects -----------------------------------------------------------------

// A feedback echo: the signal plus repeats every `delay` seconds, each
// `feedback` times the last, low-passed at `tone` Hz.
void Echo(Signal& signal, double rate, double delay, double feedback, double mix, double tone);

// A stereo room reverb (parallel damped combs into series all-passes per side).
struct ReverbSettings {
    double roomSize = 0.8; // 0..1, longer tail when larger
    double damping = 0.4;  // 0..1, darker tail when larger
    double width = 1.0;    // 0 mono .. 1 wide
};
// The reverberated (wet only) signal of `input`, `tail` seconds longer.
Stereo Reverb(const Stereo& input, double rate, const ReverbSettings& settings, double tail);

// A peak limiter: keeps the signal under `ceiling` with a short look-ahead and
// a smooth release, so loud hits don't force the whole piece down.
void Limit(Stereo& signal, double rate, double ceiling);

// Adds a mono mix of the reverb of `signal` (grown by `tail` seconds).
void AddReverb(Signal& signal, double rate, const ReverbSettings& settings, double wet,
               double tail);

// --- loops -------------------------------------------------------------------

// Turns a rendering that ran `tail` samples past the loop length back into one
// seamless loop: the overhang is added onto the start.
void FoldTail(Signal& signal, std::size_t loopLength);
void FoldTail(Stereo& signal, std::size_t loopLength);
// Runs a stateful per-sample process over a loop twice and keeps the second
// pass: once the process has settled its output repeats seamlessly.
template <typename F> void ProcessLoop(Signal& loop, F&& process) {
    for (double v : loop) process(v);
    for (double& v : loop) v = process(v);
}
// The reverb of a seamless loop, itself seamless (wet only).
Stereo ReverbLoop(const Stereo& loop, double rate, const ReverbSettings& settings);
// Rotates a seamless loop so that it starts (and therefore ends) at a rising
// zero crossing in its quietest stretch; the loop sounds the same.
void RotateToQuietStart(Signal& signal, double rate);
void RotateToQuietStart(Stereo& signal, double rate);

// --- conversion --------------------------------------------------------------

// Rounds to 16-bit PCM, clamping beyond full scale.
std::vector<std::int16_t> ToPcm16(const Signal& signal);
std::vector<std::int16_t> ToPcm16(const Stereo& signal); // interleaved left, right
std::vector<std::int8_t> ToPcm8(const Signal& signal);

} // namespace synth
