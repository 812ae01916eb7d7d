#include "synth_kit.h"

#include <algorithm>
#include <cmath>

namespace synth {

float Noise::Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state / 2147483648.0 - 1.0);
}

float Oscillator::Sine(double hz) {
    float value = static_cast<float>(std::sin(phase));
    phase = std::fmod(phase + 2.0 * kPi * hz / kRate, 2.0 * kPi);
    return value;
}

float Oscillator::Saw(double hz, int harmonics) {
    double sum = 0.0;
    for (int n = 1; n <= harmonics && n * hz < kRate / 2.0; ++n) sum += std::sin(n * phase) / n;
    phase = std::fmod(phase + 2.0 * kPi * hz / kRate, 2.0 * kPi);
    return static_cast<float>(sum * 0.6);
}

double Glide(double from, double to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return from * std::pow(to / from, t);
}

float Percussive(double t, double attack, double decay) {
    if (t < 0.0) return 0.0f;
    if (t < attack) return static_cast<float>(t / attack);
    return static_cast<float>(std::exp(-6.9 * (t - attack) / decay));
}

float LowPass::Step(float x, double cutoffHz) {
    double a = 1.0 - std::exp(-2.0 * kPi * cutoffHz / kRate);
    y += static_cast<float>(a) * (x - y);
    return y;
}

void AddInto(Signal& target, const Signal& source, std::size_t at, float gain, bool wrap) {
    if (target.empty()) return;
    for (std::size_t i = 0; i < source.size(); ++i) {
        std::size_t index = at + i;
        if (index >= target.size()) {
            if (!wrap) return;
            index %= target.size();
        }
        target[index] += gain * source[i];
    }
}

Signal Render(double seconds, const std::function<float(double)>& fn) {
    Signal signal(Samples(seconds));
    for (std::size_t i = 0; i < signal.size(); ++i) signal[i] = fn(static_cast<double>(i) / kRate);
    return signal;
}

void FadeEnds(Signal& signal, double inSeconds, double outSeconds) {
    std::size_t in = std::min(Samples(inSeconds), signal.size());
    std::size_t out = std::min(Samples(outSeconds), signal.size());
    for (std::size_t i = 0; i < in; ++i) signal[i] *= static_cast<float>(i) / in;
    for (std::size_t i = 0; i < out; ++i) signal[signal.size() - 1 - i] *= static_cast<float>(i) / out;
}

void Normalize(Signal& signal, float peak) {
    float loudest = 0.0f;
    for (float s : signal) loudest = std::max(loudest, std::fabs(s));
    if (loudest <= 0.0f) return;
    for (float& s : signal) s *= peak / loudest;
}

std::vector<std::int16_t> ToPcm16(const Signal& left, const Signal* right) {
    auto convert = [](float s) {
        return static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
    };
    std::vector<std::int16_t> out;
    out.reserve(left.size() * (right ? 2 : 1));
    for (std::size_t i = 0; i < left.size(); ++i) {
        out.push_back(convert(left[i]));
        if (right) out.push_back(convert(i < right->size() ? (*right)[i] : 0.0f));
    }
    return out;
}

}  // namespace synth
