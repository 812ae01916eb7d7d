// Generator step: the full-screen backdrops: the title "tex_start" (the
// wordmark above a calm panel for the menu's six labels), the end-of-game
// "tex_mars_screen" (the planet after sunset, dark enough for white text
// anywhere), the sky "tex_skybox" (also the options and controls backdrop)
// and the loading picture the game shows while it changes video mode.
#pragma once

#include <string>

bool GenerateScreens(const std::string& runDir);
