#include "synth.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace synth {

// --- deterministic math ------------------------------------------------------

double Sin01(double cycles) {
    double x = cycles - std::floor(cycles); // [0, 1)
    if (x >= 0.5) x -= 1.0;                 // [-0.5, 0.5)
    if (x > 0.25)
        x = 0.5 - x; // fold onto [-0.25, 0.25]
    else if (x < -0.25)
        x = -0.5 - x;
    const double t = x * 2 * kPi; // [-pi/2, pi/2]
    const double t2 = t * t;
    // Taylor series to t^15: error below 1e-11 on this range.
    double sum = 1.0 / 1307674368000.0;
    sum = sum * -t2 + 1.0 / 6227020800.0;
    sum = sum * -t2 + 1.0 / 39916800.0;
    sum = sum * -t2 + 1.0 / 362880.0;
    sum = sum * -t2 + 1.0 / 5040.0;
    sum = sum * -t2 + 1.0 / 120.0;
    sum = sum * -t2 + 1.0 / 6.0;
    sum = sum * -t2 + 1.0;
    return t * sum;
}

namespace {
constexpr double kLn2 = 0.69314718055994530942;
constexpr double kLn10 = 2.30258509299404568402;

// e^r for |r| <= 0.35 by its Taylor series to r^13 (error below a double's last bit).
double ExpSmall(double r) {
    static const double kInverseFactorials[14] = {1.0,
                                                  1.0,
                                                  1.0 / 2,
                                                  1.0 / 6,
                                                  1.0 / 24,
                                                  1.0 / 120,
                                                  1.0 / 720,
                                                  1.0 / 5040,
                                                  1.0 / 40320,
                                                  1.0 / 362880,
                                                  1.0 / 3628800,
                                                  1.0 / 39916800,
                                                  1.0 / 479001600,
                                                  1.0 / 6227020800.0};
    double sum = kInverseFactorials[13];
    for (int k = 12; k >= 0; --k) sum = sum * r + kInverseFactorials[k];
    return sum;
}
} // namespace

double Exp2(double x) {
    if (x < -1000) return 0;
    if (x > 1000) return HUGE_VAL;
    const double n = std::floor(x + 0.5);
    return std::ldexp(ExpSmall((x - n) * kLn2), static_cast<int>(n));
}

double Exp(double x) {
    return Exp2(x / kLn2);
}

double NoteHz(double midiNote) {
    return 440.0 * Exp2((midiNote - 69) / 12);
}

double SoftClip(double x) {
    if (x >= 3) return 1;
    if (x <= -3) return -1;
    const double x2 = x * x;
    return x * (27 + x2) / (27 + 9 * x2);
}

double DbToGain(double db) {
    return Exp(db * kLn10 / 20);
}

// --- noise -------------------------------------------------------------------

std::uint32_t Lcg::NextU32() {
    state = state * 1664525u + 1013904223u;
    return state;
}

double Lcg::Uniform() {
    return static_cast<double>(NextU32() >> 8) / 16777216.0;
}

int Lcg::Below(int count) {
    return count <= 1 ? 0 : static_cast<int>((NextU32() >> 8) % static_cast<std::uint32_t>(count));
}

// --- oscillators -------------------------------------------------------------

namespace {
// Correction around a unit step at phase 0, spread over one sample either side.
double Blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}
} // namespace

double SawBlep(double phase, double step) {
    return 2 * phase - 1 - Blep(phase, step);
}

double PulseBlep(double phase, double step, double width) {
    double value = phase < width ? 1 : -1;
    value += Blep(phase, step);
    double shifted = phase + 1 - width;
    shifted -= std::floor(shifted);
    value -= Blep(shifted, step);
    return value - (2 * width - 1); // no DC offset, whatever the width
}

double Triangle(double phase) {
    return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
}

// --- envelopes ---------------------------------------------------------------

namespace {
double AdsrHeld(const Adsr& e, double t) {
    if (t < e.attack) return t / e.attack;
    t -= e.attack;
    if (t < e.decay) {
        const double x = 1 - t / e.decay;
        return e.sustain + (1 - e.sustain) * x * x;
    }
    return e.sustain;
}
} // namespace

double AdsrAt(const Adsr& e, double t, double held) {
    if (t < 0) return 0;
    if (t < held) return AdsrHeld(e, t);
    const double level = AdsrHeld(e, held);
    const double x = (t - held) / e.release;
    if (x >= 1) return 0;
    return level * (1 - x) * (1 - x);
}

double Decay(double t, double seconds, double attack) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return Exp(-(t - attack) / seconds);
}

// --- filters -----------------------------------------------------------------

double Biquad::Process(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

namespace {
Biquad Normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
    Biquad f;
    f.b0 = b0 / a0;
    f.b1 = b1 / a0;
    f.b2 = b2 / a0;
    f.a1 = a1 / a0;
    f.a2 = a2 / a0;
    return f;
}

struct Angle {
    double cos, alpha;
};
Angle AngleOf(double rate, double hz, double q) {
    const double cycles = std::min(hz / rate, 0.49);
    return {Cos01(cycles), Sin01(cycles) / (2 * q)};
}
} // namespace

Biquad LowPass(double rate, double hz, double q) {
    const Angle w = AngleOf(rate, hz, q);
    return Normalised((1 - w.cos) / 2, 1 - w.cos, (1 - w.cos) / 2, 1 + w.alpha, -2 * w.cos,
                      1 - w.alpha);
}

Biquad HighPass(double rate, double hz, double q) {
    const Angle w = AngleOf(rate, hz, q);
    return Normalised((1 + w.cos) / 2, -(1 + w.cos), (1 + w.cos) / 2, 1 + w.alpha, -2 * w.cos,
                      1 - w.alpha);
}

Biquad BandPass(double rate, double hz, double q) {
    const Angle w = AngleOf(rate, hz, q);
    return Normalised(w.alpha, 0, -w.alpha, 1 + w.alpha, -2 * w.cos, 1 - w.alpha);
}

Biquad PeakEq(double rate, double hz, double q, double gainDb) {
    const Angle w = AngleOf(rate, hz, q);
    const double a = DbToGain(gainDb / 2);
    return Normalised(1 + w.alpha * a, -2 * w.cos, 1 - w.alpha * a, 1 + w.alpha / a, -2 * w.cos,
                      1 - w.alpha / a);
}

void Svf::Process(double x, double rate, double hz, double q) {
    // tan(pi hz / rate) by a rational approximation: close enough for a
    // cutoff, and cheap, as sweeping filters need it every sample.
    const double w = kPi * std::clamp(hz / rate, 1e-5, 0.45);
    const double g = w * (15 - w * w) / (15 - 6 * w * w);
    const double k = 1 / q;
    const double a1 = 1 / (1 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = x - ic2;
    const double v1 = a1 * ic1 + a2 * v3;
    const double v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2 * v1 - ic1;
    ic2 = 2 * v2 - ic2;
    low = v2;
    band = v1;
    high = x - k * v1 - v2;
}

OnePole OnePoleLowPass(double rate, double hz) {
    OnePole f;
    f.a = 1 - Exp(-2 * kPi * hz / rate);
    return f;
}

void Filter(Signal& signal, Biquad filter) {
    for (double& v : signal) v = filter.Process(v);
}

// --- buffers -----------------------------------------------------------------

std::size_t Samples(double seconds, double rate) {
    return seconds <= 0 ? 0 : static_cast<std::size_t>(std::floor(seconds * rate + 0.5));
}

double Peak(const Signal& signal) {
    double peak = 0;
    for (double v : signal) peak = std::max(peak, std::fabs(v));
    return peak;
}

double Peak(const Stereo& signal) {
    return std::max(Peak(signal.left), Peak(signal.right));
}

double Rms(const Signal& signal) {
    if (signal.empty()) return 0;
    double sum = 0;
    for (double v : signal) sum += v * v;
    return std::sqrt(sum / static_cast<double>(signal.size()));
}

void Scale(Signal& signal, double gain) {
    for (double& v : signal) v *= gain;
}

void Scale(Stereo& signal, double gain) {
    Scale(signal.left, gain);
    Scale(signal.right, gain);
}

void Normalise(Signal& signal, double peak) {
    const double current = Peak(signal);
    if (current > 0) Scale(signal, peak / current);
}

void Normalise(Stereo& signal, double peak) {
    const double current = Peak(signal);
    if (current > 0) Scale(signal, peak / current);
}

void FadeIn(Signal& signal, double rate, double seconds) {
    const std::size_t count = std::min(signal.size(), Samples(seconds, rate));
    for (std::size_t i = 0; i < count; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(count);
        signal[i] *= 0.5 - 0.5 * Cos01(x / 2);
    }
}

void FadeOut(Signal& signal, double rate, double seconds) {
    const std::size_t count = std::min(signal.size(), Samples(seconds, rate));
    const std::size_t start = signal.size() - count;
    for (std::size_t i = 0; i < count; ++i) {
        const double x = static_cast<double>(i + 1) / static_cast<double>(count);
        signal[start + i] *= 0.5 + 0.5 * Cos01(x / 2);
    }
}

void MixInto(Signal& target, const Signal& source, std::size_t offset, double gain) {
    if (target.size() < offset + source.size()) target.resize(offset + source.size(), 0.0);
    for (std::size_t i = 0; i < source.size(); ++i) target[offset + i] += source[i] * gain;
}

namespace {
// Equal-power pan gains.
void PanGains(double pan, double gain, double& left, double& right) {
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1) / 8; // quarter cycle across
    left = gain * Cos01(angle);
    right = gain * Sin01(angle);
}
} // namespace

void MixInto(Stereo& target, const Signal& source, std::size_t offset, double gain, double pan) {
    double left, right;
    PanGains(pan, gain, left, right);
    MixInto(target.left, source, offset, left);
    MixInto(target.right, source, offset, right);
}

void MixInto(Stereo& target, const Stereo& source, std::size_t offset, double gain) {
    MixInto(target.left, source.left, offset, gain);
    MixInto(target.right, source.right, offset, gain);
}

void MixWrapped(Signal& target, const Signal& source, std::size_t offset, double gain) {
    if (target.empty()) return;
    for (std::size_t i = 0; i < source.size(); ++i)
        target[(offset + i) % target.size()] += source[i] * gain;
}

void MixWrapped(Stereo& target, const Signal& source, std::size_t offset, double gain, double pan) {
    double left, right;
    PanGains(pan, gain, left, right);
    MixWrapped(target.left, source, offset, left);
    MixWrapped(target.right, source, offset, right);
}

void TrimTail(Signal& signal, double threshold) {
    std::size_t end = signal.size();
    while (end > 1 && std::fabs(signal[end - 1]) < threshold) --end;
    signal.resize(end);
}

void TrimTail(Stereo& signal, double threshold) {
    std::size_t end = std::max(signal.left.size(), signal.right.size());
    Resize(signal, end);
    while (end > 1 && std::fabs(signal.left[end - 1]) < threshold &&
           std::fabs(signal.right[end - 1]) < threshold)
        --end;
    Resize(signal, end);
}

void Resize(Stereo& signal, std::size_t length) {
    signal.left.resize(length, 0.0);
    signal.right.resize(length, 0.0);
}

// --- effects -----------------------------------------------------------------

void Echo(Signal& signal, double rate, double delay, double feedback, double mix, double tone) {
    const std::size_t step = std::max<std::size_t>(1, Samples(delay, rate));
    int repeats = 1;
    for (double level = feedback; level > 0.001 && repeats < 64; level *= feedback) ++repeats;
    const std::size_t dry = signal.size();
    signal.resize(dry + step * static_cast<std::size_t>(repeats), 0.0);
    Signal line(signal.size(), 0.0); // the echo path alone
    OnePole damp = OnePoleLowPass(rate, tone);
    for (std::size_t i = step; i < signal.size(); ++i) {
        const double in = (i - step < dry ? signal[i - step] : 0.0) + feedback * line[i - step];
        line[i] = damp.Process(in);
    }
    for (std::size_t i = 0; i < signal.size(); ++i) signal[i] += mix * line[i];
}

namespace {
struct Comb {
    std::vector<double> buffer;
    std::size_t index = 0;
    double store = 0;
    double Process(double input, double feedback, double damp) {
        const double output = buffer[index];
        store = output * (1 - damp) + store * damp;
        buffer[index] = input + store * feedback;
        if (++index == buffer.size()) index = 0;
        return output;
    }
};

struct AllPass {
    std::vector<double> buffer;
    std::size_t index = 0;
    double Process(double input) {
        const double delayed = buffer[index];
        buffer[index] = input + delayed * 0.5;
        if (++index == buffer.size()) index = 0;
        return delayed - input;
    }
};

struct ReverbSide {
    std::vector<Comb> combs;
    std::vector<AllPass> passes;
    ReverbSide(double rate, int spread) {
        static const int kComb[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static const int kPass[] = {556, 441, 341, 225};
        const double scale = rate / 44100.0;
        for (int length : kComb) {
            Comb c;
            c.buffer.assign(Samples((length + spread) * scale, 1), 0.0);
            combs.push_back(std::move(c));
        }
        for (int length : kPass) {
            AllPass a;
            a.buffer.assign(Samples((length + spread) * scale, 1), 0.0);
            passes.push_back(std::move(a));
        }
    }
    double Process(double input, double feedback, double damp) {
        double sum = 0;
        for (Comb& c : combs) sum += c.Process(input, feedback, damp);
        for (AllPass& a : passes) sum = a.Process(sum);
        return sum;
    }
};
} // namespace

Stereo Reverb(const Stereo& input, double rate, const ReverbSettings& settings, double tail) {
    const std::size_t length = std::max(input.left.size(), input.right.size());
    const std::size_t total = length + Samples(tail, rate);
    ReverbSide left(rate, 0), right(rate, 23);
    const double feedback = 0.7 + 0.28 * settings.roomSize;
    const double damp = 0.4 * settings.damping;
    const double same = 0.5 + settings.width / 2, other = (1 - settings.width) / 2;
    Stereo out;
    Resize(out, total);
    for (std::size_t i = 0; i < total; ++i) {
        const double l = i < input.left.size() ? input.left[i] : 0.0;
        const double r = i < input.right.size() ? input.right[i] : 0.0;
        const double in = (l + r) * 0.05;
        const double wl = left.Process(in, feedback, damp);
        const double wr = right.Process(in, feedback, damp);
        out.left[i] = wl * same + wr * other;
        out.right[i] = wr * same + wl * other;
    }
    return out;
}

void Limit(Stereo& signal, double rate, double ceiling) {
    const std::size_t n = std::min(signal.left.size(), signal.right.size());
    if (n == 0) return;
    const std::size_t half = std::max<std::size_t>(1, Samples(0.003, rate));
    std::vector<double> need(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double level = std::max(std::fabs(signal.left[i]), std::fabs(signal.right[i]));
        need[i] = level > ceiling ? ceiling / level : 1.0;
    }
    // Minimum of `need` over [i - half, i + half], by a monotonic queue.
    std::vector<double> lowest(n);
    std::deque<std::size_t> queue;
    std::size_t next = 0;
    for (std::size_t i = 0; i < n; ++i) {
        for (; next < n && next <= i + half; ++next) {
            while (!queue.empty() && need[queue.back()] >= need[next]) queue.pop_back();
            queue.push_back(next);
        }
        while (queue.front() + half < i) queue.pop_front();
        lowest[i] = need[queue.front()];
    }
    // Slow recovery (about 80 ms from deep reduction to none).
    const double recover = 1.0 / static_cast<double>(Samples(0.08, rate));
    for (std::size_t i = 1; i < n; ++i) lowest[i] = std::min(lowest[i], lowest[i - 1] + recover);
    // A moving average over the same window never exceeds what any sample in
    // it needs; outside the signal the window counts "no reduction".
    const auto at = [&](std::ptrdiff_t k) {
        return k < 0 || k >= static_cast<std::ptrdiff_t>(n) ? 1.0
                                                            : lowest[static_cast<std::size_t>(k)];
    };
    const auto h = static_cast<std::ptrdiff_t>(half);
    const double width = static_cast<double>(2 * half + 1);
    double sum = 0;
    for (std::ptrdiff_t k = -h; k <= h; ++k) sum += at(k);
    for (std::size_t i = 0; i < n; ++i) {
        const double g = std::min(sum / width, need[i]);
        signal.left[i] *= g;
        signal.right[i] *= g;
        const auto j = static_cast<std::ptrdiff_t>(i);
        sum += at(j + h + 1) - at(j - h);
    }
}

void AddReverb(Signal& signal, double rate, const ReverbSettings& settings, double wet,
               double tail) {
    Stereo input{signal, signal};
    const Stereo room = Reverb(input, rate, settings, tail);
    signal.resize(room.left.size(), 0.0);
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] += wet * 0.5 * (room.left[i] + room.right[i]);
}

Stereo ReverbLoop(const Stereo& loop, double rate, const ReverbSettings& settings) {
    const std::size_t n = loop.left.size();
    Stereo repeated;
    for (int pass = 0; pass < 3; ++pass) { // two passes let the tail settle
        repeated.left.insert(repeated.left.end(), loop.left.begin(), loop.left.end());
        repeated.right.insert(repeated.right.end(), loop.right.begin(), loop.right.end());
    }
    const Stereo wet = Reverb(repeated, rate, settings, 0);
    Stereo out;
    out.left.assign(wet.left.begin() + 2 * n, wet.left.begin() + 3 * n);
    out.right.assign(wet.right.begin() + 2 * n, wet.right.begin() + 3 * n);
    return out;
}

// --- loops -------------------------------------------------------------------

void FoldTail(Signal& signal, std::size_t loopLength) {
    if (loopLength == 0) return;
    for (std::size_t i = loopLength; i < signal.size(); ++i) signal[i % loopLength] += signal[i];
    signal.resize(loopLength, 0.0);
}

void FoldTail(Stereo& signal, std::size_t loopLength) {
    FoldTail(signal.left, loopLength);
    FoldTail(signal.right, loopLength);
}

namespace {
// The start index of a quiet point of a loop whose level at i is `level(i)`.
template <typename Level> std::size_t QuietStart(std::size_t n, double rate, Level level) {
    if (n < 4) return 0;
    const std::size_t window = std::min(n, std::max<std::size_t>(8, Samples(0.02, rate)));
    double sum = 0;
    for (std::size_t i = 0; i < window; ++i) sum += level(i);
    double best = sum;
    std::size_t bestStart = 0;
    for (std::size_t i = 1; i < n; ++i) { // window [i, i + window), wrapping
        sum += level((i + window - 1) % n) - level(i - 1);
        if (sum < best) {
            best = sum;
            bestStart = i;
        }
    }
    // Inside the quietest window, the pair of neighbours closest to zero.
    std::size_t pick = bestStart;
    double pickLevel = HUGE_VAL;
    for (std::size_t k = 0; k < window; ++k) {
        const std::size_t i = (bestStart + k) % n;
        const double pair = level((i + n - 1) % n) + level(i);
        if (pair < pickLevel) {
            pickLevel = pair;
            pick = i;
        }
    }
    return pick;
}
} // namespace

void RotateToQuietStart(Signal& signal, double rate) {
    const std::size_t start =
        QuietStart(signal.size(), rate, [&](std::size_t i) { return std::fabs(signal[i]); });
    std::rotate(signal.begin(), signal.begin() + static_cast<std::ptrdiff_t>(start), signal.end());
}

void RotateToQuietStart(Stereo& signal, double rate) {
    const std::size_t start = QuietStart(signal.left.size(), rate, [&](std::size_t i) {
        return std::fabs(signal.left[i]) + std::fabs(signal.right[i]);
    });
    const auto shift = static_cast<std::ptrdiff_t>(start);
    std::rotate(signal.left.begin(), signal.left.begin() + shift, signal.left.end());
    std::rotate(signal.right.begin(), signal.right.begin() + shift, signal.right.end());
}

// --- conversion --------------------------------------------------------------

std::vector<std::int16_t> ToPcm16(const Signal& signal) {
    std::vector<std::int16_t> out(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double v = std::floor(signal[i] * 32767 + 0.5);
        out[i] = static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0));
    }
    return out;
}

std::vector<std::int16_t> ToPcm16(const Stereo& signal) {
    const std::vector<std::int16_t> left = ToPcm16(signal.left), right = ToPcm16(signal.right);
    const std::size_t n = std::max(left.size(), right.size());
    std::vector<std::int16_t> out(2 * n, 0);
    for (std::size_t i = 0; i < left.size(); ++i) out[2 * i] = left[i];
    for (std::size_t i = 0; i < right.size(); ++i) out[2 * i + 1] = right[i];
    return out;
}

std::vector<std::int8_t> ToPcm8(const Signal& signal) {
    std::vector<std::int8_t> out(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double v = std::floor(signal[i] * 127 + 0.5);
        out[i] = static_cast<std::int8_t>(std::clamp(v, -128.0, 127.0));
    }
    return out;
}

} // namespace synth
