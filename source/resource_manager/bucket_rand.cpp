#include "resource_manager/bucket_rand.h"

#include <cmath>

#include "platform/random.h"

template <unsigned N>
BucketRand<N>::BucketRand() {
    Reset();
}

template <unsigned N>
void BucketRand<N>::Reset() {
    weights.assign(N, 1.0f / float(N));
}

template <unsigned N>
int BucketRand<N>::Choose(float r) const {
    // The widening lets the first bucket whose range reaches r take it, so
    // rounding in the running sum never leaves r between two buckets.
    float sum = 0.0f;
    for (unsigned i = 0; i < weights.size(); ++i) {
        if (sum <= r && sum + weights[i] + 0.0001f > r) return int(i);
        sum += weights[i];
    }
    return -1;
}

template <unsigned N>
unsigned BucketRand<N>::Draw() {
    for (;;) {
        const float r = float(platform::Rand() / double(platform::kRandMax));
        const int bucket = Choose(r);
        if (bucket >= 0) {
            Weaken(unsigned(bucket));
            return unsigned(bucket);
        }
        // The weights drifted so far that r fell past the last bucket.
        Reset();
    }
}

template <unsigned N>
void BucketRand<N>::Weaken(unsigned bucket) {
    weights[bucket] *= factor;
    float total = 0.0f;
    for (float w : weights) total += w;
    const float scale = 1.0f / total;
    for (float& w : weights) w *= scale;
}

template <unsigned N>
float BucketRand<N>::GetRMS() const {
    if (weights.empty()) return 0.0f;
    float squares = 0.0f;
    for (float w : weights) squares += w * w;
    return std::sqrt(squares / float(weights.size()));
}

template class BucketRand<256>;
