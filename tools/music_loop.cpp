#include "music_loop.h"

#include <algorithm>
#include <cmath>

using synth::Oscillator;
using synth::Percussive;
using synth::Render;
using synth::Signal;

namespace music {
namespace {

constexpr double kBeat = 0.6;  // 100 beats a minute
constexpr int kBeatsPerChord = 4;
constexpr int kChords = 4;
constexpr double kLength = kBeat * kBeatsPerChord * kChords;  // 9.6 s

struct Chord {
    double root;      // bass note
    double tones[3];  // pad and arpeggio notes
};

// Am - F - C - G
const Chord kProgression[kChords] = {
    {110.00, {220.00, 261.63, 329.63}},
    {87.31, {174.61, 220.00, 261.63}},
    {130.81, {261.63, 329.63, 392.00}},
    {98.00, {196.00, 246.94, 293.66}},
};

// Slow-swelling soft saw for the chord pad.
Signal PadNote(double hz, double seconds) {
    Oscillator osc, detuned;
    return Render(seconds + 0.8, [&](double t) {
        double swell = std::min(1.0, t / 0.5) * (t < seconds ? 1.0 : std::exp(-5.0 * (t - seconds)));
        return static_cast<float>(swell) * (osc.Saw(hz, 6) + detuned.Saw(hz * 1.004, 6)) * 0.5f;
    });
}

Signal BassNote(double hz) {
    Oscillator osc, second;
    return Render(1.2, [&](double t) {
        return (osc.Sine(hz) + 0.35f * second.Sine(2.0 * hz)) * Percussive(t, 0.01, 1.1);
    });
}

Signal Pluck(double hz) {
    Oscillator osc;
    return Render(0.5, [&](double t) { return osc.Saw(hz, 4) * Percussive(t, 0.004, 0.45); });
}

Signal Kick() {
    Oscillator osc;
    return Render(0.3, [&](double t) {
        return osc.Sine(synth::Glide(130.0, 45.0, t / 0.12)) * Percussive(t, 0.002, 0.28);
    });
}

Signal HiHat(std::uint32_t seed) {
    synth::Noise noise(seed);
    synth::LowPass body;
    return Render(0.08, [&](double t) {
        float n = noise.Next();
        return (n - body.Step(n, 6000.0)) * Percussive(t, 0.001, 0.07);
    });
}

std::size_t At(double seconds) { return synth::Samples(seconds); }

// Adds to both sides, panned (-1 left .. 1 right); tails wrap round.
void Place(StereoSignal& mix, const Signal& part, double when, float gain, float pan) {
    synth::AddInto(mix.left, part, At(when), gain * (1.0f - pan) * 0.5f, true);
    synth::AddInto(mix.right, part, At(when), gain * (1.0f + pan) * 0.5f, true);
}

void AddChord(StereoSignal& mix, const Chord& chord, double start) {
    const double chordLength = kBeat * kBeatsPerChord;
    for (int i = 0; i < 3; ++i) Place(mix, PadNote(chord.tones[i], chordLength), start, 0.16f, 0.5f * (i - 1));
    Place(mix, BassNote(chord.root), start, 0.55f, 0.0f);
    Place(mix, BassNote(chord.root), start + 2 * kBeat, 0.45f, 0.0f);
    // Eighth-note arpeggio an octave up, swaying between the sides.
    static const int kPattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
    for (int step = 0; step < 8; ++step) {
        double hz = chord.tones[kPattern[step]] * 2.0;
        Place(mix, Pluck(hz), start + step * kBeat / 2, 0.22f, step % 2 ? 0.45f : -0.45f);
    }
}

void AddDrums(StereoSignal& mix) {
    const int beats = kBeatsPerChord * kChords;
    for (int beat = 0; beat < beats; ++beat) {
        if (beat % 2 == 0) Place(mix, Kick(), beat * kBeat, 0.5f, 0.0f);
        Place(mix, HiHat(0x4A70u + beat), beat * kBeat + kBeat / 2, 0.12f, 0.2f);
    }
}

}  // namespace

StereoSignal BackgroundLoop() {
    StereoSignal mix{Signal(At(kLength)), Signal(At(kLength))};
    for (int c = 0; c < kChords; ++c) AddChord(mix, kProgression[c], c * kBeat * kBeatsPerChord);
    AddDrums(mix);
    // One gain for both sides keeps the stereo image.
    float loudest = 0.0f;
    for (const Signal* side : {&mix.left, &mix.right}) {
        for (float s : *side) loudest = std::max(loudest, std::fabs(s));
    }
    for (Signal* side : {&mix.left, &mix.right}) {
        for (float& s : *side) s *= 0.8f / loudest;
    }
    return mix;
}

}  // namespace music
