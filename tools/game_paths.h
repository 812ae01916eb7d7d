// Where the game-art generator steps write, relative to the run folder. The
// hand-written registry (resource/registry.xml) names these same files, and
// the content test checks the two agree.
#pragma once

namespace paths {

constexpr const char* kTextures = "resource/art assets/textures/";
constexpr const char* kInterface = "resource/art assets/interface/";
constexpr const char* kScreens = "resource/art assets/screens/";
constexpr const char* kSlides = "resource/art assets/splash_screens/";
constexpr const char* kTerrain = "resource/art assets/terrain/";
constexpr const char* kMeshes = "resource/art assets/meshes/";
constexpr const char* kSkeletons = "resource/art assets/skeletons/";
constexpr const char* kAnimations = "resource/art assets/animations/";

}  // namespace paths
