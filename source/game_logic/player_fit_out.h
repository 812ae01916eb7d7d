// The player as every level load leaves it, whatever its pattern and script
// made of it: picked by rays, turned half about the vertical axis, a foot
// probe "playerFoot" under it, a laser and a missile launcher of fixed
// settings, and the death effect. Also the camera's angles zeroed: every
// level starts looking along -z, restarts included.
//
// Loader thread (or any thread while no frame runs the player).
#pragma once

#include <memory>
#include <string>

class GameLogic;
class ObjectManager;
class Weapon;

// What keeps the level from being played: "no \"player\" object", or the
// components the player lacks ("\"player\" has no WeaponComp StatsComp").
// Empty when it can be played. Caller holds the object lock.
std::string MissingPlayerParts(const ObjectManager& objects);

// Fits out the player and the foot and resets the controller fields of the
// game that a load resets. Takes the object lock itself, and releases it
// around registering the foot (only when no "playerFoot" exists yet). False
// with `missing` filled (see MissingPlayerParts) when the player cannot be
// played; nothing is changed then.
bool FitOutPlayer(GameLogic& game, std::string& missing);

// The player's laser and missile launcher for `owner`; the caller owns them.
std::unique_ptr<Weapon> MakePlayerLaser(const std::string& owner);
std::unique_ptr<Weapon> MakePlayerMissiles(const std::string& owner);
