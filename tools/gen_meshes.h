// Generator step: procedural meshes, the drone's skeleton and its
// animations, written with the engine's own binary writers.
#pragma once

#include <string>

bool GenerateMeshes(const std::string& runDir);
