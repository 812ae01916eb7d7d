// The planning turn of the BehaviorManager: one enemy per frame gets a path
// to the player's node when it needs one, and its line-of-sight flag from the
// hits of the sight ray aimed from it one turn before.
//
// The sight ray and its hits travel through the collision thread, which may
// answer a ray in the frame it was set or in the next; each ray therefore
// carries the sequence number the collision manager gave it, and hits are
// credited to the enemy their ray was aimed from, whichever turn it is.
//
// Everything here runs on the main thread with the object lock held.
#include <algorithm>

#include "behavior_manager.h"
#include "object_manager.h"
#include "objects/behavior_comp.h"
#include "objects/collision_comp.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

}  // namespace

Vector SightAimPoint(const GameObject& object, bool isPlayer) {
    const CollisionComp* collision = object.GetCollisionComp();
    if (!collision) return object.trans;
    Vector point = object.trans + object.rot.Rotate(collision->obb.center);
    if (isPlayer) point.y += collision->obb.extents.y;
    return point;
}

std::vector<GraphNode> SplicePath(const std::vector<GraphNode>& old, const std::vector<GraphNode>& fresh,
                                  int start) {
    auto isStart = [start](const GraphNode& node) { return node.id == start; };
    const auto freshStart = std::find_if(fresh.begin(), fresh.end(), isStart);
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (old[i].id != start) continue;
        if (i + 1 == old.size()) break;
        // The enemy is already on its way from start to this node: keep going
        // there rather than turning back to start first.
        const int next = old[i + 1].id;
        if (freshStart != fresh.end() && freshStart + 1 != fresh.end() && (freshStart + 1)->id == next)
            return std::vector<GraphNode>(freshStart + 1, fresh.end());
    }
    return fresh;
}

BehaviorManager::SightRequest BehaviorManager::PlanningStep(const SightHits& hits) {
    RebuildEnemyList();
    TakeSightAnswer(hits);
    if (enemyList.empty()) {
        currentEnemy = 0;
        return SightRequest();
    }
    if (playerNodeChanged) ClearPlannedPaths();
    if (currentEnemy == 0) {
        currentEnemy = enemyList.front();  // this frame only chooses
    } else {
        TakeTurn(currentEnemy);
        currentEnemy = NextEnemy(currentEnemy);
    }
    return AimAt(currentEnemy);
}

void BehaviorManager::RebuildEnemyList() {
    enemyList.clear();
    for (const auto& entry : Objects().gameObjectList)
        if (entry.second.GetStatsComp() && entry.second.name != kPlayerName) enemyList.push_back(entry.first);
    // Answers for enemies that have left the table would otherwise pile up.
    if (sightAnswers.size() <= enemyList.size()) return;
    for (auto answer = sightAnswers.begin(); answer != sightAnswers.end();) {
        if (std::find(enemyList.begin(), enemyList.end(), answer->first) == enemyList.end())
            answer = sightAnswers.erase(answer);
        else
            ++answer;
    }
}

void BehaviorManager::ClearPlannedPaths() {
    for (unsigned enemy : enemyList) {
        BehaviorComp* behavior = Objects().GetGameObject(enemy)->GetBehaviorComp();
        if (behavior) behavior->sm.pathPlanned = false;
    }
}

void BehaviorManager::TakeTurn(unsigned enemy) {
    if (!Objects().HasGameObject(enemy)) return;
    GameObject& object = *Objects().GetGameObject(enemy);
    BehaviorComp* behavior = object.GetBehaviorComp();
    if (!behavior) return;  // an enemy without behaviour has nothing to plan or see with
    FSMStateMachine& sm = behavior->sm;
    if (!sm.pathPlanned) PlanPath(object, sm);
    // Without fresh hits for this enemy its flag keeps its last answer.
    auto answer = sightAnswers.find(enemy);
    if (answer == sightAnswers.end()) return;
    sm.hasLineOfSight = answer->second;
    sightAnswers.erase(answer);
}

unsigned BehaviorManager::NextEnemy(unsigned enemy) const {
    auto at = std::find(enemyList.begin(), enemyList.end(), enemy);
    if (at == enemyList.end()) return 0;
    ++at;
    return at == enemyList.end() ? enemyList.front() : *at;
}

BehaviorManager::SightRequest BehaviorManager::AimAt(unsigned enemy) const {
    SightRequest request;
    if (enemy == 0 || !Objects().HasGameObject(kPlayerName) || !Objects().HasGameObject(enemy)) return request;
    const Vector from = SightAimPoint(*Objects().GetGameObject(enemy), false);
    const Vector to = SightAimPoint(*Objects().GetGameObject(kPlayerName), true);
    request.wanted = true;
    request.enemy = enemy;
    request.ray = Ray(to - from, from);  // not normalised: the player lies at t = 1
    return request;
}

void BehaviorManager::PlanPath(const GameObject& enemy, FSMStateMachine& sm) {
    sm.pathPlanned = true;  // whatever the search gives, until the player's node moves
    const int start = navGraph.GetNearestNode(enemy.trans);
    sm.path = SplicePath(sm.path, SearchPath(start, playerNode), start);
}

std::vector<GraphNode> BehaviorManager::SearchPath(int start, int goal) {
    // find, never operator[]: a missing id (0 in an empty graph) must not
    // be inserted as a node.
    std::vector<GraphNode> path;
    const auto startNode = navGraph.nodes.find(start);
    const auto goalNode = navGraph.nodes.find(goal);
    if (startNode == navGraph.nodes.end() || goalNode == navGraph.nodes.end()) return path;
    navGraph.FindPath(startNode->second, goalNode->second, path);
    return path;
}

// --- Line of sight

void BehaviorManager::TakeSightAnswer(const SightHits& hits) {
    if (hits.sequence == 0 || hits.sequence == lastAnsweredSight) return;
    lastAnsweredSight = hits.sequence;
    // Rays older than the answered one will never be answered now.
    while (!sightAims.empty() && sightAims.front().sequence < hits.sequence) sightAims.pop_front();
    if (sightAims.empty() || sightAims.front().sequence != hits.sequence) return;  // not a ray of ours
    const SightAim aim = sightAims.front();
    sightAims.pop_front();
    sightAnswers[aim.enemy] = SeesPlayer(aim, hits.records);
}

bool BehaviorManager::SeesPlayer(const SightAim& aim, const std::vector<RayIntersectRecord>& records) const {
    const float limit = aim.ray.direction.Mag() + 1.0f;
    float best = limit;
    unsigned hit = 0;
    for (const RayIntersectRecord& record : records) {
        if (record.objNum == aim.enemy) continue;
        // Behind the enemy: only the player can be there and still count
        // (its sphere may contain the enemy); anything else is out of view.
        if (record.rayParam < 0.0f && !IsPlayer(record.objNum)) continue;
        if (record.rayParam < best) {
            best = record.rayParam;
            hit = record.objNum;
        }
    }
    return best < limit && IsPlayer(hit);
}

bool BehaviorManager::IsPlayer(unsigned objNum) const {
    return Objects().HasGameObject(objNum) && Objects().GetGameObject(objNum)->name == kPlayerName;
}
