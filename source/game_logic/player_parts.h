// The player's pieces as the player controller, the dead-player motion and
// the in-game death check find them: the objects "player" and "playerFoot",
// the player's StatsComp and PhysicsComp. A level whose script made no such
// player (or a broken one) leaves these users idle instead of crashing, with
// one warning per missing piece until the next level load starts.
//
// Main thread only. The look-ups expect the object lock held by the caller;
// the pointers they give live only as long as that hold (an object may be
// erased the moment it is released).
#pragma once

#include <string>

class GameObject;
class ObjectManager;
class PhysicsComp;
class StatsComp;

struct PlayerParts {
    GameObject* player = nullptr;
    GameObject* foot = nullptr;
    StatsComp* stats = nullptr;
    PhysicsComp* body = nullptr;
};

// How far the machine's collision sphere reaches out from its position: it
// stops at the rim with its side, not its eye, against the cliff.
constexpr float kPlayerReach = 14.0f;

// The foot probe's name; the player's is GameObject::kPlayerName.
constexpr const char* kPlayerFootName = "playerFoot";

// True when all four pieces are there. Otherwise false, after warning once
// about each missing piece. Caller holds the object lock.
bool FindPlayerParts(ObjectManager& objects, PlayerParts& parts);

// Warns once (until ForgetMissingParts) with `what` is missing.
void WarnMissingPart(const std::string& what);
// A new level load starts: its missing pieces are reported again.
void ForgetMissingParts();
