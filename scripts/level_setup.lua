-- What every level script adds to its level file: the lights and the player.
-- A level script runs this file and calls the function it returns with the
-- player's start (x and z; the height comes from the ground) and the level's
-- lights, each {position, ambient, diffuse, specular}. Every level starts
-- looking along -z (the loader sets the view after this script), so a level
-- places its start where that way shows the player its arena.
--
-- Runs on the level loader's thread, once per load of the level (restarts
-- included), so everything it sets is set afresh rather than added to.
-- The object lock is held only around the scene members; AddGameObject
-- takes the lock itself and must be called without it.
--
-- The loader fits out the player's two weapons after this (the same for
-- every level); the player only needs its WeaponComp from here.

local PLAYER_SHIELD = 100

local function MakeLight(position, ambient, diffuse, specular)
  local light = bind.LightObject()
  light.position = position
  light.ambient = ambient
  light.diffuse = diffuse
  light.specular = specular
  return light
end

local function SetLights(objects, lights)
  local list = objects.lightObjectList
  list:clear()
  for _, light in ipairs(lights) do
    list:push_back(MakeLight(light[1], light[2], light[3], light[4]))
  end
end

-- The pattern gives the player's machine its hull, collision volumes and
-- hover height (its position's y); the script places it and arms it.
local function BuildPlayer(resources, startX, startZ, groundHeight)
  local player = bind.GameObject('player')
  if not bind.ObjectFactory_StampObject(player, resources:GetPattern('player')) then
    error('the object pattern "player" is missing')
  end
  local hover = player.trans * bind.Vector(0, 1, 0)
  player.trans = bind.Vector(startX, groundHeight + hover, startZ)
  player:AttachComponent(bind.WeaponComp())
  local stats = player:GetStatsComp()
  stats.shield = PLAYER_SHIELD
  stats.sp = PLAYER_SHIELD
  return player
end

return function(startX, startZ, lights)
  local objects = bind.Module_ObjectManager_Instance()
  local resources = bind.Module_ResourceManager_Instance()
  objects:Lock()
  SetLights(objects, lights)
  local groundHeight = objects.groundObject:GetHeight(bind.Vector(startX, 0, startZ))
  objects:Unlock()
  if not objects:AddGameObject(BuildPlayer(resources, startX, startZ, groundHeight)) then
    error('the player could not be registered')
  end
end
