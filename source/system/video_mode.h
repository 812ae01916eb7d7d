// Video modes: the twelve candidate window sizes, the rule that picks the
// start-up mode from the desktop size, and the reading of the driver's
// shading-language version. Pure functions: no SDL, no OpenGL, any thread.
#pragma once

#include <vector>

struct VideoMode {
    int width = 0;
    int height = 0;
    bool fullScreen = false;
    bool available = false;  // SDL accepts the mode
};

// 800x600, 1024x768, 1280x1024, 1024x600, 1280x768, 1440x900, each once as a
// window and then once as full screen; none marked available yet.
std::vector<VideoMode> CandidateVideoModes();

// Among the available full-screen modes of the desktop's aspect class (below
// 1.4 or not), the first one, replaced by any wider one that is still
// narrower than the desktop. The result is not `available` when nothing
// qualified (also for a desktop without a height).
VideoMode ChooseVideoMode(const std::vector<VideoMode>& modes, int desktopWidth,
                          int desktopHeight);

struct GLSLVersion {
    int major = 0;
    int minor = 0;
};

// "4.50 ..." gives 4 and 50: the number before the first full stop and the
// digits right after it. A missing text gives 0.0.
GLSLVersion ParseGLSLVersion(const char* text);

// The renderer needs GLSL 1.20 or later.
bool IsGLSLVersionSupported(const GLSLVersion& version);
