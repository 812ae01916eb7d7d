// CollisionComp: an object's collision shape (bounding sphere, boxes and the
// separating-axis data) and its collision filter bits.
//
// Two objects are tested when either one's category shares a bit with the
// other's collidesWith. A plain value under the object lock like every
// component (component.h); the collision module writes the sphere and the
// separating-axis fields.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/geom.h"
#include "objects/component.h"
#include "geom/vector_set.h"

class CollisionComp : public PooledComponent<CollisionComp, CompIndex::Collision> {
public:
    // Collision groups are the bits of category and collidesWith: 0..31.
    static constexpr int kGroupCount = 32;

    bool hasBoundSphere = false;
    BoundingSphere boundSphere;  // centre relative to the object, radius 1
    bool hasSATInfo = false;
    VectorSet edgeVectors;
    VectorSet faceNormals;
    std::vector<Vector> meshVerts;
    bool hasOBB = false;
    OBB obb;
    bool hasAABB = false;
    AABB aabb;
    bool canBePicked = true;
    bool resolveContact = true;  // physics pushes bodies apart only when both are set
    uint32_t category = 0;
    uint32_t collidesWith = 0;
};

// Two objects are tested when either one's category shares a bit with the
// other's collidesWith.
inline bool CollisionFiltersMatch(uint32_t categoryA, uint32_t collidesWithA, uint32_t categoryB,
                                  uint32_t collidesWithB) {
    return ((categoryA & collidesWithB) | (collidesWithA & categoryB)) != 0;
}
