// The menu messages that the screens' buttons post to "GameLogic" and that
// the menu states answer (title, pause, options, controls, end screens).
#pragma once

constexpr const char* kEnterGame = "Enter Game";
constexpr const char* kEnterTitle = "Enter Title";
constexpr const char* kEnterPause = "Enter Pause";
constexpr const char* kEnterOptions = "Enter Options";
constexpr const char* kEnterCredits = "Enter Credits";
constexpr const char* kEnterControls = "Enter Controls";
constexpr const char* kEnterHighScores = "Enter High Scores";
