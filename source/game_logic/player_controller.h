// The player controller: one frame of the player's machine driven by the
// keys and the mouse. It keeps the foot probe under the player, walks,
// dashes (one frame per press while the dash key is held) and thrusts
// upwards on the boost meter, falls and hovers, turns the camera with the
// mouse, fires both weapons, drains and recharges the boost meter and the
// shield, bobs and lags the cockpit, and plays the step, landing, boost and
// shield-recharge sounds at the camera. A weapon fires only on a press begun
// in play: a button still held from the menu click that started play fires
// once pressed anew.
//
// Main thread only, called by the in-game state once per frame while the
// player lives. It holds the object lock from its look-ups to its end (the
// weapons fire under it); nothing it calls takes that lock or registers
// objects. Sends no events. Its state is GameLogic's controller fields and
// hardFall below.
#pragma once

class GameLogic;

// Set when the player falls faster than 80 units per second; cleared by the
// landing sound. Survives level changes. Main thread only.
extern bool hardFall;

// One frame of player control. Does nothing, after one warning per missing
// piece, when "player", "playerFoot" or the player's StatsComp or PhysicsComp
// is missing; a missing WeaponComp or weapon only keeps that weapon silent.
void ControlPlayer(GameLogic& logic);
