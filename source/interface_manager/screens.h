// The widgets of each screen that InterfaceManager::BuildInterface builds,
// after its common steps (the old screen cleared, the screen numbers moved
// on). Each builder creates its widgets through the manager's factory and
// registers them in their order on screen; some also post the messages a
// screen needs when it appears. Main thread, inside the manager's updates.
#pragma once

#include "interface/interface_state.h"

class InterfaceManager;

namespace screens {

// Chooses the builder of `screen`; a screen without widgets builds nothing.
void BuildWidgets(InterfaceManager& ui, InterfaceState::Type screen);

// The menus (menu_screens.cpp).
void BuildTitle(InterfaceManager& ui);
void BuildPause(InterfaceManager& ui);
void BuildCredits(InterfaceManager& ui);
void BuildOptions(InterfaceManager& ui);
void BuildControls(InterfaceManager& ui);

// The head-up display (hud_screen.cpp), at every "State Change" 3, that is
// at every return to play. In order: the wave line posted again
// (PostWaveLine of waveCountText); a pending restart passed on as one
// "Restart" to "GameLogic" (restartPending cleared); "Adjust Music Volume"
// to "SoundManager"; then, when a "player" exists (asked under the object
// lock, which the caller must not hold), the display's ten widgets: the
// hull, shield and boost gauges, the minimap, the crosshair, the missile
// counter and the four hit indicators. Without a player the screen stays
// empty.
void BuildHud(InterfaceManager& ui);

// The end screens (end_screens.cpp): the win and game-over screens, the
// choice after level three's last scripted wave, and the high-score screen,
// which switches text input on and adds the name entry only for a run whose
// kills beat the tenth entry's.
void BuildWin(InterfaceManager& ui);
void BuildGameOver(InterfaceManager& ui);
void BuildEndlessModeStart(InterfaceManager& ui);
void BuildScore(InterfaceManager& ui);

}  // namespace screens
