// Where the game-art generator steps write, relative to the run folder. The
// hand-written registry (resource/registry.xml) names these same files, and
// the content test checks the two agree.
#pragma once

namespace paths {

constexpr const char* TEXTURES = "resource/art assets/textures/";
constexpr const char* INTERFACE = "resource/art assets/interface/";
constexpr const char* SCREENS = "resource/art assets/screens/";
constexpr const char* SLIDES = "resource/art assets/splash_screens/";
constexpr const char* TERRAIN = "resource/art assets/terrain/";
constexpr const char* MESHES = "resource/art assets/meshes/";
constexpr const char* SKELETONS = "resource/art assets/skeletons/";
constexpr const char* ANIMATIONS = "resource/art assets/animations/";

}  // namespace paths
