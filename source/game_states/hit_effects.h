// What hits and explosions show and sound like: a stored sample played at a
// point (SoundManager::PlayStoredSample, which warns once about a sample that
// is not loaded), and a particle effect started at a point.
//
// Main thread only. Neither takes the object lock, so the hit handling calls
// them while holding it.
#pragma once

#include <string>

#include "geom/geom.h"

struct effectData;

namespace hit_effects {

// Plays a copy of the stored sample placed at `at`.
void PlayAt(const std::string& sample, const Vector& at);

// Starts the effect at `at`, following no object.
void ShowEffect(const effectData& effect, const Vector& at);

}  // namespace hit_effects
