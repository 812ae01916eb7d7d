// Building blocks for the generated sounds: a mono float signal at a fixed
// rate, deterministic noise, swept oscillators, envelopes, one-pole filters,
// and the finishing steps (fades, normalising, 16-bit conversion). Values
// run in -1..1. Everything is deterministic: no clock, no global seed.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace synth {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Signal = std::vector<float>;

inline std::size_t Samples(double seconds) { return static_cast<std::size_t>(seconds * kRate); }

// xorshift noise in -1..1; each sound seeds its own.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed ? seed : 1u) {}
    float Next();

private:
    std::uint32_t state;
};

// A sine whose frequency (Hz) may change every sample.
class Oscillator {
public:
    float Sine(double hz);
    // Sum of the first `harmonics` harmonics at 1/n amplitude: a soft saw.
    float Saw(double hz, int harmonics);

private:
    double phase = 0.0;
};

// Exponential glide from `from` to `to` over t in 0..1.
double Glide(double from, double to, double t);
// Quick linear attack, then exponential decay to about 1/1000 at `decay` s.
float Percussive(double t, double attack, double decay);

// One-pole low-pass; cutoff may change every sample.
class LowPass {
public:
    float Step(float x, double cutoffHz);

private:
    float y = 0.0f;
};

// Adds source into target starting at `at`; past the end it wraps to the
// start when wrap is set (seamless loops) and is dropped otherwise.
void AddInto(Signal& target, const Signal& source, std::size_t at, float gain, bool wrap);

// Fills a signal of `seconds` with fn(t) for t in seconds.
Signal Render(double seconds, const std::function<float(double)>& fn);

// Short fades at both ends, so a one-shot starts and ends without a click.
void FadeEnds(Signal& signal, double inSeconds, double outSeconds);
// Scales so the loudest sample reaches `peak`.
void Normalize(Signal& signal, float peak);
// Converts one or two channels (interleaving them) to 16-bit samples.
std::vector<std::int16_t> ToPcm16(const Signal& left, const Signal* right = nullptr);

}  // namespace synth
