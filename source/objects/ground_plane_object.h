// GroundPlaneObject: the terrain of a level: a ground mesh placed by a
// corner position and a scale, with a height map that gives the ground
// height under a point and a colour map that gives its colour. A plain value;
// the ObjectManager holds the current one as its groundObject.
//
// Map contract: the ground holds only the NAMES of its mesh and maps, never
// a pointer to them. Every query looks its map up in the ResourceManager and
// uses it only for the length of that call, so a ground that outlives its
// level's maps (a failed load, a freed category) can never read freed memory:
//   - an empty handle means "no map" and reads quietly as off the map
//     (a default-constructed ground is flat and grey everywhere);
//   - a named map that is not loaded is reported by the store's look-up and
//     reads as off the map;
//   - a zero scale along x or z, or a map without pixels, reads as off the map.
// Off the map the height is pos.y and the colour (0.3, 0.3, 0.3, 1).
//
// Threads: queries are for the main thread and the level-loader thread (the
// store frees maps only on the main thread, never while a loader runs). No
// lock of its own. Never calls OpenGL.
#pragma once

#include "geom/geom.h"
#include "resource_manager/handle.h"

class Texture;

class GroundPlaneObject {
public:
    // Every level's terrain is ringed by cliffs whose inner faces stand this
    // far inside its border; past the border there is no ground at all.
    static constexpr float kRimInset = 40.0f;

    GroundPlaneObject();

    // diag(scale.x, scale.y, scale.z, 1) with pos as translation: a model point
    // m maps to pos + (scale.x m.x, scale.y m.y, scale.z m.z).
    Matrix GetMatrix() const;
    // Ground height under the point's x and z (its y plays no part).
    float GetHeight(const Vector& point) const;
    // Ground colour under the point's x and z as red, green, blue, alpha 1.
    Vector GetColor(const Vector& point) const;
    // Holds a body at `hover` above the ground: clamps position.y and springs
    // and damps velocity.y, using the System's smoothed frame time. Only the
    // y components change.
    void KeepAboveGround(Vector& position, Vector& velocity, float hover) const;
    // Keeps a body of horizontal reach `reach`, hovering at `hover`, on the
    // ground through its next step of `dt` seconds, however long: its
    // position is held inside the rim, and its velocity cut so that the step
    // ends there too and never takes it below half its hover height over the
    // ground where the step ends.
    // Collision alone cannot promise this, since one long step may carry a
    // body past a cliff thinner than the step. A ground too small to hold the
    // rim keeps only the depth.
    void KeepStepInsideRim(Vector& position, Vector& velocity, float reach, float hover, float dt) const;

    Handle meshHandle;
    Handle heightMapHandle;
    Handle colorMapHandle;
    Vector scale;  // world extent: x along x, y the height range, z along z
    Vector pos;    // world position of the map's corner and of height 0

private:
    // The map named by handle, or null (see the map contract above).
    static const Texture* FindMap(const Handle& handle);
    // Texel coordinates of point on map; false when the point is off the map.
    bool ToTexel(const Texture& map, const Vector& point, float& fx, float& fz) const;
};
