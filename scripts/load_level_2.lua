-- Level 2: the shaft. The level file has already placed the ground, the
-- shaft's walls, the city's edge and the navigation graph; this script adds
-- what the file cannot describe: the lights and the player (level_setup.lua,
-- which says how and on which thread).

local SetUpLevel = dofile('./scripts/level_setup.lua')

-- The player starts in the middle of the shaft's floor, walled in on every
-- side: the way out is one full thrust of the boost over a wall.
local START_X, START_Z = 1000, 400

-- The sun (w = 0: a directional light, pointing as tools/palette.h's
-- kTowardsSun), a little dustier over the plateau, and the cool fill light
-- from the other side, so that the shaft's shaded walls keep their shape.
SetUpLevel(START_X, START_Z, {
  {bind.Vector(0.6, 0.42, -0.25, 0.0), bind.Vector(0.32, 0.26, 0.22, 1.0),
   bind.Vector(1.15, 0.99, 0.8, 1.0), bind.Vector(1.0, 0.95, 0.85, 1.0)},
  {bind.Vector(-0.6, 0.4, 0.25, 0.0), bind.Vector(0.0, 0.0, 0.0, 1.0),
   bind.Vector(0.22, 0.26, 0.35, 1.0), bind.Vector(0.0, 0.0, 0.0, 1.0)},
})
