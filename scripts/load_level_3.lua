-- Level 3: the city and its plaza. The level file has already placed the
-- ground, the blocks, the machines in the streets, the spawn points and the
-- navigation graph; this script adds what the file cannot describe: the
-- lights and the player (level_setup.lua, which says how and on which
-- thread).

local SetUpLevel = dofile('./scripts/level_setup.lua')

-- The player starts at a crossing in the north of the city, facing down the
-- street that leads south to the plaza (the waves begin below z = 1300).
local START_X, START_Z = 1000, 1750

-- The sun in level 1's colours (w = 0: a directional light, pointing as
-- tools/palette.h's kTowardsSun) and a stronger cool fill light from the
-- other side: the streets lie in the blocks' shadows.
SetUpLevel(START_X, START_Z, {
  {bind.Vector(0.6, 0.42, -0.25, 0.0), bind.Vector(0.3, 0.26, 0.24, 1.0),
   bind.Vector(1.15, 1.02, 0.84, 1.0), bind.Vector(1.0, 0.95, 0.85, 1.0)},
  {bind.Vector(-0.6, 0.4, 0.25, 0.0), bind.Vector(0.0, 0.0, 0.0, 1.0),
   bind.Vector(0.26, 0.3, 0.4, 1.0), bind.Vector(0.0, 0.0, 0.0, 1.0)},
})
