// Generator step: full-screen pictures: the title background "tex_start",
// the end-of-game background "tex_mars_screen", the sky texture "tex_skybox"
// (also the options background), the three start-up slides
// "tex_studio_logo", "tex_team" and "tex_logo", and the credits slides
// "tex_roll_game", "tex_roll_team" and the tall scrolling "tex_roll_credits".
#pragma once

#include <string>

// The credits show displays 0.15 of the roll's height at a time over the
// full screen width; this height keeps the lettering at its drawn shape on a
// 4:3 screen.
constexpr int kCreditsRollWidth = 512;
constexpr int kCreditsRollHeight = 2560;

bool GenerateScreens(const std::string& runDir);
