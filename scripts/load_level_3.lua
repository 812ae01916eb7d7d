-- Level 3: the city and its plaza. The level file has already placed the
-- ground, the blocks, the machines in the streets, the spawn points and the
-- navigation graph; this script adds what the file cannot describe: the
-- lights and the player.
--
-- Runs on the level loader's thread, once per load of the level (restarts
-- included), so everything it sets is set afresh rather than added to.
-- The object lock is held only around the scene members; AddGameObject
-- takes the lock itself and must be called without it.
--
-- The loader fits out the player's two weapons after this script (the same
-- for every level); the player only needs its WeaponComp from here.

local objects = bind.Module_ObjectManager_Instance()
local resources = bind.Module_ResourceManager_Instance()

-- The player starts at a crossing in the north of the city, facing down the
-- street that leads south to the plaza (the waves begin below z = 1300).
local START_X, START_Z = 1000, 1750
local PLAYER_SHIELD = 100

local function MakeLight(position, ambient, diffuse, specular)
  local light = bind.LightObject()
  light.position = position
  light.ambient = ambient
  light.diffuse = diffuse
  light.specular = specular
  return light
end

-- The sun of level 1 (w = 0: a directional light) and a stronger cool fill
-- light from the other side: the streets lie in the blocks' shadows.
local function SetLights()
  local lights = objects.lightObjectList
  lights:clear()
  lights:push_back(MakeLight(bind.Vector(0.6, 0.42, -0.25, 0.0), bind.Vector(0.3, 0.26, 0.24, 1.0),
                             bind.Vector(1.15, 1.02, 0.84, 1.0), bind.Vector(1.0, 0.95, 0.85, 1.0)))
  lights:push_back(MakeLight(bind.Vector(-0.6, 0.4, 0.25, 0.0), bind.Vector(0.0, 0.0, 0.0, 1.0),
                             bind.Vector(0.26, 0.3, 0.4, 1.0), bind.Vector(0.0, 0.0, 0.0, 1.0)))
end

local function GroundHeightAt(x, z)
  return objects.groundObject:GetHeight(bind.Vector(x, 0, z))
end

-- The pattern gives the player's machine its hull, collision volumes and
-- hover height (its position's y); the script places it and arms it.
local function BuildPlayer(groundHeight)
  local player = bind.GameObject('player')
  if not bind.ObjectFactory_StampObject(player, resources:GetPattern('player')) then
    error('the object pattern "player" is missing')
  end
  local hover = player.trans * bind.Vector(0, 1, 0)
  player.trans = bind.Vector(START_X, groundHeight + hover, START_Z)
  player:AttachComponent(bind.WeaponComp())
  local stats = player:GetStatsComp()
  stats.shield = PLAYER_SHIELD
  stats.sp = PLAYER_SHIELD
  return player
end

objects:Lock()
SetLights()
local groundHeight = GroundHeightAt(START_X, START_Z)
objects:Unlock()

if not objects:AddGameObject(BuildPlayer(groundHeight)) then
  error('the player could not be registered')
end
