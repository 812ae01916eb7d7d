// What hits and explosions show and sound like: a stored sample played at a
// point, and a particle effect started at a point. Both run every frame of
// play, so a sample that is not loaded is warned about once per name and then
// skipped quietly, never looked up through the store's error path.
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
