// The camera's view and its limits, the projection the renderer makes once,
// the sky sphere with the sky box that stores it, the box of the debug shapes
// and the cockpit's place in front of the eye. No OpenGL needed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "graphics.h"
#include "graphics/camera_object.h"
#include "graphics/cockpit_object.h"
#include "graphics/sky_box.h"
#include "resource_manager.h"
#include "support/log_capture.h"

namespace {

using test_support::LogCapture;

void ExpectNear(const Vector& actual, const Vector& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
    EXPECT_NEAR(actual.w, expected.w, tolerance);
}

void ExpectIdentity(const Matrix& product) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i / 4][i % 4], i % 5 == 0 ? 1.0f : 0.0f, 1e-5f) << i;
}

CameraObject Camera(int mode, Vector target, float distance, float yaw, float pitch) {
    CameraObject camera;
    camera.mode = mode;
    camera.target = target;
    camera.distance = distance;
    camera.yaw = yaw;
    camera.pitch = pitch;
    camera.Update();
    return camera;
}

TEST(Camera, PitchAndDistanceAreClampedAndStored) {
    const struct {
        float pitch, distance, pitchAfter, distanceAfter;
    } cases[] = {
        {2.0f, 5.0f, 1.5707963f, 5.0f},
        {-2.0f, 5.0f, -1.5707963f, 5.0f},
        {1.5707964f, 0.0f, 1.5707964f, 1e-7f},  // exactly the limit stays
        {-1.5707964f, -3.0f, -1.5707964f, 1e-7f},
    };
    for (const auto& c : cases) {
        const CameraObject camera = Camera(1, Vector(), c.distance, 0.0f, c.pitch);
        EXPECT_EQ(camera.pitch, c.pitchAfter) << c.pitch;
        EXPECT_EQ(camera.distance, c.distanceAfter) << c.distance;
    }
}

TEST(Camera, ANumberThatIsNotFiniteIsResetWithOneWarning) {
    LogCapture log;
    CameraObject camera = Camera(1, Vector(), std::numeric_limits<float>::infinity(), std::nanf(""), std::nanf(""));
    EXPECT_TRUE(camera.pitch == 0.0f && camera.yaw == 0.0f && camera.distance == 1e-7f);
    EXPECT_EQ(log.Count("WARNING"), 3) << log.Text();
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(camera.viewMat.m[i / 4][i % 4]));
    camera.Update();
    EXPECT_EQ(log.Count("WARNING"), 3);
}

TEST(Camera, TheOrbitAndStillModesPlaceTheEye) {
    const Vector target(1, 2, 3, 1);
    // Mode 1, level and facing -z: the eye is `distance` behind the target.
    CameraObject orbit = Camera(1, target, 10.0f, 0.0f, 0.0f);
    ExpectNear(orbit.viewMat * Vector(1, 2, 13, 1), Vector(0, 0, 0, 1));
    ExpectNear(orbit.viewMat * target, Vector(0, 0, -10, 1));
    // Another mode keeps the rotation and leaves the world's origin at the eye.
    const CameraObject turned = Camera(1, target, 10.0f, 0.7f, 0.3f);
    const CameraObject still = Camera(2, target, 10.0f, 0.7f, 0.3f);
    ExpectNear(still.viewMat * Vector(0, 0, 0, 1), Vector(0, 0, 0, 1));
    ExpectNear(still.GetRight(), turned.GetRight());
    ExpectNear(still.GetView(), turned.GetView());
}

TEST(Camera, TheViewLooksAlongYawAndPitchWithTheWorldUpright) {
    for (float yaw : {0.0f, 1.0f, -2.5f})
        for (float pitch : {0.0f, 0.6f, -1.2f}) {
            const CameraObject camera = Camera(0, Vector(5, 6, 7, 0), 0.0f, yaw, pitch);
            const Vector forward(-std::sin(yaw) * std::cos(pitch), -std::sin(pitch), -std::cos(yaw) * std::cos(pitch), 0);
            ExpectNear(camera.viewMat * (Vector(5, 6, 7, 1) + forward), Vector(0, 0, -1, 1));
            EXPECT_NEAR(camera.GetRight().y, 0.0f, 1e-6f) << "the right axis stays level";
            ExpectNear(camera.GetView(), forward * -1.0f);
            ExpectIdentity(camera.GetInvViewMatrix() * camera.viewMat);
        }
}

TEST(Projection, IsTheInverseOfItsInverseAndFollowsTheWindowsAspect) {
    Matrix perspect, inverse;
    Graphics::MakeProjection(800, 600, perspect, inverse);
    ExpectIdentity(perspect * inverse);
    const float f = 1.0f / std::tan(Graphics::kFieldOfView / 2);
    EXPECT_NEAR(perspect.m[0][0], f * 600.0f / 800.0f, 1e-5f);
    EXPECT_NEAR(perspect.m[1][1], f, 1e-5f);
    EXPECT_EQ(perspect.m[2][3], -1.0f);
}

TEST(SkySphere, HasTheSpecifiedCountsPolesAndRadialNormals) {
    const Mesh sphere = Mesh::BuildSphere(16, 16, -800.0f);
    ASSERT_EQ(sphere.verts.size(), 258u);
    EXPECT_EQ(sphere.triangles.size(), 480u);
    EXPECT_TRUE(sphere.verts[0].v[1] == -800.0f && sphere.verts[1].v[1] == 800.0f);
    for (const Triangle& triangle : sphere.triangles)
        for (int corner = 0; corner < 3; ++corner) {
            const Vertex& vertex = sphere.verts[triangle.verts[corner]];
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(triangle.normal[corner][k], vertex.v[k] / 800.0f, 1e-4f);
            EXPECT_TRUE(triangle.texCoord[corner][0] >= 0.0f && triangle.texCoord[corner][0] <= 1.0f);
        }
    EXPECT_TRUE(Mesh::BuildSphere(8, 1, 1.0f).triangles.empty());
    EXPECT_EQ(Mesh::BuildSphere(3, 2, 1.0f).triangles.size(), 6u);
}

TEST(ProceduralBox, SpansItsSizesWithEachFaceSplitTwoByTwoAndNormalsOutwards) {
    const Mesh box = Mesh::BuildBox(2.0f, 4.0f, 6.0f);
    ASSERT_EQ(box.verts.size(), 26u);
    ASSERT_EQ(box.triangles.size(), 48u);
    const float half[3] = {1.0f, 2.0f, 3.0f};
    for (const Vertex& vertex : box.verts)
        for (int k = 0; k < 3; ++k) EXPECT_LE(std::fabs(vertex.v[k]), half[k]);
    int perFace[3][2] = {};  // triangles facing -axis, +axis
    for (const Triangle& triangle : box.triangles) {
        const Vector n(triangle.normal[0]);
        int axis = 0;
        for (int k = 1; k < 3; ++k)
            if (std::fabs(n[k]) > std::fabs(n[axis])) axis = k;
        ASSERT_NEAR(std::fabs(n[axis]), 1.0f, 1e-5f);
        // On the face its normal names, at the box's extent.
        for (unsigned v : triangle.verts) EXPECT_FLOAT_EQ(box.verts[v].v[axis], n[axis] * half[axis]);
        ++perFace[axis][n[axis] > 0];
    }
    for (const auto& face : perFace) EXPECT_TRUE(face[0] == 8 && face[1] == 8);
}

TEST(Cockpit, SitsAtItsOffsetTurnedAQuarterAndBobsUpByOneAndAHalf) {
    CockpitObject cockpit;
    Matrix rest = cockpit.UpdateTransform();
    ExpectNear(rest.VecFromCol(3), Vector(0.0f, -4.6f, 4.4f, 0.0f));
    ExpectNear(rest * Vector(0, 1, 0, 0), Vector(0, 1, 0, 0));  // turned about y
    EXPECT_NEAR(std::fabs((rest * Vector(1, 0, 0, 0)).z), 1.0f, 1e-5f);
    cockpit.moveOffset = Vector(1.0f, 2.0f, 3.0f, 0.0f);
    cockpit.bobPhase = 1.5707963f;
    cockpit.scale = 2.0f;
    const Matrix bobbing = cockpit.UpdateTransform();
    ExpectNear(bobbing.VecFromCol(3), Vector(1.0f, -4.6f + 2.0f + 1.5f, 7.4f, 0.0f));
    ExpectNear(bobbing * Vector(0, 1, 0, 0), Vector(0, 2, 0, 0));
}

TEST(SkyBox, StoresTheTurnedSkySphereOnlyWithTheRegistryAndOtherwiseLogsOnePlainLine) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    {
        LogCapture log;
        const SkyBox sky;
        EXPECT_FALSE(store.IsStored("mesh_skybox"));
        EXPECT_EQ(log.Count("mesh_skybox"), 1) << log.Text();
        EXPECT_FALSE(log.Has("ERROR") || log.Has("WARNING")) << log.Text();
    }
    store.Init();
    LogCapture log;
    const SkyBox sky;
    const Mesh* mesh = store.get<Mesh>(sky.meshHandle);
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->verts.size(), 258u);
    // The quarter turn about x takes the first pole from -y to +z.
    EXPECT_NEAR(mesh->verts[0].v[2], 800.0f, 1e-3f);
    EXPECT_NEAR(mesh->verts[0].v[1], 0.0f, 1e-3f);
    EXPECT_TRUE(mesh->useTexture && !mesh->useColor && store.IsStored("tex_skybox"));
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
}

// The picture as the sphere lays it round the camera: straight up the violet
// of the zenith, straight down the dust under the horizon.
TEST(SkyBox, ThePictureShowsItsSkyOverheadAndItsDustUnderfoot) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    store.Init();
    const SkyBox sky;
    const Mesh* mesh = store.get<Mesh>(sky.meshHandle);
    const Texture* picture = store.get<Texture>(Handle(SkyBox::kTextureName));
    ASSERT_TRUE(mesh && picture && picture->width > 0 && picture->height > 0);
    // The texel under the corner whose vertex lies farthest along `up`.
    auto seen = [&](float up) {
        float best = -std::numeric_limits<float>::max();
        const float* uv = nullptr;
        for (const Triangle& triangle : mesh->triangles)
            for (int corner = 0; corner < 3; ++corner)
                if (const float height = up * mesh->verts[triangle.verts[corner]].v[1]; height > best)
                    best = height, uv = triangle.texCoord[corner];
        const uint32_t p = picture->GetPixel(std::min(unsigned(uv[0] * picture->width), picture->width - 1),
                                             std::min(unsigned(uv[1] * picture->height), picture->height - 1));
        return std::array<int, 3>{int(p & 0xFF), int(p >> 8 & 0xFF), int(p >> 16 & 0xFF)};
    };
    const auto zenith = seen(1.0f), nadir = seen(-1.0f);
    EXPECT_TRUE(zenith[2] > zenith[0] && zenith[2] > zenith[1]) << "overhead " << zenith[0] << " " << zenith[1] << " " << zenith[2];
    EXPECT_TRUE(nadir[0] > nadir[2]) << "underfoot " << nadir[0] << " " << nadir[1] << " " << nadir[2];
}

}  // namespace
