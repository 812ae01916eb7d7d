#include "interface_manager/resolution_text.h"

#include <vector>

#include "system/video_mode.h"

namespace {

std::string SizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

}  // namespace

void ParseResolution(const std::string& text, int& width, int& height) {
    for (const VideoMode& mode : CandidateVideoModes()) {
        if (text == SizeText(mode.width, mode.height)) {
            width = mode.width;
            height = mode.height;
            return;
        }
    }
}

std::string GetResolutionString(int width, int height) {
    bool knownWidth = false, knownHeight = false;
    for (const VideoMode& mode : CandidateVideoModes()) {
        knownWidth = knownWidth || mode.width == width;
        knownHeight = knownHeight || mode.height == height;
    }
    return (knownWidth ? std::to_string(width) : "") + "x" + (knownHeight ? std::to_string(height) : "");
}
