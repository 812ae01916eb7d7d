// The frame anchor: the first level loaded as the game flow will load it
// (categories, "tex_noise", the level's scenery gathered into instance
// buffers) with a wave of 32 medium machines playing their walk in front of
// the player, drawn at 1024x768 through the whole frame. Each whole-frame
// iteration advances the animations and draws and swaps one frame, as the
// frame loop does, ended by glFinish. Three ways to draw the level's scenery:
//   Instanced     shaderModel4 on, one instanced draw per mesh (the game's way);
//   OneByOne      shaderModel4 on, the same objects drawn one draw each;
//   NoShaderModel4 shaderModel4 off: nine programs, everything one by one.
// Where the time goes: the geometry pass alone (sky, ground, objects), the
// object roads alone, and the cockpit drawn over the window; the mipmaps,
// combine and polish passes are the same quads as in the frame benchmark
// (bench_graphics_frame_bench).
//
// --png=FILE writes the last frame (the window as shown, instanced) as a
// PNG after the benchmarks. Needs a display: run under xvfb-run with
// SDL_VIDEODRIVER=x11.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <iostream>
#include <string>

#include "animation_manager.h"
#include "frame_bench_support.h"
#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "objects/components.h"
#include "support/animated_mechs.h"
#include "support/first_level_scene.h"
#include "system.h"
#include "window_png.h"

namespace {

using bench_support::ProcessCpu;

const int kWidth = 1024, kHeight = 768;
const int kMechs = 32;
const int kWalk = 1;  // the pattern's second animation

enum Road { kInstanced, kOneByOne, kNoShaderModel4 };

Graphics& TheGraphics() { return *Module<Graphics>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }

// Four rows of eight between the player's start and the basin's centre,
// turned towards the player, each at its own point of the walk.
void AddWalkingMechs() {
    const Vector start = [] {
        ObjectLock lock;
        return Objects().GetGameObject("player")->trans;
    }();
    for (int i = 0; i < kMechs; ++i) {
        GameObject mech = test_support::StampMech("wave_mech" + std::to_string(i));
        const float x = start.x + (float(i % 8) - 3.5f) * 32.0f;
        const float z = start.z + 110.0f + float(i / 8) * 45.0f;
        {
            ObjectLock lock;
            mech.trans = Vector(x, Objects().groundObject.GetHeight(Vector(x, 0, z)), z, 0.0f);
        }
        mech.rot = Quaternion(0.0f, Vector(0.0f, 1.0f, 0.0f, 0.0f));  // half a turn about y
        Skeleton& skeleton = mech.GetGraphicsComp()->skeleton;
        skeleton.curAnimation = kWalk;
        skeleton.UpdateAnimation(0.037 * i);
        skeleton.UpdateBonePositions();
        Objects().AddGameObject(mech);
    }
}

bool SceneReady() {
    static const bool ready = [] {
        if (!test_support::OpenFirstLevelWindow(kWidth, kHeight)) return false;
        AddWalkingMechs();
        Sys().frameTime.store(1.0 / 60.0);
        Module<AnimationManager>::Instance()->Init();
        return true;
    }();
    return ready;
}

// The programs follow the flag: the renderer builds the instancing programs
// only with shaderModel4.
void SetShaderModel4(bool on) {
    static const bool available = Sys().shaderModel4;
    on = on && available;
    if (Sys().shaderModel4 == on) return;
    Sys().shaderModel4 = on;
    TheGraphics().Kill();
    TheGraphics().Init();
}

// Level objects into the instance buffers, or all drawn alone again.
void ChooseRoad(Road road) {
    SetShaderModel4(road != kNoShaderModel4);
    ObjectLock lock;
    if (road == kInstanced) {
        Objects().RebuildObjectInstanceBuffers();
        return;
    }
    Objects().instanceBufferList.clear();
    for (GameObjectList::value_type& entry : Objects().gameObjectList)
        if (GraphicsComp* graphics = entry.second.GetGraphicsComp()) graphics->drawAlone = true;
}

bool Prepare(benchmark::State& state, Road road) {
    if (!SceneReady()) {
        state.SkipWithError("no window or no level (run under xvfb-run with SDL_VIDEODRIVER=x11)");
        return false;
    }
    ChooseRoad(road);
    if (road == kInstanced && Objects().instanceBufferList.empty()) {
        state.SkipWithError("no instance buffers (shaderModel4 missing)");
        return false;
    }
    return true;
}

void BM_SceneFrame(benchmark::State& state, Road road) {
    if (!Prepare(state, road)) return;
    const ProcessCpu cpu;
    for (auto _ : state) {
        Module<AnimationManager>::Instance()->Update();
        TheGraphics().Update();
        glFinish();
    }
    cpu.Finish(state);
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The mesh pass into the bound geometry targets, or only its object roads.
void BM_MeshDrawing(benchmark::State& state, Road road, bool objectsOnly) {
    if (!Prepare(state, road)) return;
    Graphics& graphics = TheGraphics();
    graphics.Update();  // the camera's view and the programs' uniforms
    bench_support::BindGeometryBuffer(graphics::CurrentTargets());
    ObjectLock lock;
    const ProcessCpu cpu;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_LIGHTING);
        if (objectsOnly) {
            glUseProgram(graphics.deferredBoneProgram);
            graphics.DrawObjectRoads();
            glUseProgram(0);
        } else {
            graphics.RenderMeshes();
        }
        glDisable(GL_LIGHTING);
        glFinish();
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glDrawBuffer(GL_BACK);
    cpu.Finish(state);
}

// The cockpit over the window's picture, as the frame draws it.
void BM_CockpitPass(benchmark::State& state) {
    if (!Prepare(state, kInstanced)) return;
    Graphics& graphics = TheGraphics();
    graphics.Update();
    ObjectLock lock;
    glUseProgram(graphics.cockpitProgram);
    const ProcessCpu cpu;
    for (auto _ : state) {
        graphics.RenderCockpit();
        glFinish();
    }
    glUseProgram(0);
    cpu.Finish(state);
}

// The window as shown after one more frame.
bool WriteLastFrame(const std::string& path) {
    if (!SceneReady()) return false;
    ChooseRoad(kInstanced);
    Module<AnimationManager>::Instance()->Update();
    TheGraphics().Update();
    glFinish();
    return bench_support::WriteWindowPng(path, kWidth, kHeight);
}

}  // namespace

BENCHMARK_CAPTURE(BM_SceneFrame, Instanced, kInstanced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SceneFrame, OneByOne, kOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SceneFrame, NoShaderModel4, kNoShaderModel4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MeshDrawing, GeometryPassInstanced, kInstanced, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MeshDrawing, GeometryPassOneByOne, kOneByOne, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MeshDrawing, ObjectRoadsInstanced, kInstanced, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MeshDrawing, ObjectRoadsOneByOne, kOneByOne, true)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_CockpitPass)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    std::string png;
    if (!bench_support::RunBenchmarksTakingPng(argc, argv, png)) return 1;
    if (png.empty()) return 0;
    if (!WriteLastFrame(png)) {
        std::cerr << "could not write the last frame to " << png << std::endl;
        return 1;
    }
    std::cout << "last frame written to " << png << std::endl;
    return 0;
}
