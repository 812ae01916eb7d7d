// Generator step: the level files "resource/levels/level1.xml" to
// "level3.xml": each level's ground plane, the scenery, spawn points and
// machines placed on the ground, and a navigation graph over the ground the
// machines can walk. Runs after the terrain step, whose height maps it
// reads. Level 1 is laid out here; the city levels in gen_city_levels.cpp.
#pragma once

#include <string>

bool GenerateLevelFiles(const std::string& runDir);
