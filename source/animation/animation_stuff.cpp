#include "animation/animation_stuff.h"

namespace {

// Parent of every bone (-1 for none); false when a bone has two parents or
// a child index is out of range.
bool FindParents(const std::vector<Bone>& bones, std::vector<int>& parent, std::string& why) {
    const int count = int(bones.size());
    parent.assign(bones.size(), -1);
    for (int b = 0; b < count; ++b) {
        for (int32_t child : bones[b].children) {
            if (child < 0 || child >= count) {
                why = "bone " + std::to_string(b) + " lists child " + std::to_string(child) +
                      " outside the bone list";
                return false;
            }
            if (parent[child] != -1) {
                why = "bone " + std::to_string(child) + " is listed as a child twice";
                return false;
            }
            parent[child] = b;
        }
    }
    return true;
}

}  // namespace

std::string CheckBoneHierarchy(const std::vector<Bone>& bones, int rootBone) {
    const int count = int(bones.size());
    if (count > MAX_BONES)
        return std::to_string(count) + " bones, more than " + std::to_string(MAX_BONES);
    if (count == 0) return "";  // nothing is ever posed
    if (rootBone < 0 || rootBone >= count)
        return "root bone " + std::to_string(rootBone) + " outside the bone list";
    std::vector<int> parent;
    std::string why;
    if (!FindParents(bones, parent, why)) return why;
    if (parent[rootBone] != -1) return "the root bone is another bone's child";
    // With one parent each, a cycle is a chain of parents longer than the list.
    for (int b = 0; b < count; ++b) {
        int steps = 0;
        for (int at = b; at != -1; at = parent[at]) {
            if (++steps > count) return "bone " + std::to_string(b) + " is its own ancestor";
        }
    }
    return "";
}
