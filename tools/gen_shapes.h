// Box-built models: every generated game model (mechs, missile, pickups,
// pads, buildings, cockpit) is a set of axis-aligned boxes added to a
// MeshBuilder, each box optionally bound whole to one bone of a skeleton,
// and their animation keys turn bones about fixed axes.
#pragma once

#include "mesh_builder.h"

// No bone: the vertices keep zero skin data (static meshes).
constexpr int kNoBone = -1;

// Adds the six outward-facing faces of the box centred on `centre` with the
// given half extents, each face mapping the whole texture once. With a bone,
// every vertex gets that bone with weight 1.
void AddBox(MeshBuilder& builder, const Vector& centre, const Vector& half, const float colour[3],
            int bone = kNoBone);

// The turn of `degrees` about the unit `axis`, for animation keys.
Quaternion AxisTurn(const Vector& axis, float degrees);
