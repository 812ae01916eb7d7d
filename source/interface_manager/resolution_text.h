// Window sizes as the options screen writes them ("1024x768"): only the
// System's six video-mode sizes are known (system/video_mode.h).
// Pure functions; any thread.
#pragma once

#include <string>

// Sets width and height from one of the six texts ("800x600", "1024x768",
// "1280x1024", "1024x600", "1280x768", "1440x900"); any other text, the
// empty one included, leaves both unchanged.
void ParseResolution(const std::string& text, int& width, int& height);

// "WxH" for a window of width x height, where each part is left empty when
// no video mode has that width (or height): 1024 x 600 gives "1024x600",
// 1152 x 864 gives "x".
std::string GetResolutionString(int width, int height);
