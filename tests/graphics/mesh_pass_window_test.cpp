// The game objects of the mesh pass on a real OpenGL context, on a bare stage
// (the first level's content and lights, but no sky, ground or level
// objects; the camera at the origin looking along -z): one mesh drawn from
// every kind of buffer or in immediate mode, instanced against one by one,
// skinning on both routes, the hit flash, broken meshes, and the cockpit.
#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "resource_manager/mesh_resource.h"
#include "support/animated_mechs.h"
#include "support/first_level_test.h"
#include "support/log_capture.h"
#include "support/screen_pixels.h"
#include "support/target_image.h"

namespace {

using namespace test_support;

const int kW = 640, kH = 480;
const int kClearGrey = 51;  // the geometry targets' clear colour
// Pixels along the outline that may differ between two ways of drawing the
// same thing (rasterised from different vertex orders).
const int kEdgePixels = 40;

// The three geometry targets after a frame.
struct Pictures {
    Pictures()
        : colour(graphics::CurrentTargets().geometry, kW, kH),
          depth(graphics::CurrentTargets().depth, kW, kH),
          normal(graphics::CurrentTargets().normal, kW, kH) {}
    TargetImage colour, depth, normal;
};

Pictures DrawFrame() {
    TheGraphics().Update();
    return Pictures();
}

bool Covered(const TargetImage& depth, int x, int y) {
    const Texel t = depth.At(x, y);
    return !(t.r == kClearGrey && t.g == kClearGrey && t.b == kClearGrey);
}

int CoveredPixels(const TargetImage& depth) {
    int count = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) count += Covered(depth, x, y);
    return count;
}

// Where a point in front of the camera (eye space = world space here) lands.
struct Pixel {
    int x, y;
};
Pixel Project(const Vector& point) {
    const Vector clip = Objects().perspectMat * Vector(point.x, point.y, point.z, 1.0f);
    return {int((clip.x / clip.w * 0.5f + 0.5f) * kW), int((clip.y / clip.w * 0.5f + 0.5f) * kH)};
}

// A turn of `angle` radians about the unit axis.
Quaternion Turn(float angle, const Vector& axis) { return Quaternion(std::cos(angle / 2), axis * std::sin(angle / 2)); }

void AddObject(GameObject object, const Vector& trans, const Quaternion& rot, bool levelObject = false) {
    object.trans = trans;
    object.rot = rot;
    object.isLevelObject = levelObject;
    ASSERT_TRUE(Objects().AddGameObject(object));
}

void AddProp(const std::string& name, const std::string& mesh, const Vector& trans, const Quaternion& rot,
             float scale, bool levelObject = false) {
    GraphicsComp graphics;
    graphics.modelMesh = Handle(mesh);
    graphics.modelScale = scale;
    GameObject object(name);
    object.AttachComponent(graphics);
    AddObject(object, trans, rot, levelObject);
}

// Runs `change` on the named object's component under the object lock.
void Change(const std::string& name, const std::function<void(GraphicsComp&)>& change) {
    ObjectLock lock;
    change(*Objects().GetGameObject(name)->GetGraphicsComp());
}

// A copy of a stored mesh without any OpenGL name of its own.
Mesh BareCopy(const std::string& name) {
    Mesh mesh = *Store().get<Mesh>(Handle(name));
    mesh.hasMeshBuffers = mesh.hasAttribBuffers = mesh.isIndexed = mesh.isInterleaved = false;
    mesh.vboVertName = mesh.vboTexCoordName = mesh.vboNormalName = mesh.vboInterleavedName = 0;
    mesh.vboIndexName = mesh.vboBoneIndexName = mesh.vboSkinWeightName = 0;
    return mesh;
}

// The level objects' instance buffers rebuilt: the instances of the first mesh.
size_t RebuildInstances() {
    ObjectLock lock;
    Objects().RebuildObjectInstanceBuffers();
    return Objects().instanceBufferList.empty() ? 0 : Objects().instanceBufferList.begin()->second.numInstances;
}

class MeshPass : public FirstLevelTest {
protected:
    void SetUp() override {
        FirstLevelTest::SetUp();
        if (HasFatalFailure()) return;
        ObjectLock lock;
        Objects().ClearGameObjects();
        Objects().instanceBufferList.clear();
        Objects().skyBox.meshHandle = Handle();
        Objects().groundObject.meshHandle = Handle();
        Objects().cockpit.meshHandle = Handle();
        CameraObject& camera = Objects().cameraObject;
        camera.mode = 0;
        camera.target = Vector(0, 0, 0, 0);
        camera.yaw = camera.pitch = 0.0f;
    }

    void TearDown() override {
        for (unsigned buffer : ownBuffers)
            if (glIsBuffer(buffer)) glDeleteBuffers(1, &buffer);
        for (const std::string& name : added) Store().DeleteResource(name);
        EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    }

    // Stored for this test only; buffers made for it (ownsBuffers) are
    // freed afterwards, those it shares with a stored mesh are not.
    void Put(const std::string& name, const Mesh& mesh, bool ownsBuffers = false) {
        Store().add(name, mesh);
        added.push_back(name);
        if (ownsBuffers)
            for (unsigned buffer : {mesh.vboVertName, mesh.vboTexCoordName, mesh.vboNormalName, mesh.vboInterleavedName,
                                    mesh.vboIndexName, mesh.vboBoneIndexName, mesh.vboSkinWeightName})
                if (buffer != 0) ownBuffers.push_back(buffer);
    }

    static void ExpectSamePictures(const Pictures& a, const Pictures& b, const std::string& what) {
        EXPECT_LE(CountDifferent(a.colour, b.colour, 3), kEdgePixels) << what;
        EXPECT_LE(CountDifferent(a.depth, b.depth, 3), kEdgePixels) << what;
        EXPECT_LE(CountDifferent(a.normal, b.normal, 3), kEdgePixels) << what;
    }

    std::vector<std::string> added;
    std::vector<unsigned> ownBuffers;
};

TEST_F(MeshPass, OneMeshFromSeparateIndexedOrInterleavedBuffersOrImmediateLooksTheSame) {
    const MeshResource builder;
    const std::vector<std::pair<std::string, std::function<void(Mesh&)>>> ways = {
        {"mesh_test_immediate", [](Mesh&) {}},
        {"mesh_test_separate", [&](Mesh& m) { builder.BuildMeshBuffers(m); }},
        {"mesh_test_indexed", [&](Mesh& m) { builder.BuildIndexedBuffers(m, false); }},
        {"mesh_test_interleaved", [&](Mesh& m) { builder.BuildInterleavedBuffers(m, false); }},
    };
    AddProp("prop", ways[0].first, Vector(0, -4, -60, 0), Turn(0.7f, Vector(0.6f, 0.8f, 0, 0)), 20.0f);
    std::vector<Pictures> drawn;
    for (const auto& way : ways) {
        Mesh mesh = BareCopy("mesh_crate");
        way.second(mesh);
        Put(way.first, mesh, true);
        Change("prop", [&](GraphicsComp& g) { g.modelMesh = Handle(way.first); });
        drawn.push_back(DrawFrame());
    }
    EXPECT_GT(CoveredPixels(drawn[0].depth), 3000);
    for (size_t i = 1; i < ways.size(); ++i) ExpectSamePictures(drawn[0], drawn[i], ways[i].first);
}

TEST_F(MeshPass, TenCratesInstancedLookLikeTheSameCratesDrawnOneByOne) {
    if (!Sys().shaderModel4) GTEST_SKIP() << "no instanced drawing here";
    for (int i = 0; i < 10; ++i)
        AddProp("crate" + std::to_string(i), "mesh_crate", Vector(-45.0f + 10.0f * i, -20.0f + 4.0f * (i % 4), -90.0f - 7.0f * i, 0),
                Turn(0.3f * i, Vector(0, 0.8f, 0.6f, 0)), 8.0f + i, true);
    ASSERT_EQ(RebuildInstances(), 10u);
    const Pictures instanced = DrawFrame();
    {
        ObjectLock lock;
        Objects().instanceBufferList.clear();
        for (auto& entry : Objects().gameObjectList) entry.second.GetGraphicsComp()->drawAlone = true;
    }
    const Pictures oneByOne = DrawFrame();
    EXPECT_GT(CoveredPixels(oneByOne.depth), 5000);
    ExpectSamePictures(instanced, oneByOne, "ten crates");
}

// More instances than one draw's matrix array holds.
TEST_F(MeshPass, ThreeHundredInstancesOfOneMeshAllAppear) {
    if (!Sys().shaderModel4) GTEST_SKIP() << "no instanced drawing here";
    const float distance = 600.0f, half = 10.0f;  // crates of 20 across
    std::vector<Vector> fronts;
    for (int row = 0; row < 15; ++row)
        for (int column = 0; column < 20; ++column) {
            const Vector centre(-380.0f + 40.0f * column, -280.0f + 40.0f * row, -distance, 0);
            AddProp("crate" + std::to_string(fronts.size()), "mesh_crate", centre, Quaternion(1.0f), 2 * half, true);
            fronts.push_back(centre + Vector(0, 0, half, 0));
        }
    ASSERT_EQ(RebuildInstances(), 300u);
    const Pictures drawn = DrawFrame();
    int missing = 0;
    for (const Vector& front : fronts) {
        const Pixel at = Project(front);
        missing += std::abs(drawn.depth.DepthAt(at.x, at.y) - (distance - half)) > 1.0f;
    }
    EXPECT_EQ(missing, 0);
}

// The bone that most vertices follow.
int BusiestBone(const Mesh& mesh) {
    std::vector<int> count(Graphics::kBoneMatrixCount);
    for (const Vertex& vertex : mesh.verts)
        for (int k = 0; k < 4; ++k)
            if (vertex.skinWeights[k] > 0.0f && vertex.boneIndex[k] >= 0 && vertex.boneIndex[k] < int(count.size()))
                ++count[size_t(vertex.boneIndex[k])];
    return int(std::max_element(count.begin(), count.end()) - count.begin());
}

// The vertices that follow `bone` alone are shared with `other`, 0.6 to 0.4,
// in the vertex list and in the flat arrays the buffers are made from.
void ShareWeights(Mesh& mesh, int bone, int other) {
    for (size_t i = 0; i < mesh.verts.size(); ++i) {
        Vertex& vertex = mesh.verts[i];
        if (vertex.boneIndex[0] != bone || vertex.skinWeights[0] != 1.0f) continue;
        vertex.boneIndex[1] = other;
        vertex.skinWeights[0] = 0.6f;
        vertex.skinWeights[1] = 0.4f;
        mesh.arrays.boneIndices.data[4 * i + 1] = float(other);
        mesh.arrays.skinWeights.data[4 * i] = 0.6f;
        mesh.arrays.skinWeights.data[4 * i + 1] = 0.4f;
    }
}

// The mesh with its vertices placed by the skin matrices, as the program does.
Mesh PosedOnTheCpu(const Mesh& mesh, const Matrix* bones) {
    Mesh posed = mesh;
    for (Vertex& vertex : posed.verts) {
        Vector sum;
        for (int k = 0; k < 4; ++k)
            sum = sum + bones[std::clamp(vertex.boneIndex[k], 0, Graphics::kBoneMatrixCount - 1)] *
                            Vector(vertex.v[0], vertex.v[1], vertex.v[2], 1.0f) * vertex.skinWeights[k];
        vertex = Vertex(sum.x, sum.y, sum.z);
    }
    return posed;
}

TEST_F(MeshPass, AMechWithTwoBonesMovedDrawsItsVerticesWhereTheBonesTakeThemOnEveryRoute) {
    Mesh shared = BareCopy("mesh_medium_mech");
    const int bone = BusiestBone(shared), other = bone == 0 ? 1 : 0;
    ShareWeights(shared, bone, other);
    Matrix bones[Graphics::kBoneMatrixCount];
    bones[bone].TranslateMat(0.0f, 5.0f, 3.0f);
    bones[other].TranslateMat(-3.0f, 0.0f, 2.0f);
    Put("mesh_test_posed", PosedOnTheCpu(shared, bones));
    const MeshResource builder;
    // As a ".bin" mesh is uploaded (one skin value per corner), indexed and
    // interleaved (one per vertex), and with no buffers at all.
    const std::vector<std::pair<std::string, std::function<void(Mesh&)>>> routes = {
        {"mesh_test_skin_corners", [&](Mesh& m) { builder.BuildSkinnedBuffers(m, true); }},
        {"mesh_test_skin_indexed", [&](Mesh& m) { builder.BuildInterleavedBuffers(m, true); }},
        {"mesh_test_skin_immediate", [](Mesh&) {}},
    };
    for (const auto& route : routes) {
        Mesh mesh = shared;
        route.second(mesh);
        Put(route.first, mesh, true);
    }
    const Vector where(0, -10, -45, 0);
    const Quaternion turn = Turn(0.5f, Vector(0, 1, 0, 0));

    AddProp("reference", "mesh_test_posed", where, turn, 1.0f);
    const Pictures reference = DrawFrame();
    {
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    GameObject mech = StampMech("mech");
    ASSERT_FALSE(mech.GetGraphicsComp()->skeleton.boneList.empty());
    AddObject(mech, where, turn);
    Change("mech", [](GraphicsComp& g) { std::fill(std::begin(g.skeleton.boneMatrices), std::end(g.skeleton.boneMatrices), Matrix()); });
    const Pictures bindPose = DrawFrame();
    EXPECT_GT(CountDifferent(bindPose.depth, reference.depth, 3), 200) << "the bones' moves show";

    Change("mech", [&](GraphicsComp& g) { std::copy(std::begin(bones), std::end(bones), g.skeleton.boneMatrices); });
    for (const auto& route : routes) {
        Change("mech", [&](GraphicsComp& g) { g.modelMesh = Handle(route.first); });
        const Pictures skinned = DrawFrame();
        EXPECT_LE(CountDifferent(skinned.depth, reference.depth, 3), kEdgePixels) << route.first;
        EXPECT_LE(CountDifferent(skinned.normal, reference.normal, 3), kEdgePixels) << route.first;
        // No skin array stays enabled to feed a later draw.
        GLint enabled = 1;
        glGetVertexAttribiv(Graphics::kBoneIndexLocation, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        EXPECT_EQ(enabled, 0) << route.first;
        for (GLenum set : {GL_TEXTURE1, GL_TEXTURE2}) {
            glClientActiveTexture(set);
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY)) << route.first;
        }
        glClientActiveTexture(GL_TEXTURE0);
    }
}

TEST_F(MeshPass, AHitMechFlashesInExactlyTwoFramesAPlainPropNeverAndADeadOneIsNotDrawn) {
    const Vector mechAt(-14, -10, -60, 0), propAt(14, 0, -60, 0);
    AddObject(StampMech("mech"), mechAt, Quaternion(1.0f));
    AddProp("prop", "mesh_crate", propAt, Quaternion(1.0f), 12.0f);
    const Pixel mechPixel = Project(mechAt + Vector(0, 10, 0, 0)), propPixel = Project(propAt + Vector(0, 0, 6, 0));
    const Pictures calm = DrawFrame();
    ASSERT_TRUE(Covered(calm.depth, mechPixel.x, mechPixel.y) && Covered(calm.depth, propPixel.x, propPixel.y));
    auto flashing = [&](const Pictures& drawn, Pixel at) {
        const Texel now = drawn.colour.At(at.x, at.y), before = calm.colour.At(at.x, at.y);
        return std::abs(now.r - before.r) + std::abs(now.g - before.g) + std::abs(now.b - before.b) > 30;
    };
    for (const char* name : {"mech", "prop"}) Change(name, [](GraphicsComp& g) { g.flashFrames = 3; });  // the hit
    std::vector<bool> mechFlashes, propFlashes;
    for (int frame = 0; frame < 4; ++frame) {
        // Lowered once per frame, in the same update as the hit.
        for (const char* name : {"mech", "prop"})
            Change(name, [](GraphicsComp& g) {
                if (g.flashFrames > 0) --g.flashFrames;
            });
        const Pictures drawn = DrawFrame();
        mechFlashes.push_back(flashing(drawn, mechPixel));
        propFlashes.push_back(flashing(drawn, propPixel));
    }
    EXPECT_EQ(mechFlashes, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(propFlashes, (std::vector<bool>(4, false)));
    {
        ObjectLock lock;
        for (auto& entry : Objects().gameObjectList) entry.second.isDead = true;  // killed, not yet removed
    }
    EXPECT_EQ(CoveredPixels(DrawFrame().depth), 0);
}

// Each case breaks one thing; it is reported once, and what can be drawn is.
TEST_F(MeshPass, BrokenMeshesAreReportedOnceAndTheLogStopsGrowing) {
    const Vector front(0, -10, -60, 0);
    const Mesh& mech = *Store().get<Mesh>(Handle("mesh_medium_mech"));
    Mesh deadSkin = mech;  // the mech's own buffers, but a dead weight buffer
    deadSkin.vboSkinWeightName = 3911;
    Put("mesh_test_dead_skin", deadSkin);
    Mesh deadTexture = *Store().get<Mesh>(Handle("mesh_crate"));
    deadTexture.texID = 3912;
    Put("mesh_test_dead_texture", deadTexture);
    Mesh deadInstances = *Store().get<Mesh>(Handle("mesh_crate"));
    deadInstances.vboVertName = 3913;
    Put("mesh_test_dead_instances", deadInstances);
    Mesh deadBuffers = BareCopy("mesh_crate");  // drawn from its triangles
    deadBuffers.name = "mesh_test_dead_buffers";
    deadBuffers.hasMeshBuffers = deadBuffers.isIndexed = deadBuffers.isInterleaved = true;
    deadBuffers.vboInterleavedName = 3914;
    deadBuffers.vboIndexName = 3915;
    Put(deadBuffers.name, deadBuffers);
    Mesh nothing = deadBuffers;  // nothing to draw at all
    nothing.name = "mesh_test_nothing";
    nothing.triangles.clear();
    Put(nothing.name, nothing);
    const bool instancing = Sys().shaderModel4;
    const struct Case {
        const char* what;
        std::function<void()> breakIt;
        const char* report;
        bool drawn;
    } cases[] = {
        {"missing mesh", [&] { AddProp("prop", "mesh_not_loaded", front, Quaternion(1.0f), 10.0f); }, "mesh_not_loaded", false},
        {"dead skin buffer",
         [&] {
             AddObject(StampMech("mech"), front, Quaternion(1.0f));
             Change("mech", [](GraphicsComp& g) { g.modelMesh = Handle("mesh_test_dead_skin"); });
         },
         "has no live skin buffers: drawn from its triangles", true},
        {"dead buffers", [&] { AddProp("prop", deadBuffers.name, front, Quaternion(1.0f), 10.0f); }, "mesh_test_dead_buffers", true},
        {"nothing to draw", [&] { AddProp("prop", nothing.name, front, Quaternion(1.0f), 10.0f); }, "mesh_test_nothing", false},
        {"no texture", [&] { AddProp("prop", "mesh_test_dead_texture", front, Quaternion(1.0f), 10.0f); }, "has no texture", true},
        {"instances without a mesh",
         [&] {
             ObjectLock lock;
             Objects().instanceBufferList[""].Append(Matrix());
         },
         "names no mesh", false},
        {"dead instance buffers",
         [&] {
             AddProp("prop", "mesh_test_dead_instances", front, Quaternion(1.0f), 10.0f, true);
             RebuildInstances();
         },
         "mesh_test_dead_instances: invalid buffer object!", false},
        {"cockpit not loaded",
         [&] {
             ObjectLock lock;
             Objects().cockpit.meshHandle = Handle("mesh_cockpit_not_loaded");
         },
         "mesh_cockpit_not_loaded", false},
    };
    for (const Case& c : cases) {
        SetUp();
        if (!instancing && std::string(c.what).find("instance") != std::string::npos) continue;
        LogCapture log;
        c.breakIt();
        std::string afterTwo;
        for (int frame = 0; frame < 3; ++frame) {
            if (frame == 2) afterTwo = log.Text();
            DrawFrame();
        }
        EXPECT_EQ(log.Count("WARNING") + log.Count("ERROR"), 1) << c.what << "\n" << log.Text();
        EXPECT_TRUE(log.Has(c.report)) << c.what << "\n" << log.Text();
        EXPECT_EQ(log.Text(), afterTwo) << c.what;
        EXPECT_EQ(CoveredPixels(Pictures().depth) > 0, c.drawn) << c.what;
    }
}

TEST_F(MeshPass, TheCockpitIsDrawnOverThePictureAndLeavesDepthTestingOn) {
    const Pixel pillar{kW * 9 / 100, kH / 2}, sill{kW / 2, kH - 8};  // from the window's top left
    auto windowAt = [](Pixel p) {
        const auto shown = ReadOwnWindowPixel(p.x, p.y);
        return shown ? shown->r + shown->g + shown->b : -1;
    };
    TheGraphics().Update();
    const int barePillar = windowAt(pillar), bareSill = windowAt(sill);
    {
        ObjectLock lock;
        Objects().cockpit.meshHandle = Handle("mesh_cockpit");
    }
    TheGraphics().Update();
    EXPECT_GT(std::abs(windowAt(pillar) - barePillar), 30);
    EXPECT_GT(std::abs(windowAt(sill) - bareSill), 30);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
}

}  // namespace
