// The messages that the menu buttons post to "GameLogic", where the state on
// top of the stack answers them (the title, pause, options, controls and
// credits states, the end-of-game screens).
#pragma once

namespace MenuMessage {

constexpr const char* kEnterGame = "Enter Game";
constexpr const char* kEnterOptions = "Enter Options";
constexpr const char* kEnterCredits = "Enter Credits";
constexpr const char* kEnterControls = "Enter Controls";
constexpr const char* kEnterHighScores = "Enter High Scores";
constexpr const char* kEnterPause = "Enter Pause";
constexpr const char* kEnterTitle = "Enter Title";

}  // namespace MenuMessage
