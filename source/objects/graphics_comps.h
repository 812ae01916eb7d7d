// The components that make an object visible: GraphicsComp (a mesh drawn with
// the object's own skeleton pose) and BillboardComp (a textured quad, the look
// of shots and other sprites). Plain values under the object lock like every
// component (component.h).
#pragma once

#include <cstdint>

#include "animation/animation_stuff.h"
#include "geom/geom.h"
#include "resource_manager/handle.h"
#include "objects/component.h"

class Mesh;

class BillboardComp : public PooledComponent<BillboardComp, CompIndex::Billboard> {
public:
    float width = 0.0f;  // size of the quad, set by whoever builds the sprite
    float height = 0.0f;
    Handle texture;      // the image drawn on the quad
};

class GraphicsComp : public PooledComponent<GraphicsComp, CompIndex::Graphics> {
public:
    // The stored mesh named by modelMesh; null (and logged by the store) when
    // it is not loaded. The mesh is shared by every object that names it.
    Mesh* GetMesh();
    const Mesh* GetMesh() const;
    // diag(modelScale, modelScale, modelScale, 1).
    Matrix GetScaleMatrix() const;

    int32_t flashFrames = 0;  // frames left of the hit flash
    float modelScale = 1.0f;
    Handle modelMesh;
    Skeleton skeleton;        // this object's own pose and playback state
    bool drawAlone = true;    // cleared when the object is drawn through an instance buffer
};
