// FloatToString: a number as an output string stream writes it by default,
// at most six significant digits and no trailing zeros (50, 0.25, 7.49123).
// Used by the widgets that show numbers. Any thread; no shared state.
#pragma once

#include <string>

std::string FloatToString(float value);
