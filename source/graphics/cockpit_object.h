// CockpitObject: the player's cockpit, drawn last over the scene relative to
// the eye. The ObjectManager holds one as cockpit; only the player controller
// changes moveOffset and bobPhase after construction.
//
// Graphics::RenderCockpit draws it (graphics/cockpit.cpp). Main thread.
#pragma once

#include <cmath>

#include "geom/geom.h"
#include "resource_manager/handle.h"

class CockpitObject {
public:
    // A quarter turn about the y axis.
    CockpitObject()
        : rot(std::sin(kQuarterPi), Vector(0.0f, std::cos(kQuarterPi), 0.0f, 0.0f)) {}

    // Eye space from cockpit space: turned by rot, placed at baseOffset +
    // moveOffset raised by the bob (1.5 x sin(bobPhase)), scaled by scale.
    Matrix UpdateTransform() const;

    Quaternion rot;
    Vector baseOffset{0.0f, -4.6f, 4.4f, 0.0f};
    Vector moveOffset;       // steered by the player controller
    float bobPhase = 0.0f;   // radians; advanced by the player controller
    float scale = 1.0f;
    Handle meshHandle{"mesh_cockpit"};
    Handle texHandle{"tex_grey"};  // kept; the drawing uses the mesh's own texture

private:
    static constexpr float kQuarterPi = 0.78539816f;
    static constexpr float kBobHeight = 1.5f;
};
