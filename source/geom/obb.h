// OBB: an oriented bounding box (centre, half sizes along its own axes,
// rotation), built by the collision module. A plain value, any thread.
#pragma once

#include <array>
#include <vector>

#include "geom/matrix.h"
#include "geom/quaternion.h"
#include "geom/vector.h"

struct OBB {
    Vector center;
    Vector extents;  // half sizes along the box's own axes
    Quaternion rot;

    OBB(const Vector& center = Vector(), const Vector& extents = Vector(),
        const Quaternion& rot = Quaternion(1.0f));

    // Columns 0..2 are the box's half axes in world orientation; no
    // translation (the centre is not used).
    Matrix GetExtentsMatrix() const;
    // The eight corners; corner i takes +axis k when bit k of i is set, -axis
    // otherwise. Each corner keeps center.w.
    std::vector<Vector> GetVerts() const;
    // The same eight corners without a heap allocation (per-frame tests).
    std::array<Vector, 8> Corners() const;
};
