-- Level 1: the basin among rolling hills. The level file has already placed
-- the ground, the scenery, the spawn points and the navigation graph; this
-- script adds what the file cannot describe: the lights and the player
-- (level_setup.lua, which says how and on which thread).

local SetUpLevel = dofile('./scripts/level_setup.lua')

-- The player starts north of the basin's centre (1000, 1000), in open ground
-- between the crates and the buildings. Every level starts looking along -z,
-- so the first view runs south over the basin to the far rim, whose cliff
-- turns its sunlit face to the basin with the sky over it.
local START_X, START_Z = 1000, 1500

-- A low, warm sun in the east, leaning north (w = 0: a directional light,
-- pointing as tools/palette.h's kTowardsLevelOneSun, which the baked ground
-- shading uses too) and a cool fill light from the other side, so that faces
-- turned from the sun keep their shape.
SetUpLevel(START_X, START_Z, {
  {bind.Vector(0.6, 0.42, 0.25, 0.0), bind.Vector(0.3, 0.26, 0.24, 1.0),
   bind.Vector(1.15, 1.02, 0.84, 1.0), bind.Vector(1.0, 0.95, 0.85, 1.0)},
  {bind.Vector(-0.6, 0.4, -0.25, 0.0), bind.Vector(0.0, 0.0, 0.0, 1.0),
   bind.Vector(0.22, 0.26, 0.35, 1.0), bind.Vector(0.0, 0.0, 0.0, 1.0)},
})
