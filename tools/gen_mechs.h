// Generator step: the enemy machines. Two skinned meshes ("medium_mech" and
// "heavy_mech", each box bound whole to one bone), their skeletons and, per
// machine, two looping animations in the order the behaviour states choose
// them: index 0 "idle" (standing) and index 1 "walk" (moving).
//
// Model space: the feet stand on y = 0, the machine faces +z (the behaviour
// states steer along the object's +z), sizes are world units (patterns use
// scale 1). The gun bones "gun_left" and "gun_right" sit at the gun mounts,
// the heavy machine's "launcher" on its back: the weapons' hot spots name
// them and add the offset to the muzzle.
#pragma once

#include <string>

bool GenerateMechs(const std::string& runDir);
