// Writes generated meshes, skeletons and animations into their run-folder
// folders under a base name, through the engine's own binary writers (which
// add ".bin", ".skl" and ".anm"). The registry names the same base paths.
#pragma once

#include <string>

#include "animation/animation_stuff.h"
#include "resource_manager/mesh.h"

// Each returns false (with a message) when the folder or file cannot be
// written.
bool WriteMesh(const std::string& runDir, const std::string& name, const Mesh& mesh);
bool WriteSkeleton(const std::string& runDir, const std::string& name, const Skeleton& skeleton);
// The file is named after the set's own name.
bool WriteAnimation(const std::string& runDir, const AnimSet& animSet);
