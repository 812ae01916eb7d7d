// GroundPlaneObject: placement matrix, height and colour under a point (map
// edges, rows against z, off-map and missing-map cases), and the hover rule
// of KeepAboveGround (clamp, spring band, damping limit, speed limit).
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "ground_plane_object.h"
#include "resource_manager.h"
#include "support/log_capture.h"
#include "system.h"

namespace {

using test_support::LogCapture;

ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

void SetRgb(Texture& t, unsigned x, unsigned y, unsigned char r, unsigned char g, unsigned char b) {
    t.SetPixel(x, y, uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | 0xFF000000u);
}

// Stores (or replaces) a map under name.
void PutMap(const std::string& name, const Texture& map) {
    if (Store().IsStored(name)) Store().DeleteResource(name);
    ASSERT_EQ(Store().add(name, map), 0);
}

// A 4x2 ground covering x 10..18 and z -4..0, heights 0..8 above y = 5.
GroundPlaneObject Ground(const std::string& heightMap, const std::string& colorMap) {
    GroundPlaneObject ground;
    ground.heightMapHandle = Handle(heightMap);
    ground.colorMapHandle = Handle(colorMap);
    ground.pos = Vector(10, 5, -4, 0);
    ground.scale = Vector(8, 8, 4, 0);
    return ground;
}

class GroundMaps : public ::testing::Test {
protected:
    void SetUp() override {
        Texture flat(4, 2, 4);
        for (unsigned y = 0; y < 2; ++y)
            for (unsigned x = 0; x < 4; ++x) flat.SetLuminance(x, y, 0.5f);
        PutMap("tex_ground_test_height", flat);

        // Each texel's colour tells its column (red) and row (green).
        Texture colours(4, 2, 4);
        for (unsigned y = 0; y < 2; ++y)
            for (unsigned x = 0; x < 4; ++x) SetRgb(colours, x, y, (unsigned char)(10 * x), (unsigned char)(100 + y), 255);
        PutMap("tex_ground_test_color", colours);
    }
    void TearDown() override {
        Store().DeleteResource("tex_ground_test_height");
        Store().DeleteResource("tex_ground_test_color");
    }

    GroundPlaneObject ground = Ground("tex_ground_test_height", "tex_ground_test_color");
    LogCapture log;
};

void ExpectColor(const Vector& c, float r, float g, float b) {
    EXPECT_FLOAT_EQ(c.x, r);
    EXPECT_FLOAT_EQ(c.y, g);
    EXPECT_FLOAT_EQ(c.z, b);
    EXPECT_FLOAT_EQ(c.w, 1.0f);
}

void ExpectGrey(const Vector& c) { ExpectColor(c, 0.3f, 0.3f, 0.3f); }

TEST(GroundPlaneValue, ANewGroundIsEmptyAndItsMatrixPlacesTheMesh) {
    GroundPlaneObject ground;
    EXPECT_TRUE(ground.meshHandle.id.empty());
    EXPECT_FLOAT_EQ(ground.scale.Mag(), 0.0f);
    EXPECT_FLOAT_EQ(ground.pos.Mag(), 0.0f);

    ground.scale = Vector(100, 20, 50, 0);
    ground.pos = Vector(-50, 3, -25, 0);
    Matrix m = ground.GetMatrix();
    Vector corner = m * Vector(1, 1, 1, 1);
    EXPECT_FLOAT_EQ(corner.x, 50.0f);
    EXPECT_FLOAT_EQ(corner.y, 23.0f);
    EXPECT_FLOAT_EQ(corner.z, 25.0f);
    EXPECT_FLOAT_EQ(corner.w, 1.0f);
    EXPECT_FLOAT_EQ(m.m[0][1], 0.0f);
    EXPECT_FLOAT_EQ(m.m[3][3], 1.0f);
}

TEST_F(GroundMaps, HeightIsTheLuminanceScaledAboveTheCorner) {
    // Mid-grey luminance 127/255 of a height range of 8, above y = 5.
    float expected = 127.0f / 255.0f * 8.0f + 5.0f;
    EXPECT_NEAR(ground.GetHeight(Vector(14, 999, -2)), expected, 1e-4f) << "y of the point plays no part";
    EXPECT_NEAR(ground.GetHeight(Vector(10, 0, -4)), expected, 1e-4f) << "the corner is on the map";
}

TEST_F(GroundMaps, TheFarEdgesAndOutsideAreOffTheMap) {
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(18, 0, -2)), 5.0f);     // fx = W
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(14, 0, 0)), 5.0f);      // fz = H
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(9.99f, 0, -2)), 5.0f);  // left of the map
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(14, 0, -4.01f)), 5.0f);
    ExpectGrey(ground.GetColor(Vector(18, 0, -2)));
    ExpectGrey(ground.GetColor(Vector(-100, 0, -100)));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(nan, 0, nan)), 5.0f);
    ExpectGrey(ground.GetColor(Vector(nan, 0, -2)));
    EXPECT_EQ(log.Text(), "") << "being off the map is no error";
}

TEST_F(GroundMaps, HeightFollowsImageRowsAgainstWorldZ) {
    // Bright top image row (row 0), black bottom row (row 1): the far z edge
    // of the map reads row 0.
    Texture rows(4, 2, 4);
    for (unsigned x = 0; x < 4; ++x) rows.SetLuminance(x, 0, 1.0f);
    PutMap("tex_ground_test_height", rows);
    float nearEdge = ground.GetHeight(Vector(14, 0, -3.9f));  // fz ~ 0.05: image v ~ 1.95
    float farEdge = ground.GetHeight(Vector(14, 0, -0.1f));   // fz ~ 1.95: image v ~ 0.05
    EXPECT_NEAR(nearEdge, 5.0f, 0.01f);
    EXPECT_NEAR(farEdge, 13.0f, 0.01f);
}

TEST_F(GroundMaps, ColourReadsOneTexelWithRowsAgainstZ) {
    // fx = 2.5 -> column 2; fz = 0.5 -> row int(1.5) = 1.
    ExpectColor(ground.GetColor(Vector(15, 0, -3)), 20.0f / 255.0f, 101.0f / 255.0f, 1.0f);
    // fz = 1.5 -> row int(0.5) = 0.
    ExpectColor(ground.GetColor(Vector(15, 0, -1)), 20.0f / 255.0f, 100.0f / 255.0f, 1.0f);
    // The corner itself: fz = 0 gives H - fz = 2, limited to the last row.
    ExpectColor(ground.GetColor(Vector(10, 0, -4)), 0.0f, 101.0f / 255.0f, 1.0f);
    // Just inside the far x edge: the last column.
    ExpectColor(ground.GetColor(Vector(17.99f, 0, -3)), 30.0f / 255.0f, 101.0f / 255.0f, 1.0f);
}

TEST_F(GroundMaps, NarrowPixelsReadMissingChannelsAsZero) {
    Texture grey(4, 2, 1);
    for (unsigned i = 0; i < 8; ++i) grey.data[i] = (unsigned char)(i + 1);
    PutMap("tex_ground_test_color", grey);
    // Column 3, row 1 is the last byte: green and blue must not read past it.
    ExpectColor(ground.GetColor(Vector(17.5f, 0, -3.5f)), 8.0f / 255.0f, 0.0f, 0.0f);
}

TEST_F(GroundMaps, AZeroScaleReadsAsOffTheMap) {
    ground.scale.x = 0.0f;
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(10, 0, -2)), 5.0f);
    ExpectGrey(ground.GetColor(Vector(10, 0, -2)));
    ground.scale = Vector(8, 8, 0, 0);
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(14, 0, -4)), 5.0f);
    ExpectGrey(ground.GetColor(Vector(14, 0, -4)));
}

TEST_F(GroundMaps, AMapFreedUnderTheGroundReadsAsOffTheMapWithTheStoreMessage) {
    // The ground keeps only names: freeing its maps (a failed level load, a
    // freed category) leaves nothing dangling.
    GroundPlaneObject kept = ground;
    Store().DeleteResource("tex_ground_test_height");
    Store().DeleteResource("tex_ground_test_color");
    EXPECT_FLOAT_EQ(kept.GetHeight(Vector(14, 0, -2)), 5.0f);
    ExpectGrey(kept.GetColor(Vector(14, 0, -2)));
    EXPECT_TRUE(log.Has("tex_ground_test_height has not been loaded"));
    EXPECT_TRUE(log.Has("tex_ground_test_color has not been loaded"));
}

TEST_F(GroundMaps, AGroundWithoutMapsIsQuietlyFlat) {
    GroundPlaneObject bare;
    bare.pos = Vector(0, -7, 0, 0);
    bare.scale = Vector(10, 10, 10, 0);
    EXPECT_FLOAT_EQ(bare.GetHeight(Vector(5, 0, 5)), -7.0f);
    ExpectGrey(bare.GetColor(Vector(5, 0, 5)));
    EXPECT_EQ(log.Text(), "");
}

TEST_F(GroundMaps, AMapWithoutPixelsReadsAsOffTheMap) {
    PutMap("tex_ground_test_height", Texture());
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(14, 0, -2)), 5.0f);
}

// ---- KeepAboveGround --------------------------------------------------------

class Hover : public ::testing::Test {
protected:
    void SetUp() override {
        savedFrameTime = Sys().frameTime.load();
        SetDt(kDt);
        ground.pos = Vector(0, 3, 0, 0);  // no maps: the ground is at y = 3 everywhere
    }
    void TearDown() override { Sys().frameTime.store(savedFrameTime); }

    static System& Sys() { return *Module<System>::Instance(); }
    static void SetDt(double dt) { Sys().frameTime.store(dt); }

    static constexpr float kDt = 0.05f;  // damping then removes half the speed

    GroundPlaneObject ground;
    double savedFrameTime = 0.0;
    const float hover = 2.0f;  // hover height t = 5
};

TEST_F(Hover, ABodyFarBelowIsLiftedToTheSinkLimitAndSprungUp) {
    Vector position(1, 0, 2, 7);  // 5 below t
    Vector velocity(4, 0, 6, 9);
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(position.y, 3.0f);  // t - 2
    float sprung = 65.0f * kDt * 4.0f;  // e = -2
    EXPECT_FLOAT_EQ(velocity.y, sprung * 0.5f);
    EXPECT_FLOAT_EQ(position.x, 1.0f);
    EXPECT_FLOAT_EQ(position.z, 2.0f);
    EXPECT_FLOAT_EQ(position.w, 7.0f);
    EXPECT_FLOAT_EQ(velocity.x, 4.0f);
    EXPECT_FLOAT_EQ(velocity.z, 6.0f);
    EXPECT_FLOAT_EQ(velocity.w, 9.0f);
}

TEST_F(Hover, ABodyHighAboveKeepsItsHeightAndOnlyItsSpeedIsLimited) {
    Vector position(0, 25, 0, 0);
    Vector velocity(0, -3, 0, 0);
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(position.y, 25.0f);
    EXPECT_FLOAT_EQ(velocity.y, -3.0f);

    velocity.y = 500.0f;
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(velocity.y, 200.0f);
    velocity.y = -500.0f;
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(velocity.y, -200.0f);

    position.y = 50000.0f;
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(position.y, 10005.0f);
}

TEST_F(Hover, TheSpringBandEndsHalfAUnitAboveTheHoverHeight) {
    Vector position(0, 5.5f, 0, 0);
    Vector velocity(0, 0, 0, 0);
    ground.KeepAboveGround(position, velocity, hover);
    float sprung = -65.0f * kDt * 0.25f;
    EXPECT_FLOAT_EQ(velocity.y, sprung * 0.5f);

    position.y = 5.6f;
    velocity.y = 1.0f;
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(velocity.y, 1.0f);
    EXPECT_FLOAT_EQ(position.y, 5.6f);
}

TEST_F(Hover, DampingStopsTheBodyButNeverReversesIt) {
    SetDt(0.5);
    Vector position(0, 5, 0, 0);  // exactly at the hover height: no spring
    Vector velocity(0, 10, 0, 0);
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(velocity.y, 0.0f);

    velocity.y = -10.0f;
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(velocity.y, 0.0f);

    SetDt(0.01);
    velocity.y = 10.0f;
    ground.KeepAboveGround(position, velocity, hover);
    EXPECT_FLOAT_EQ(velocity.y, 9.0f);
}

TEST_F(Hover, TheHoverHeightFollowsTheMap) {
    Texture white(2, 2, 4);
    for (unsigned y = 0; y < 2; ++y)
        for (unsigned x = 0; x < 2; ++x) white.SetLuminance(x, y, 1.0f);
    PutMap("tex_ground_test_hover", white);
    ground.heightMapHandle = Handle("tex_ground_test_hover");
    ground.scale = Vector(10, 4, 10, 0);  // ground at 3 + 4 = 7 on the map

    Vector onMap(5, 0, 5, 0), offMap(-5, 0, 5, 0);
    Vector velocity(0, 0, 0, 0);
    ground.KeepAboveGround(onMap, velocity, hover);
    EXPECT_FLOAT_EQ(onMap.y, 7.0f);  // t = 9, lifted to t - 2
    velocity = Vector(0, 0, 0, 0);
    ground.KeepAboveGround(offMap, velocity, hover);
    EXPECT_FLOAT_EQ(offMap.y, 3.0f);  // t = 5
    Store().DeleteResource("tex_ground_test_hover");
}

}  // namespace
