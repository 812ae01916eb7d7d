// BehaviorManager: a placeholder until its own issue builds the module.
// It will step the behaviour state machines.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread,
// skipped while paused.
//
// Built already: navGraph, the level's navigation graph, which the level
// loader fills (on the loader thread, without a lock: nothing may search it
// while a load runs).
#pragma once

#include "aistuff/nav_graph.h"
#include "module.h"

class BehaviorManager : public virtual Module<BehaviorManager> {
public:
    BehaviorManager() : Module<BehaviorManager>("BehaviorManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}

    NavGraph navGraph;
};
