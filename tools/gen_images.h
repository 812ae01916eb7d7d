// Generator step: the textures of the two plain test models, the skinned
// drone "drone.png" and the crate "box.png" (registered as "tex_crate").
#pragma once

#include <string>

bool GenerateImages(const std::string& runDir);
