// Generator step: the static models and their textures, built as model
// sketches (boxes and prisms, one atlas each, panel lines and ambient
// occlusion baked in; see model_sketch.h and model_paint.h). World units,
// patterns use scale 1:
//   "missile"        centred on the origin, nose along +z (the projectile
//                    spawner turns a missile's +z onto its flight);
//   "pickup_ammo"    an olive ammunition case with brass rounds, and
//   "pickup_health"  a red cross, each centred on the origin and about 6
//                    units across (a dropped pickup is lifted by its
//                    collision sphere's radius);
//   "spawn_point"    a pad whose top is at y = 1, origin on the ground;
//   "building"       a tower 40 x 60 x 40 standing on y = 0 with a roof
//                    house and an antenna, floors of windows, weathered;
//   "cockpit"        the player's cockpit frame, drawn in eye space without
//                    depth test: the model's +x is the view direction, the
//                    eye at (4.4, 4.6, 0) (the cockpit's placement); only
//                    faces turned to the eye, farthest first.
#pragma once

#include <string>

bool GeneratePropMeshes(const std::string& runDir);
