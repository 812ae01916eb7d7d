-- Level 1: the basin among rolling hills. The level file has already placed
-- the ground, the scenery, the spawn points and the navigation graph; this
-- script adds what the file cannot describe: the lights and the player.
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

-- The player starts south of the basin's centre, in open ground between the
-- crates and the buildings, facing the centre.
local START_X, START_Z = 1000, 500
local PLAYER_SHIELD = 100

local function MakeLight(position, ambient, diffuse, specular)
  local light = bind.LightObject()
  light.position = position
  light.ambient = ambient
  light.diffuse = diffuse
  light.specular = specular
  return light
end

-- A low, warm sun in the east (w = 0: a directional light, pointing as
-- tools/palette.h's kTowardsSun, which the baked ground shading uses too) and
-- a cool fill light from the other side, so that faces turned from the sun
-- keep their shape.
local function SetLights()
  local lights = objects.lightObjectList
  lights:clear()
  lights:push_back(MakeLight(bind.Vector(0.6, 0.42, -0.25, 0.0), bind.Vector(0.3, 0.26, 0.24, 1.0),
                             bind.Vector(1.15, 1.02, 0.84, 1.0), bind.Vector(1.0, 0.95, 0.85, 1.0)))
  lights:push_back(MakeLight(bind.Vector(-0.6, 0.4, 0.25, 0.0), bind.Vector(0.0, 0.0, 0.0, 1.0),
                             bind.Vector(0.22, 0.26, 0.35, 1.0), bind.Vector(0.0, 0.0, 0.0, 1.0)))
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
