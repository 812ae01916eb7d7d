#include "sound_effects.h"

#include <cmath>

using synth::Glide;
using synth::LowPass;
using synth::Noise;
using synth::Oscillator;
using synth::Percussive;
using synth::Render;
using synth::Signal;

namespace effects {
namespace {

Signal Finish(Signal signal, float peak = 0.85f) {
    synth::FadeEnds(signal, 0.002, 0.012);
    synth::Normalize(signal, peak);
    return signal;
}

// A noise burst through a low-pass whose cutoff glides, with a low thump.
Signal Blast(double seconds, std::uint32_t seed, double cutoffFrom, double cutoffTo,
             double thumpHz) {
    Noise noise(seed);
    LowPass filter, body;
    Oscillator thump;
    return Render(seconds, [&](double t) {
        double u = t / seconds;
        float rumble = body.Step(filter.Step(noise.Next(), Glide(cutoffFrom, cutoffTo, u)), 900.0);
        float low = thump.Sine(Glide(thumpHz * 2.0, thumpHz, u * 4.0)) * Percussive(t, 0.004, 0.35);
        return (rumble * 2.5f + 0.8f * low) * Percussive(t, 0.006, seconds);
    });
}

// A struck metal or energy surface: inharmonic partials, each dying away.
Signal Ring(double seconds, const double (&partials)[4], const double (&decays)[4]) {
    Oscillator osc[4];
    return Render(seconds, [&](double t) {
        float sum = 0.0f;
        for (int i = 0; i < 4; ++i) sum += osc[i].Sine(partials[i]) * Percussive(t, 0.001, decays[i]);
        return sum;
    });
}

// Filters a loop as if it had been playing round forever: a first pass only
// settles the filter, so the start follows on from the end.
void LowPassRound(Signal& loop, double cutoffHz) {
    LowPass filter;
    for (float s : loop) filter.Step(s, cutoffHz);
    for (float& s : loop) s = filter.Step(s, cutoffHz);
}

}  // namespace

// The player's laser: a bright falling zap, its top edge softened.
Signal Laser1() {
    Oscillator osc, body;
    LowPass soften;
    return Finish(Render(0.24, [&](double t) {
        const double hz = Glide(1700.0, 260.0, t / 0.24);
        return soften.Step(osc.Saw(hz, 5) + 0.4f * body.Sine(hz * 0.5), 5000.0) * Percussive(t, 0.003, 0.24);
    }));
}

Signal Laser2() {
    Oscillator osc, wobble;
    return Finish(Render(0.2, [&](double t) {
        double hz = Glide(2600.0, 650.0, t / 0.2) * (1.0 + 0.06 * wobble.Sine(45.0));
        return (osc.Sine(hz) + 0.3f * osc.Saw(hz * 0.5, 3)) * Percussive(t, 0.002, 0.2);
    }));
}

Signal MissileLaunch() {
    Noise noise(0x5151u);
    LowPass whoosh;
    Oscillator tone;
    return Finish(Render(1.0, [&](double t) {
        double cutoff = t < 0.25 ? Glide(400.0, 3500.0, t / 0.25) : Glide(3500.0, 600.0, (t - 0.25) / 0.75);
        float air = whoosh.Step(noise.Next(), cutoff) * 2.0f;
        float ignition = noise.Next() * Percussive(t, 0.001, 0.05);
        float rise = 0.25f * tone.Saw(Glide(140.0, 420.0, t), 4);
        float envelope = static_cast<float>(std::min(1.0, t / 0.04) * std::exp(-2.2 * t));
        return (air + rise) * envelope + 0.6f * ignition;
    }));
}

Signal ExplosionShort() { return Finish(Blast(0.7, 0xB00Au, 5000.0, 300.0, 55.0)); }

Signal ExplosionLong() {
    Signal signal = Blast(2.2, 0xB00Bu, 3500.0, 150.0, 42.0);
    // Debris crackles scattered through the tail.
    Noise scatter(0xC4AC);
    for (int i = 0; i < 9; ++i) {
        double at = 0.15 + 0.2 * i + 0.08 * scatter.Next();
        Signal crack = Blast(0.25, 0x100u + i, 6000.0, 800.0, 90.0);
        synth::AddInto(signal, crack, synth::Samples(at), 0.35f / (1.0f + 0.3f * i), false);
    }
    return Finish(signal);
}

Signal ShieldHit(int variant) {
    static const double kPartials[3][4] = {
        {1180.0, 1770.0, 2950.0, 410.0}, {880.0, 1310.0, 2200.0, 530.0}, {1500.0, 2260.0, 3700.0, 620.0}};
    static const double kDecays[3][4] = {
        {0.28, 0.18, 0.1, 0.22}, {0.36, 0.24, 0.12, 0.3}, {0.2, 0.14, 0.08, 0.16}};
    int v = (variant < 1 || variant > 3) ? 0 : variant - 1;
    Signal ring = Ring(0.4, kPartials[v], kDecays[v]);
    // A crackle of static where the shot meets the field.
    Noise noise(0x5400u + v);
    LowPass fizz;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        double t = static_cast<double>(i) / synth::kRate;
        ring[i] += (noise.Next() - fizz.Step(noise.Next(), 2500.0)) * 0.3f * Percussive(t, 0.001, 0.06);
    }
    return Finish(ring);
}

Signal HullHit() {
    const double partials[4] = {180.0, 437.0, 781.0, 1233.0};
    const double decays[4] = {0.4, 0.3, 0.2, 0.12};
    Signal clank = Ring(0.45, partials, decays);
    synth::AddInto(clank, Blast(0.3, 0x4011u, 2500.0, 200.0, 70.0), 0, 1.2f, false);
    return Finish(clank);
}

Signal Step() {
    Noise noise(0x57E9u);
    LowPass soft;
    Oscillator thud, click;
    return Finish(Render(0.14, [&](double t) {
        float body = soft.Step(noise.Next(), 700.0) * 3.0f + thud.Sine(Glide(120.0, 70.0, t / 0.14));
        float tick = click.Sine(2100.0) * Percussive(t, 0.0005, 0.02) * 0.3f;
        return body * Percussive(t, 0.002, 0.12) + tick;
    }), 0.7f);
}

Signal Landing() {
    Noise noise(0x1A4Du);
    LowPass soft;
    Oscillator thud, metal;
    return Finish(Render(0.4, [&](double t) {
        float body = soft.Step(noise.Next(), 500.0) * 3.0f + 1.2f * thud.Sine(Glide(90.0, 40.0, t / 0.4));
        float clang = metal.Sine(310.0) * Percussive(t, 0.001, 0.3) * 0.25f;
        return body * Percussive(t, 0.003, 0.35) + clang;
    }));
}

Signal BoostLoop() {
    // One second whose every part repeats a whole number of times in it, and
    // whose noise is filtered round the loop, so the end meets the start.
    const double seconds = 1.0;
    Signal roar(synth::Samples(seconds));
    Noise noise(0xB005u);
    for (float& s : roar) s = noise.Next();
    LowPassRound(roar, 500.0);
    LowPassRound(roar, 500.0);
    Oscillator hum[5], throb;
    for (std::size_t i = 0; i < roar.size(); ++i) {
        float tone = 0.0f;
        for (int k = 0; k < 5; ++k) tone += hum[k].Sine(55.0 * (k + 1)) / (k + 1);
        float pulse = 0.8f + 0.2f * throb.Sine(8.0);
        roar[i] = (roar[i] * 8.0f + 0.35f * tone) * pulse;
    }
    synth::Normalize(roar, 0.7f);
    return roar;
}

Signal HealthPickup() {
    static const double kNotes[4] = {523.25, 659.25, 783.99, 1046.5};  // C E G C
    Signal chime(synth::Samples(0.7));
    for (int n = 0; n < 4; ++n) {
        Oscillator bell, overtone;
        Signal note = Render(0.4, [&](double t) {
            return (bell.Sine(kNotes[n]) + 0.3f * overtone.Sine(kNotes[n] * 2.76)) * Percussive(t, 0.003, 0.35);
        });
        synth::AddInto(chime, note, synth::Samples(0.08 * n), 1.0f, false);
    }
    return Finish(chime, 0.75f);
}

Signal ShieldRecharge() {
    Oscillator base, fifth, tremolo;
    return Finish(Render(0.9, [&](double t) {
        double hz = Glide(280.0, 1150.0, t / 0.8);
        float level = static_cast<float>(std::min(1.0, t / 0.1)) * (0.75f + 0.25f * tremolo.Sine(14.0));
        float tail = t < 0.5 ? 1.0f : Percussive(t - 0.5, 0.0001, 0.4);
        return (base.Sine(hz) + 0.4f * fifth.Sine(hz * 1.5)) * level * tail;
    }), 0.75f);
}

}  // namespace effects
