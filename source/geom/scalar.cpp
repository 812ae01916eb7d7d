#include "geom/scalar.h"

#include "platform/random.h"

namespace {

constexpr unsigned kBitsInFlags = 32;

float UnitDraw() {
    const float value = static_cast<float>(platform::Rand() / 32767.0);
    // The generator already stays within 0..32767; the clamp keeps the
    // documented range even if it ever changes.
    if (value < 0.0f) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;
}

}  // namespace

float RandFloat() { return UnitDraw(); }

float RandSign() { return (platform::Rand() % 2 == 0) ? 1.0f : -1.0f; }

float RandSignedFloat() {
    const float sign = RandSign();
    return sign * UnitDraw();
}

float SignFloat(float x) { return x >= 0.0f ? 1.0f : -1.0f; }

float ClampFloat(float value, float min, float max) {
    const float low = value > min ? value : min;
    return low < max ? low : max;
}

bool RangeIntersect(float aMin, float aMax, float bMin, float bMax) {
    if (bMin <= aMin) return bMax > aMin;
    return aMax > bMin;
}

unsigned SetBit(unsigned& flags, unsigned n) {
    flags |= 1u << (n % kBitsInFlags);
    return flags;
}

unsigned UnsetBit(unsigned& flags, unsigned n) {
    flags &= ~(1u << (n % kBitsInFlags));
    return flags;
}

int CheckBit(unsigned flags, unsigned n) {
    // Shifting by 32 or more is undefined; such a bit simply does not exist.
    if (n >= kBitsInFlags) return 0;
    return static_cast<int>((flags >> n) & 1u);
}
