// The animation pass: 200 generated medium machines, half standing and half
// walking, each at its own point of its loop, advanced and posed by one
// AnimationManager::Update (time keeping, key location, interpolation,
// hierarchy, skinning matrices, all under the object lock). Against it, the
// floor: the same walk over the table under the lock doing only each bone's
// two products (parent transform times local transform, and its matrix times
// the inverse bind matrix). Reports microseconds per skeleton and bone
// transforms per second for both.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "animation_manager.h"
#include "object_manager.h"
#include "objects/graphics_comps.h"
#include "support/animated_mechs.h"
#include "system.h"

namespace {

const int kMechs = 200;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

// Fills the table once per run; returns the total bone count.
int SetUpMechs() {
    static const int bones = [] {
        Module<System>::Instance()->running.store(false);
        Module<System>::Instance()->frameTime.store(1.0 / 60.0);
        std::filesystem::current_path(QUELL_RUN_DIR);
        Objects().Init();
        if (!test_support::LoadMechContent()) return 0;
        int total = 0;
        for (int i = 0; i < kMechs; ++i) {
            GameObject mech = test_support::StampMech("mech" + std::to_string(i));
            Skeleton& skeleton = mech.GetGraphicsComp()->skeleton;
            skeleton.curAnimation = i % 2;
            skeleton.UpdateAnimation(0.013 * i);
            skeleton.UpdateBonePositions();
            total += int(skeleton.boneList.size());
            Objects().AddGameObject(mech);
        }
        return total;
    }();
    return bones;
}

void Report(benchmark::State& state, int bones) {
    const double frames = double(state.iterations());
    state.counters["time_per_skeleton"] =
        benchmark::Counter(frames * kMechs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["bone_transforms_per_second"] = benchmark::Counter(frames * bones, benchmark::Counter::kIsRate);
}

void BM_AnimationPass(benchmark::State& state) {
    const int bones = SetUpMechs();
    if (bones == 0) return state.SkipWithError("the machine's content did not load");
    AnimationManager& animation = *Module<AnimationManager>::Instance();
    animation.Init();
    for (auto _ : state) animation.Update();
    animation.Kill();
    Report(state, bones);
}

// Each bone's parent, -1 for the root. The generated skeletons list every
// parent before its children, so one pass in bone order composes them.
std::vector<int> Parents(const Skeleton& skeleton) {
    std::vector<int> parent(skeleton.boneList.size(), -1);
    for (size_t b = 0; b < skeleton.boneList.size(); ++b)
        for (int32_t child : skeleton.boneList[b].children) parent[size_t(child)] = int(b);
    return parent;
}

void ComposeBones(Skeleton& skeleton, const std::vector<int>& parent) {
    for (size_t b = 0; b < parent.size(); ++b) {
        const QuatVec& local = skeleton.localTransforms[b];
        const QuatVec posed = parent[b] < 0 ? local : skeleton.boneTransforms[size_t(parent[b])] * local;
        skeleton.boneTransforms[b] = posed;
        skeleton.boneMatrices[b] = QuatVecToMatrix(posed.rot, posed.trans) * skeleton.boneList[b].offsetMatrix;
    }
}

// The table is not changed while this runs, so its order stays that of the
// parent lists, which are made before the timing.
void BM_BoneProductsFloor(benchmark::State& state) {
    const int bones = SetUpMechs();
    if (bones == 0) return state.SkipWithError("the machine's content did not load");
    std::vector<std::vector<int>> parents;
    {
        ObjectLock lock(Objects());
        for (const GameObjectList::value_type& entry : Objects().gameObjectList)
            parents.push_back(Parents(entry.second.GetGraphicsComp()->skeleton));
    }
    for (auto _ : state) {
        ObjectLock lock(Objects());
        size_t at = 0;
        for (GameObjectList::value_type& entry : Objects().gameObjectList) {
            GraphicsComp* graphics = entry.second.GetGraphicsComp();
            const std::vector<int>& parent = parents[at++];
            if (!graphics || entry.second.isDead || graphics->skeleton.boneList.empty()) continue;
            ComposeBones(graphics->skeleton, parent);
        }
    }
    Report(state, bones);
}

BENCHMARK(BM_AnimationPass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoneProductsFloor)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
