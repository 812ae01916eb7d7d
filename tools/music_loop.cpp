#include "music_loop.h"

#include <algorithm>
#include <cmath>

using synth::LowPass;
using synth::Oscillator;
using synth::Percussive;
using synth::Render;
using synth::Signal;

namespace music {
namespace {

constexpr double kBeat = 60.0 / 90.0;  // 90 beats a minute
constexpr int kBeatsPerBar = 4;
constexpr double kBar = kBeat * kBeatsPerBar;
constexpr int kBarsPerPhrase = 8;
constexpr int kPhrases = 3;
constexpr int kBars = kBarsPerPhrase * kPhrases;  // 24 bars: 64 s before it repeats
constexpr double kLength = kBar * kBars;

struct Chord {
    double root;      // bass note
    double tones[3];  // pad and arpeggio notes
};

// One phrase: Am - F - C - G - Am - F - Dm - E, the E leading back home.
const Chord kPhrase[kBarsPerPhrase] = {
    {110.00, {220.00, 261.63, 329.63}}, {87.31, {174.61, 220.00, 261.63}},
    {130.81, {261.63, 329.63, 392.00}}, {98.00, {196.00, 246.94, 293.66}},
    {110.00, {220.00, 261.63, 329.63}}, {87.31, {174.61, 220.00, 261.63}},
    {73.42, {146.83, 174.61, 220.00}},  {82.41, {164.81, 207.65, 246.94}},
};

// The lead's tune over the last phrase: one note (Hz, 0 a rest) per half
// bar, in A minor over the chords below it.
const double kTune[kBarsPerPhrase * 2] = {
    659.25, 523.25, 698.46, 659.25, 783.99, 659.25, 587.33, 493.88,
    659.25, 880.00, 698.46, 523.25, 587.33, 698.46, 659.25, 0.0,
};

// Slow-swelling soft saw, darkened by a low-pass, for the chord pad.
Signal PadNote(double hz, double seconds) {
    Oscillator osc, detuned;
    LowPass soften;
    return Render(seconds + 0.8, [&](double t) {
        double swell = std::min(1.0, t / 0.6) * (t < seconds ? 1.0 : std::exp(-5.0 * (t - seconds)));
        float voice = (osc.Saw(hz, 5) + detuned.Saw(hz * 1.004, 5)) * 0.5f;
        return static_cast<float>(swell) * soften.Step(voice, 1400.0);
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
    LowPass soften;
    return Render(0.5, [&](double t) {
        return soften.Step(osc.Saw(hz, 4), 2600.0) * Percussive(t, 0.004, 0.45);
    });
}

// A soft lead: a sine with a little octave and a slow vibrato.
Signal LeadNote(double hz, double seconds) {
    Oscillator osc, octave, vibrato;
    return Render(seconds + 0.3, [&](double t) {
        double bend = hz * (1.0 + 0.004 * vibrato.Sine(5.0) * std::min(1.0, t / 0.4));
        double envelope = std::min(1.0, t / 0.05) * (t < seconds ? 1.0 - 0.3 * t / seconds : 0.7 * std::exp(-12.0 * (t - seconds)));
        return static_cast<float>(envelope) * (osc.Sine(bend) + 0.25f * octave.Sine(bend * 2.0));
    });
}

Signal Kick() {
    Oscillator osc;
    return Render(0.3, [&](double t) {
        return osc.Sine(synth::Glide(130.0, 45.0, t / 0.12)) * Percussive(t, 0.002, 0.28);
    });
}

Signal HiHat(std::uint32_t seed) {
    synth::Noise noise(seed);
    LowPass body;
    return Render(0.08, [&](double t) {
        float n = noise.Next();
        return (n - body.Step(n, 6000.0)) * Percussive(t, 0.001, 0.07);
    });
}

Signal Snare(std::uint32_t seed) {
    synth::Noise noise(seed);
    LowPass body;
    Oscillator tone;
    return Render(0.25, [&](double t) {
        float n = noise.Next();
        return 0.7f * (n - body.Step(n, 1800.0)) * Percussive(t, 0.001, 0.18) + 0.4f * tone.Sine(190.0) * Percussive(t, 0.001, 0.08);
    });
}

std::size_t At(double seconds) { return synth::Samples(seconds); }

// Adds to both sides, panned (-1 left .. 1 right); tails wrap round, so the
// end of the piece runs on into its start.
void Place(StereoSignal& mix, const Signal& part, double when, float gain, float pan) {
    synth::AddInto(mix.left, part, At(when), gain * (1.0f - pan) * 0.5f, true);
    synth::AddInto(mix.right, part, At(when), gain * (1.0f + pan) * 0.5f, true);
}

void AddPadAndBass(StereoSignal& mix, const Chord& chord, double start) {
    for (int i = 0; i < 3; ++i) Place(mix, PadNote(chord.tones[i], kBar), start, 0.16f, 0.5f * float(i - 1));
    Place(mix, BassNote(chord.root), start, 0.55f, 0.0f);
    Place(mix, BassNote(chord.root), start + 2 * kBeat, 0.45f, 0.0f);
}

// Eighth-note arpeggio an octave up, swaying between the sides.
void AddArpeggio(StereoSignal& mix, const Chord& chord, double start, float gain) {
    static const int kPattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
    for (int step = 0; step < 8; ++step)
        Place(mix, Pluck(chord.tones[kPattern[step]] * 2.0), start + step * kBeat / 2, gain, step % 2 ? 0.45f : -0.45f);
}

// Kick on the first and third beats, hats between; with `snare`, a snare
// on the second and fourth.
void AddDrums(StereoSignal& mix, int bar, bool snare) {
    const double start = bar * kBar;
    for (int beat = 0; beat < kBeatsPerBar; ++beat) {
        const std::uint32_t seed = 0x4A70u + std::uint32_t(bar * kBeatsPerBar + beat);
        if (beat % 2 == 0) Place(mix, Kick(), start + beat * kBeat, 0.5f, 0.0f);
        else if (snare) Place(mix, Snare(seed), start + beat * kBeat, 0.22f, -0.1f);
        Place(mix, HiHat(seed), start + beat * kBeat + kBeat / 2, 0.12f, 0.2f);
    }
}

}  // namespace

// Three phrases of eight bars: the pad and bass alone with a quiet
// arpeggio, then the drums join, then the lead's tune over full drums;
// then it starts again, the last bar's tails running on into the first.
StereoSignal BackgroundLoop() {
    StereoSignal mix{Signal(At(kLength)), Signal(At(kLength))};
    for (int bar = 0; bar < kBars; ++bar) {
        const int phrase = bar / kBarsPerPhrase, inPhrase = bar % kBarsPerPhrase;
        const Chord& chord = kPhrase[inPhrase];
        AddPadAndBass(mix, chord, bar * kBar);
        AddArpeggio(mix, chord, bar * kBar, phrase == 0 ? 0.12f : 0.2f);
        if (phrase > 0) AddDrums(mix, bar, phrase == 2);
        if (phrase == 2)
            for (int half = 0; half < 2; ++half) {
                const double hz = kTune[inPhrase * 2 + half];
                if (hz > 0.0) Place(mix, LeadNote(hz, kBar / 2 - 0.1), bar * kBar + half * kBar / 2, 0.2f, 0.15f);
            }
    }
    // One gain for both sides keeps the stereo image; the peak stays well
    // below full scale.
    float loudest = 0.0f;
    for (const Signal* side : {&mix.left, &mix.right})
        for (float s : *side) loudest = std::max(loudest, std::fabs(s));
    for (Signal* side : {&mix.left, &mix.right})
        for (float& s : *side) s *= 0.8f / loudest;
    return mix;
}

}  // namespace music
