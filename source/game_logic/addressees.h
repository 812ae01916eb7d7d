// The event clients that the game flow writes to, by their client names.
#pragma once

namespace addressee {

constexpr const char* kGameLogic = "GameLogic";
constexpr const char* kGraphics = "Graphics";
constexpr const char* kInterfaceManager = "InterfaceManager";
constexpr const char* kSoundManager = "SoundManager";
constexpr const char* kPhysics = "Physics";
constexpr const char* kCollisionManager = "CollisionManager";
constexpr const char* kBehaviorManager = "BehaviorManager";
constexpr const char* kSpawnManager = "SpawnManager";

}  // namespace addressee
