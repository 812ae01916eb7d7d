// Generator step: the textures of the game's models: the four mech liveries
// (medium, heavy and their "super" variants), the missile, the two pickups,
// the spawn pad, the building and the grey cockpit panels. Every face of the
// generated box meshes maps the whole picture once, so each texture is one
// armour panel with its trim.
#pragma once

#include <string>

bool GenerateModelTextures(const std::string& runDir);
