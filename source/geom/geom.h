// The math value types in one include: Vector, Matrix, Quaternion, QuatVec,
// Ray, Plane, AABB, OBB, BoundingSphere, Span, the scalar helpers and the
// picking tests. All are plain values with no shared state, usable on any
// thread at once.
#pragma once

#include "geom/intersect.h"
#include "geom/matrix.h"
#include "geom/obb.h"
#include "geom/quaternion.h"
#include "geom/scalar.h"
#include "geom/shapes.h"
#include "geom/vector.h"
