// Generator step: the slides. Start-up: the studio logo "tex_studio_logo",
// the team "tex_team" and the game's logo "tex_logo" (800 x 600), and the
// studio picture the game shows before the slides start
// ("studio_logo_loading.png", 1024 x 768, the same composition). Credits:
// "tex_roll_game", "tex_roll_team" and the tall scrolling
// "tex_roll_credits", which names the game and the open libraries it uses.
#pragma once

#include <string>

// The credits show displays 0.15 of the roll's height at a time over the
// full screen width, and scrolls from its top to a little past its bottom;
// this height keeps the lettering at its drawn shape on a 4:3 screen.
constexpr int kCreditsRollWidth = 512;
constexpr int kCreditsRollHeight = 2560;

bool GenerateSlides(const std::string& runDir);
