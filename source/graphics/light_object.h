// LightObject: one fixed-function light of the scene. The ObjectManager keeps
// them in lightObjectList in the order the scripts appended them; the frame
// hands each to OpenGL. position.w picks the kind: 0 a directional light
// shining from (x, y, z), 1 a point light at (x, y, z), in world coordinates.
//
// A plain record; changed on the main thread or under the object lock.
#pragma once

#include "geom/geom.h"

class LightObject {
public:
    Vector position;
    Vector ambient{0.2f, 0.2f, 0.2f, 1.0f};   // RGBA
    Vector diffuse{0.8f, 0.8f, 0.8f, 1.0f};   // RGBA
    Vector specular{1.0f, 1.0f, 1.0f, 1.0f};  // RGBA
    float constantAtten = 1.0f;
    float linearAtten = 0.0f;
    float quadraticAtten = 0.0f;
};
