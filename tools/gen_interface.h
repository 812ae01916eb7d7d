// Generator step: the head-up display and menu pictures: the 4 x 4 symbol
// sheet "tex_symbols", the crosshair "tex_smaller_crosshair" and its hit
// overlay "tex_smaller_hit", the radar disc "tex_minimap", the radio-button
// mark "tex_radio", the slider knob "tex_slider" and the missile counter
// icon "tex_missile_icon". All are white or light ink on transparent ground:
// the widgets tint them with their own colours.
#pragma once

#include <string>

bool GenerateInterfaceImages(const std::string& runDir);
