// Generator step: the level file "resource/levels/level1.xml": its ground
// plane, the scenery and spawn points placed on the ground, and a navigation
// grid over the walkable basin. Heights come from the generated height map,
// read the way the game reads it, so objects stand on the ground that is
// drawn. Runs after the terrain step.
#pragma once

#include <string>

bool GenerateLevelFiles(const std::string& runDir);
