// RayIntersectRecord: one hit of the picking ray on an object, as the
// collision thread finds it and the CollisionManager publishes it. A plain
// value copied between threads; it holds no pointer into the object table.
#pragma once

#include "geom/geom.h"

struct RayIntersectRecord {
    double time = 0.0;     // System clock time of the test
    float rayParam = 0.0f; // t of the hit: origin + t * direction
    unsigned objNum = 0;   // the object hit
    Vector intersectPoint; // the hit point
    QuatVec objPos;        // the object's rot and trans when tested (identity by default)
};
