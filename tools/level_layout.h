// Where things stand in levels 2 and 3, and the rim of all three levels, in
// world units, shared by the steps that must agree on it: the terrain
// (heights and painted streets), the scenery models (their sizes) and the
// level files (placements and the navigation graph). Every map is 2000 x
// 2000 units with its corner at the origin and heights 0..200.
//
// Every level's rim: four cliffs of rock along the map's border. The ground
// plane ends at the border (past it the game finds height 0 and draws
// nothing), and the controller lifts a walking player onto any slope, so only
// solid walls keep the player on the ground; the terrain's own rim rises
// against their feet.
//
// Level 2, the shaft: a square pit with a flat floor at height 0, walled on
// all four sides by scenery (the controller lifts a walking player onto any
// terrain at once, so only solid walls keep the player in). The terrain
// climbs to the plateau under the walls' outer halves, so both the floor
// inside and the plateau outside are flat up to the walls. North of the
// shaft the plateau falls towards the city, whose edge holds the goal
// (x < 800, z > 1420).
//
// Level 3, the city: blocks on a 250-unit grid, their streets 90 wide on
// the grid lines; the player starts in the streets at z >= 1300 and the
// plaza opens south of z = 1250, walled by blocks on three sides.
#pragma once

#include "objects/ground_plane_object.h"

namespace layout {

constexpr float kMapSize = 2000.0f;
constexpr float kHeightRange = 200.0f;

// The rim's cliffs: their inner faces kRimInset inside the border, the rest
// of their thickness beyond it; the two along x run past the corners, the
// two along z close the gaps between them. They rise from height 0, under
// the highest ground, to kRimCliffTop, solid as high as their rock is drawn.
// The game holds the player inside their inner faces at every step, however
// long (one long step could carry a body through a cliff), so a thrust that
// clears their tops still cannot leave the map; and the sky stays in view
// over the rim from anywhere on the map: from level 1's start, looking at
// the basin's centre, over the far cliff 1460 units away, on about a fifth
// of the window.
constexpr float kRimInset = GroundPlaneObject::kRimInset;
constexpr float kRimWallThickness = 100.0f;
constexpr float kRimCliffTop = 500.0f;
// Half lengths: the walls along x span the whole border, those along z the
// part between the others' inner faces.
constexpr float kRimWallXHalf = kMapSize / 2.0f + kRimWallThickness - kRimInset;
constexpr float kRimWallZHalf = kMapSize / 2.0f - kRimInset;
// How far the walls' middles lie from the map's near edge (negative: beyond it).
constexpr float kRimWallMiddle = kRimInset - kRimWallThickness / 2.0f;

// City grid (both city levels): block (i, j) is centred on
// (kBlockPitch * (i + 0.5), kBlockPitch * (j + 0.5)); streets run along the
// multiples of kBlockPitch between them.
constexpr float kBlockPitch = 250.0f;
constexpr float kBlockHalf = 80.0f;  // a city block is 160 x 160
constexpr float kStreetHalf = kBlockPitch / 2.0f - kBlockHalf;  // 45
constexpr float kCityBlockHeight = 128.0f;
constexpr float kTowerHalf = 40.0f;
constexpr float kTowerHeight = 256.0f;

// Level 2's shaft, centred on a 50-unit line of the ground mesh so that the
// mesh's corners fall on the floor's and the walls' edges.
constexpr float kShaftX = 1000.0f;
constexpr float kShaftZ = 400.0f;
constexpr float kShaftInnerHalf = 150.0f;  // the floor is 300 x 300
constexpr float kShaftWallThickness = 100.0f;
constexpr float kShaftOuterHalf = kShaftInnerHalf + kShaftWallThickness;
// 140 above the floor: out of reach of a walk or a dash, within reach of
// one full thrust of the boost (about 245 units).
constexpr float kShaftWallHeight = 140.0f;
// The floor stays flat to the walls' middle; the plateau begins at their
// outer faces.
constexpr float kShaftFlatHalf = kShaftInnerHalf + kShaftWallThickness / 2.0f;
constexpr float kPlateauHeight = 0.55f;  // of kHeightRange: 110, 30 below the walls' tops
constexpr float kCityFloorHeight = 0.1f;

// Level 2's goal, the edge of the city (strict bounds).
constexpr float kGoalMaxX = 800.0f;
constexpr float kGoalMinZ = 1420.0f;

// Level 3: the city's blocks fill columns 1 to 6 (the desert lies beyond
// them, east and west) but for the plaza and a small square. The plaza lies
// between the blocks of columns 1 and 6 and north of those of row 0, up to
// the street along z = kPlazaNorth; the waves begin once the player is
// below z = 1300.
constexpr int kCityFirstColumn = 1;
constexpr int kCityLastColumn = 6;
constexpr int kSquareColumn = 4;
constexpr int kSquareRow = 6;
constexpr float kPlazaWest = 500.0f;
constexpr float kPlazaEast = 1500.0f;
constexpr float kPlazaSouth = kBlockPitch / 2.0f + kBlockHalf;  // 205
constexpr float kPlazaNorth = 1250.0f;
constexpr float kPlazaFloorHeight = 0.07f;

}  // namespace layout
