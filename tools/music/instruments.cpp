#include "tools/music/instruments.h"

#include <algorithm>
#include <cmath>
#include <functional>

static constexpr double PI = 3.14159265358979323846;
static constexpr double C4_RATE = 8363.0;       // Hz at which note C-4 plays an untuned sample
static constexpr double MIDDLE_C = 261.6255653; // Hz

// Deterministic white noise in -1..1 (xorshift), so the module is the same on every run.
class Noise {
public:
    explicit Noise(uint32_t seed) : state(seed) {}
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483648.0 - 1.0;
    }
private:
    uint32_t state;
};

// Scales so the loudest sample reaches peak (0..1 of full scale) and rounds to 8 bits.
static std::vector<int8_t> toPcm8(const std::vector<double> &x, double peak = 0.97) {
    double loudest = 1e-9;
    for (double v : x) loudest = std::max(loudest, std::fabs(v));
    std::vector<int8_t> pcm(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        long v = std::lround(x[i] / loudest * peak * 127.0);
        pcm[i] = int8_t(std::clamp(v, -127L, 127L));
    }
    return pcm;
}

// Tunes a waveform whose cycle is `period` samples long: C-4 sounds middle C.
static void tuneCycle(XmSample &s, int period) {
    double semitones = 12.0 * std::log2(MIDDLE_C * period / C4_RATE);
    int whole = int(std::lround(semitones));
    s.relativeNote = int8_t(whole);
    s.finetune = int8_t(std::clamp(std::lround((semitones - whole) * 128.0), -128L, 127L));
}

// A sample meant to be played at C-4 at 8363 Hz * 2^(semitones/12).
static double drumRate(XmSample &s, int semitones) {
    s.relativeNote = int8_t(semitones);
    return C4_RATE * std::pow(2.0, semitones / 12.0);
}

// One cycle of `period` samples from harmonic amplitudes: amplitude(k) of sine partial k.
static std::vector<double> additiveCycle(int period, int harmonics, const std::function<double(int)> &amplitude,
                                         double phaseOffset = 0.0) {
    std::vector<double> x(period, 0.0);
    for (int k = 1; k <= harmonics && k < period / 2; ++k) {
        double a = amplitude(k);
        for (int i = 0; i < period; ++i) x[i] += a * std::sin(2.0 * PI * k * (i + phaseOffset) / period);
    }
    return x;
}

static void loopWhole(XmSample &s) {
    s.loopStart = 0;
    s.loopLength = uint32_t(s.data.size());
}

static XmInstrument kick() {
    XmInstrument ins;
    ins.name = "kick";
    double rate = drumRate(ins.sample, 0);
    Noise noise(0x1234567u);
    int length = int(rate * 0.30);
    std::vector<double> x(length);
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        double t = i / rate;
        double freq = 48.0 + 140.0 * std::exp(-t / 0.028);
        phase += 2.0 * PI * freq / rate;
        double body = std::sin(phase) * std::exp(-t / 0.16);
        double click = 0.5 * noise.next() * std::exp(-t / 0.0025);
        double fadeTail = std::min(1.0, (length - i) / (rate * 0.02));
        x[i] = std::tanh(2.2 * (body + click)) * fadeTail;
    }
    ins.sample.data = toPcm8(x);
    return ins;
}

static XmInstrument snare() {
    XmInstrument ins;
    ins.name = "snare";
    double rate = drumRate(ins.sample, 5);
    Noise noise(0x2468aceu);
    int length = int(rate * 0.19);
    std::vector<double> x(length);
    double low = 0.0, previous = 0.0;
    for (int i = 0; i < length; ++i) {
        double t = i / rate;
        double tone = 0.55 * std::sin(2.0 * PI * 185.0 * t) * std::exp(-t / 0.045) +
                      0.30 * std::sin(2.0 * PI * 330.0 * t) * std::exp(-t / 0.025);
        double n = noise.next();
        low += 0.55 * (n - low);                    // one-pole low-pass takes off the fizz
        double band = low - previous;               // first difference takes off the rumble
        previous = low;
        double rattle = 1.6 * band * std::exp(-t / 0.065);
        double fadeTail = std::min(1.0, (length - i) / (rate * 0.02));
        x[i] = std::tanh(1.5 * (tone + rattle)) * fadeTail;
    }
    ins.sample.data = toPcm8(x);
    ins.sample.volume = 56;
    return ins;
}

// High-passed noise: second difference of white noise.
static std::vector<double> hiss(Noise &noise, int length) {
    std::vector<double> x(length);
    double a = 0.0, b = 0.0;
    for (int i = 0; i < length; ++i) {
        double n = noise.next();
        x[i] = n - 2.0 * a + b;
        b = a;
        a = n;
    }
    return x;
}

static XmInstrument hat() {
    XmInstrument ins;
    ins.name = "hat";
    double rate = drumRate(ins.sample, 12);
    Noise noise(0x13579bdu);
    std::vector<double> x = hiss(noise, int(rate * 0.05));
    for (size_t i = 0; i < x.size(); ++i) x[i] *= std::exp(-(i / rate) / 0.014);
    ins.sample.data = toPcm8(x);
    ins.sample.volume = 38;
    ins.sample.panning = 160;
    return ins;
}

static XmInstrument crash() {
    XmInstrument ins;
    ins.name = "crash";
    drumRate(ins.sample, 12);
    Noise noise(0x0badf00du);
    std::vector<double> x = hiss(noise, 2048);
    Noise grit(0x5eedu);
    for (double &v : x) v = 0.7 * v + 0.6 * grit.next();   // some body under the sizzle
    ins.sample.data = toPcm8(x, 0.9);
    ins.sample.loopLength = uint32_t(x.size());
    ins.sample.pingPong = true;                            // hides the loop's repetition
    ins.sample.volume = 34;
    ins.sample.panning = 96;
    ins.volumeEnvelope = {{{0, 64}, {6, 44}, {30, 22}, {80, 8}, {140, 0}}};
    ins.fadeout = 0x200;
    return ins;
}

static XmInstrument bass() {
    XmInstrument ins;
    ins.name = "bass";
    const int period = 64;
    std::vector<double> x = additiveCycle(period, 24, [](int k) {
        return (1.0 / k) * std::exp(-(k - 1) / 7.0) + (k == 1 ? 0.6 : 0.0);
    });
    ins.sample.data = toPcm8(x);
    loopWhole(ins.sample);
    tuneCycle(ins.sample, period);
    ins.sample.volume = 46;
    ins.volumeEnvelope = {{{0, 64}, {4, 50}, {18, 40}, {60, 34}}, 3};
    ins.fadeout = 0x600;
    return ins;
}

// 48 cycles of a pulse wave whose width swings from 50 % to 18 % and back:
// a slow built-in chorus when the loop plays.
static XmInstrument pad() {
    XmInstrument ins;
    ins.name = "pad";
    const int period = 32, cycles = 48;
    std::vector<double> x;
    for (int c = 0; c < cycles; ++c) {
        double width = 0.5 - 0.32 * 0.5 * (1.0 - std::cos(2.0 * PI * c / cycles));
        std::vector<double> cycle = additiveCycle(period, 15, [width](int k) {
            return 2.0 / (k * PI) * std::sin(k * PI * width) * std::exp(-(k - 1) / 6.0);
        }, period / 4.0);
        x.insert(x.end(), cycle.begin(), cycle.end());
    }
    ins.sample.data = toPcm8(x);
    loopWhole(ins.sample);
    tuneCycle(ins.sample, period);
    ins.sample.volume = 30;
    ins.volumeEnvelope = {{{0, 20}, {12, 60}, {30, 48}, {200, 40}}, 3};
    ins.fadeout = 0x180;
    ins.vibratoType = 0;
    ins.vibratoSweep = 60;
    ins.vibratoDepth = 2;
    ins.vibratoRate = 8;
    return ins;
}

static std::vector<double> leadCycle(int period, int harmonics) {
    return additiveCycle(period, harmonics, [](int k) {
        double saw = 1.0 / k;
        double square = (k % 2) ? 1.0 / k : 0.0;
        return (0.6 * saw + 0.5 * square) * std::exp(-(k - 1) / 14.0);
    });
}

static XmInstrument lead() {
    XmInstrument ins;
    ins.name = "lead";
    const int period = 64;
    ins.sample.data = toPcm8(leadCycle(period, 28));
    loopWhole(ins.sample);
    tuneCycle(ins.sample, period);
    ins.sample.volume = 40;
    ins.volumeEnvelope = {{{0, 64}, {5, 52}, {20, 44}, {120, 38}}, 3};
    ins.fadeout = 0x300;
    ins.vibratoType = 0;
    ins.vibratoSweep = 36;                  // vibrato grows in on held notes
    ins.vibratoDepth = 3;
    ins.vibratoRate = 14;
    return ins;
}

static XmInstrument echo() {
    XmInstrument ins = lead();
    ins.name = "echo";
    ins.sample.data = toPcm8(leadCycle(64, 8));
    ins.sample.volume = 22;
    ins.sample.panning = 200;
    return ins;
}

static XmInstrument arp() {
    XmInstrument ins;
    ins.name = "arp";
    const int period = 32;
    std::vector<double> x = additiveCycle(period, 15, [](int k) { return (k % 2) ? 1.0 / k : 0.0; });
    ins.sample.data = toPcm8(x);
    loopWhole(ins.sample);
    tuneCycle(ins.sample, period);
    ins.sample.volume = 26;
    ins.volumeEnvelope = {{{0, 64}, {3, 44}, {10, 26}, {24, 14}}, 3};
    ins.panningEnvelope = {{{0, 16}, {48, 48}, {96, 16}}, -1, 0, 2};
    ins.fadeout = 0x500;
    return ins;
}

static XmInstrument bell() {
    XmInstrument ins;
    ins.name = "bell";
    const int period = 64;
    std::vector<double> x = additiveCycle(period, 12, [](int k) {
        switch (k) {
        case 1: return 1.0;
        case 2: return 0.45;
        case 4: return 0.35;
        case 6: return 0.18;
        case 9: return 0.12;
        default: return 0.0;
        }
    });
    ins.sample.data = toPcm8(x);
    loopWhole(ins.sample);
    tuneCycle(ins.sample, period);
    ins.sample.volume = 44;
    ins.sample.panning = 150;
    ins.volumeEnvelope = {{{0, 64}, {8, 44}, {30, 26}, {80, 12}, {160, 0}}};
    ins.fadeout = 0x300;
    return ins;
}

std::vector<XmInstrument> synthesiseInstruments() {
    return {kick(), snare(), hat(), crash(), bass(), pad(), lead(), echo(), arp(), bell()};
}
