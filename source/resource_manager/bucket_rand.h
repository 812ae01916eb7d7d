// BucketRand<N>: a self-balancing random source over N buckets. Each draw is
// a weighted choice; the chosen bucket's weight is then cut by `factor` and
// all weights renormalised, so runs of one value are rare and every value
// turns up. Feeds the renderer's noise texture.
//
// Threads: main thread only; no lock. Shares the project-wide generator
// (platform::Rand) with every other user of it.
#pragma once

#include <vector>

#include "module.h"

template <unsigned N>
class BucketRand : public Singleton<BucketRand<N>> {
public:
    BucketRand();

    // N equal weights of 1/N.
    void Reset();
    // A bucket index 0..N-1, chosen with r = a fresh random number in [0, 1].
    unsigned Draw();
    // The first bucket whose range (widened by 0.0001) holds r; -1 when r
    // lies beyond the last one.
    int Choose(float r) const;
    // sqrt(mean of the squared weights).
    float GetRMS() const;

    float factor = 0.5f;
    std::vector<float> weights;

private:
    // Cuts the chosen weight by factor and scales all weights to sum 1.
    void Weaken(unsigned bucket);
};

extern template class BucketRand<256>;
