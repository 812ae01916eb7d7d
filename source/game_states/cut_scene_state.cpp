#include "game_states/cut_scene_state.h"

#include "game_states/state_events.h"
#include "system.h"

void CutSceneState::Update() {
    Module<System>::Instance()->Log("Cutscene State");
    if (!Module<GameLogic>::Instance()->loadingDone || !cutsceneDone) return;
    state_events::PopState("GameLogic:CutSceneState");
    state_events::RebuildInstanceBuffersIfInstanced();
}

void CutSceneState::HandleMessage(const Event& event) {
    if (event.eventType == kCutsceneDone) cutsceneDone = true;
}
