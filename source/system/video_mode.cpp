#include "system/video_mode.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace {

// The decimal digits at `text`, saturated instead of overflowing.
int LeadingNumber(const char* text) {
    long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

}  // namespace

std::vector<VideoMode> CandidateVideoModes() {
    static const int kSizes[][2] = {{800, 600},  {1024, 768}, {1280, 1024},
                                    {1024, 600}, {1280, 768}, {1440, 900}};
    std::vector<VideoMode> modes;
    for (const auto& size : kSizes) {
        for (bool fullScreen : {false, true}) {
            VideoMode mode;
            mode.width = size[0];
            mode.height = size[1];
            mode.fullScreen = fullScreen;
            modes.push_back(mode);
        }
    }
    return modes;
}

VideoMode ChooseVideoMode(const std::vector<VideoMode>& modes, int desktopWidth,
                          int desktopHeight) {
    VideoMode chosen;
    if (desktopHeight <= 0) return chosen;
    // Single precision on purpose: the aspect classes are decided in float.
    const float kWide = 1.4f;
    const float desktopAspect = static_cast<float>(desktopWidth) / static_cast<float>(desktopHeight);
    const bool desktopIsWide = !(desktopAspect < kWide);
    for (const VideoMode& mode : modes) {
        if (!mode.available || !mode.fullScreen || mode.height <= 0) continue;
        const float aspect = static_cast<float>(mode.width) / static_cast<float>(mode.height);
        if (!(aspect < kWide) != desktopIsWide) continue;
        if (!chosen.available || (mode.width > chosen.width && mode.width < desktopWidth)) {
            chosen = mode;
        }
    }
    return chosen;
}

GLSLVersion ParseGLSLVersion(const char* text) {
    GLSLVersion version;
    if (!text) return version;
    version.major = LeadingNumber(text);
    const char* dot = std::strchr(text, '.');
    if (dot) version.minor = LeadingNumber(dot + 1);
    return version;
}

bool IsGLSLVersionSupported(const GLSLVersion& version) {
    return version.major > 1 || (version.major == 1 && version.minor >= 20);
}
