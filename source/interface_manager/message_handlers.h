// The InterfaceManager's answers to its messages that take more than a line
// (interface_manager/event_handling.cpp dispatches to them). Each is given
// every parameter of its message already read, so nothing here can fail half
// way for want of one. Main thread, inside the manager's Update.
#pragma once

#include <string>

#include "interface/game_message.h"

class InterfaceManager;

namespace message_handlers {

// --- The options and key-binding screens (options_apply.cpp) ---
// "Options Apply": the screen-mode choice, the picked size and the two
// volume sliders of the registered widgets put into force (the mode changed
// and the screen rebuilt when the mode or the size differs; with no size
// picked the size in force is kept), then the
// settings saved. A volume is sent only when its slider, rounded to a whole
// percent, reads differently from the volume in force: an untouched slider
// leaves its volume exactly as it was.
void ApplyOptions(InterfaceManager& ui);
// "Full Screen Toggle" (windowed false) and "Window Mode Toggle" (true): a
// new "resSelector" listing that kind of mode in place of the old one.
void ReplaceResolutionSelector(InterfaceManager& ui, bool windowed);
// "Controls Ok": the mouse sensitivity from "mouseSlider", if registered,
// then the settings saved.
void ApplyControls(InterfaceManager& ui);

// The whole percent a volume of 0..255 reads as; the inverse of the sound
// module's conversion (SoundManager::VolumeFromPercent) for every percent.
int VolumePercent(int volume);
// A slider's value to the nearest whole percent; -1 when it is not a number.
int SliderPercent(float value);

// --- The quit question (quit_question.cpp) ---
// "Quit Confirm": the question and its "Yes" and "No" buttons in place of
// the screen, which "Quit Cancel" brings back (previousState). Asked again
// while it shows, nothing changes, so that the screen before stays the one
// to go back to.
void ShowQuitQuestion(InterfaceManager& ui);

// --- Text lines (game_messages.cpp) ---
// "Game Message": a GameMessage widget for the line, named by its key when
// it has one; a key that is already taken drops the new line.
void ShowGameMessage(InterfaceManager& ui, const GMessage& line);
// "Game Message Delete": the registered widget of that name; "" does nothing.
void DeleteGameMessage(InterfaceManager& ui, const std::string& name);
// "Delete all Game Messages": every registered GameMessage flagged for removal.
void DeleteAllGameMessages(InterfaceManager& ui);
// "Wave Count Message": the text kept as waveCountText, then PostWaveLine.
void ShowWaveCount(InterfaceManager& ui, const std::string& text);
// Posts to this module the removal of the wave line and, for a text that is
// not empty, the new line "Wave " and the text in green at the lower left;
// both take effect at the module's next update, the removal first. The
// head-up display posts it again at every build.
void PostWaveLine(const std::string& waveText);

}  // namespace message_handlers
