// Generator step: the static models, built from boxes, in world units
// (patterns use scale 1):
//   "missile"        centred on the origin, nose along +z (the projectile
//                    spawner turns a missile's +z onto its flight);
//   "pickup_ammo",   centred on the origin, about 6 units across (a dropped
//   "pickup_health"  pickup is lifted by its collision sphere's radius);
//   "spawn_point"    a pad whose top is at y = 1, origin on the ground;
//   "building"       a tower 40 x 64 x 40 standing on y = 0 with a roof
//                    block and an antenna;
//   "cockpit"        the player's cockpit frame, drawn in eye space: the
//                    model's +x is the view direction, its origin sits 4.6
//                    below and 4.4 behind the eye (the cockpit's placement).
#pragma once

#include <string>

bool GeneratePropMeshes(const std::string& runDir);
