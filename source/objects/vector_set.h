// VectorSet: a list of Vectors with a tolerance, the form in which the
// collision module keeps a shape's edge directions and face normals. This is
// the record the collision component stores; the set operations (membership
// within the tolerance, adding without duplicates) belong to the collision
// volumes.
#pragma once

#include <vector>

#include "geom/geom.h"

struct VectorSet {
    explicit VectorSet(float tolerance = 1e-8f) : tolerance(tolerance) {}

    float tolerance;
    std::vector<Vector> vectors;
};
