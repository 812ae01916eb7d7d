#include "model_files.h"

#include "game_paths.h"
#include "gen_common.h"
#include "resource_manager/binary_files.h"

namespace {

// Output path without extension (the binary savers add it), or empty.
std::string Target(const std::string& runDir, const std::string& relative, const std::string& ext) {
    std::string path = OutputPath(runDir, relative + ext);
    return path.empty() ? path : path.substr(0, path.size() - ext.size());
}

}  // namespace

bool WriteMesh(const std::string& runDir, const std::string& name, const Mesh& mesh) {
    std::string path = Target(runDir, paths::kMeshes + name, ".bin");
    return !path.empty() && SaveMeshFile(path, mesh);
}

bool WriteSkeleton(const std::string& runDir, const std::string& name, const Skeleton& skeleton) {
    std::string path = Target(runDir, paths::kSkeletons + name, ".skl");
    return !path.empty() && SaveSkeletonFile(skeleton, path);
}

bool WriteAnimation(const std::string& runDir, const AnimSet& animSet) {
    std::string path = Target(runDir, paths::kAnimations + animSet.name, ".anm");
    return !path.empty() && SaveAnimFile(animSet, path);
}
