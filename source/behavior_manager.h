// BehaviorManager: gives non-player objects their behaviour. Each unpaused
// frame it steps the top state of every live object's BehaviorComp, plans a
// navigation path for one enemy in turn, keeps each enemy's line-of-sight flag
// from the collision manager's sight ray, and finally registers the objects
// that other code built during the frame (shots, missiles, explosions), so
// that the object table never changes while somebody walks it.
//
// Owns the level's navigation graph (navGraph), the queue of objects waiting
// to be registered and the planning turn. Further files: behavior_manager/
// planning.cpp (the planning turn and line of sight).
//
// Threads: everything runs on the main thread, except ReplaceNavGraph, which
// the level loader calls on its own thread. The graph is swapped and searched
// only under the object lock. Update takes the object lock for the planning
// turn and for the walk over the states (which run inside it and must never
// take it again); it talks to the CollisionManager only outside the object
// lock, and registers the queued objects after releasing it (AddGameObject
// takes the lock itself).
//
// Events: client "BehaviorManager"; nothing is addressed to it and it sends
// none. Update does nothing before Init or after Kill.
#pragma once

#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "aistuff/nav_graph.h"
#include "collision_manager/ray_intersect_record.h"
#include "geom/geom.h"
#include "module.h"
#include "objects/game_object.h"

class FSMStateMachine;

class BehaviorManager : public virtual Module<BehaviorManager> {
public:
    static constexpr const char* kPlayerName = "player";
    // Sight rays remembered until their answer is published; older ones are
    // forgotten (the collision pass answers each frame, so a few suffice).
    static constexpr std::size_t kMaxSightAims = 8;

    BehaviorManager();

    // Registers the event client; planning on, no enemy's turn yet.
    void Init() override;
    // The planning turn, the player's node, the events, the state walk, then
    // the queued objects, last queued first. Main thread, not while paused.
    void Update() override;
    void Kill() override;
    // Nothing is addressed to this module: every event is ignored.
    void ProcessEvent(const Event&) override {}

    // Keeps a copy of the object until the end of the next Update, which
    // registers it. Main thread only; no lock needed or taken.
    void QueueGameObject(GameObject object);
    // Forgets every queued object (a level load starts without the previous
    // level's shots). Main thread only.
    void ClearPendingObjects();
    // Swaps `graph` in as navGraph under the object lock; `graph` receives the
    // old one, to be freed by the caller outside the lock. The level loader
    // fills a fresh graph on its own thread and hands it over here, so no
    // search ever sees a half-filled graph. The caller must not hold the
    // object lock.
    void ReplaceNavGraph(NavGraph& graph);

    NavGraph navGraph;             // the level's graph; swapped and searched under the object lock
    int playerNode = 0;            // the player's nearest node as of the last frame with a player
    bool playerNodeChanged = false;  // true for the one frame after playerNode changed
    std::vector<unsigned> enemyList; // objects with stats other than the player, rebuilt every frame
    unsigned currentEnemy = 0;     // whose planning turn is next; 0 = none
    std::deque<GameObject> pendingObjects;  // waiting to be registered; main thread only
    bool planningEnabled = false;  // set by Init

private:
    // One sight ray set on the collision manager, until its hits arrive.
    struct SightAim {
        unsigned sequence = 0;
        unsigned enemy = 0;
        Ray ray;
    };
    // What the planning turn asks the collision manager to test next.
    struct SightRequest {
        bool wanted = false;
        unsigned enemy = 0;
        Ray ray;
    };
    struct SightHits {
        unsigned sequence = 0;
        std::vector<RayIntersectRecord> records;
    };

    // --- Planning turn (behavior_manager/planning.cpp); object lock held.
    SightRequest PlanningStep(const SightHits& hits);
    void RebuildEnemyList();
    void ClearPlannedPaths();
    void TakeTurn(unsigned enemy);
    unsigned NextEnemy(unsigned enemy) const;
    SightRequest AimAt(unsigned enemy) const;
    void PlanPath(const GameObject& enemy, FSMStateMachine& sm);
    std::vector<GraphNode> SearchPath(int start, int goal);
    void TrackPlayerNode();
    // The hits of a sight ray this module set become that enemy's answer.
    void TakeSightAnswer(const SightHits& hits);
    bool SeesPlayer(const SightAim& aim, const std::vector<RayIntersectRecord>& records) const;
    bool IsPlayer(unsigned objNum) const;

    // --- Collision manager; never called with the object lock held.
    SightHits ReadSightHits() const;
    void SetSightRay(const SightRequest& request);

    // --- The frame's walk and registration (behavior_manager.cpp).
    void StepStates();
    void StepTopState(GameObject& object, FSMStateMachine& sm);
    void ReportFailedState(const GameObject& object, const std::string& why);
    void RegisterPendingObjects();

    bool initialised = false;
    std::deque<SightAim> sightAims;                // rays set, oldest first
    unsigned lastAnsweredSight = 0;                // sequence of the hits already taken
    std::unordered_map<unsigned, bool> sightAnswers;  // enemy -> seen, until its turn
    std::unordered_set<std::string> reportedStateFailures;  // objects already warned about
};

// The point a sight ray leaves from or aims at: trans plus the rotated centre
// of the CollisionComp's box; for the player raised by the box's half height.
// An object without a CollisionComp aims from its trans.
Vector SightAimPoint(const GameObject& object, bool isPlayer);

// The path to store after a new search from node `start`: when the old path
// ran through start to a next node X and the fresh one also goes from start
// to X, the fresh path from X on; otherwise the fresh path as a whole.
std::vector<GraphNode> SplicePath(const std::vector<GraphNode>& old, const std::vector<GraphNode>& fresh,
                                  int start);
