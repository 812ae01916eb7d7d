// The head-up display's screen (InterfaceState::Ingame), built by
// InterfaceManager::BuildInterface after its common steps, that is at every
// "State Change" 3: every return to play.
#pragma once

class InterfaceManager;

namespace hud_screen {

// In order: the wave line posted again ("Game Message Delete" of "Wave
// Message", then the line when waveCountText is not empty); a pending
// restart passed on as one "Restart" to "GameLogic" (restartPending
// cleared); "Adjust Music Volume" to "SoundManager"; then, when a "player"
// exists (asked under the object lock), the display's ten widgets: the hull,
// shield and boost gauges, the minimap, the crosshair, the missile counter
// and the four hit indicators. Without a player the screen stays empty.
// Main thread, inside the manager's update; the caller holds no object lock.
void Build(InterfaceManager& ui);

}  // namespace hud_screen
