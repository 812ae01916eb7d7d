// GroundPlaneObject: placement matrix, height and colour under a point (map
// edges, rows against z, off-map and missing-map cases), and the hover rule
// of KeepAboveGround (clamp, spring band, damping limit, speed limit).
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "geom/geom_expect.h"
#include "objects/ground_plane_object.h"
#include "resource_manager.h"
#include "support/log_capture.h"
#include "system.h"

namespace {

ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

void PutMap(const std::string& name, const Texture& map) {
    if (Store().IsStored(name)) Store().DeleteResource(name);
    ASSERT_EQ(Store().add(name, map), 0);
}

Texture Luminance(unsigned w, unsigned h, float row0, float rest) {
    Texture map(w, h, 4);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) map.SetLuminance(x, y, y == 0 ? row0 : rest);
    return map;
}

const Vector kGrey(0.3f, 0.3f, 0.3f, 1.0f);

Vector Rgb(float r, float g) { return Vector(r / 255.0f, g / 255.0f, 1.0f, 1.0f); }

// A 4x2 ground covering x 10..18 and z -4..0, heights 0..8 above y = 5.
class GroundMaps : public ::testing::Test {
protected:
    void SetUp() override {
        PutMap("tex_ground_test_height", Luminance(4, 2, 0.5f, 0.5f));
        // Each texel's colour tells its column (red) and row (green).
        Texture colours(4, 2, 4);
        for (unsigned y = 0; y < 2; ++y)
            for (unsigned x = 0; x < 4; ++x) colours.SetPixel(x, y, 10 * x | (100 + y) << 8 | 0xFFFF0000u);
        PutMap("tex_ground_test_color", colours);
        ground.heightMapHandle = Handle("tex_ground_test_height");
        ground.colorMapHandle = Handle("tex_ground_test_color");
        ground.pos = Vector(10, 5, -4, 0);
        ground.scale = Vector(8, 8, 4, 0);
    }
    void TearDown() override {
        for (const char* name : {"tex_ground_test_height", "tex_ground_test_color"})
            if (Store().IsStored(name)) Store().DeleteResource(name);
    }
    GroundPlaneObject ground;
    test_support::LogCapture log;
};

TEST_F(GroundMaps, HeightAndColourUnderAPointWithRowsAgainstZ) {
    EXPECT_TRUE(VectorNear(ground.GetMatrix() * Vector(1, 1, 1, 1), Vector(18, 13, 0, 1))) << "placing the mesh";
    const float mid = 127.0f / 255.0f * 8.0f + 5.0f;  // mid-grey of a range of 8, above y = 5
    EXPECT_NEAR(ground.GetHeight(Vector(14, 999, -2)), mid, 1e-4f) << "y of the point plays no part";
    EXPECT_NEAR(ground.GetHeight(Vector(10, 0, -4)), mid, 1e-4f) << "the corner is on the map";
    EXPECT_TRUE(VectorNear(ground.GetColor(Vector(15, 0, -3)), Rgb(20, 101)));  // fx 2.5, fz 0.5: row 1
    EXPECT_TRUE(VectorNear(ground.GetColor(Vector(15, 0, -1)), Rgb(20, 100)));  // fz 1.5: row 0
    EXPECT_TRUE(VectorNear(ground.GetColor(Vector(10, 0, -4)), Rgb(0, 101)));   // H - 0 limited to the last row
    EXPECT_TRUE(VectorNear(ground.GetColor(Vector(17.99f, 0, -3)), Rgb(30, 101)));

    // Bright image row 0, black row 1: the far z edge of the map reads row 0.
    PutMap("tex_ground_test_height", Luminance(4, 2, 1.0f, 0.0f));
    EXPECT_NEAR(ground.GetHeight(Vector(14, 0, -3.9f)), 5.0f, 0.01f);
    EXPECT_NEAR(ground.GetHeight(Vector(14, 0, -0.1f)), 13.0f, 0.01f);

    // Narrow pixels: green and blue must not read past the last byte.
    Texture grey(4, 2, 1);
    for (unsigned i = 0; i < 8; ++i) grey.data[i] = (unsigned char)(i + 1);
    PutMap("tex_ground_test_color", grey);
    EXPECT_TRUE(VectorNear(ground.GetColor(Vector(17.5f, 0, -3.5f)), Vector(8.0f / 255.0f, 0, 0, 1)));
}

TEST_F(GroundMaps, EdgesOutsideAndDegenerateGroundsAreOffTheMap) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Vector& p : {Vector(18, 0, -2), Vector(14, 0, 0), Vector(9.99f, 0, -2), Vector(14, 0, -4.01f),
                            Vector(nan, 0, nan)}) {
        EXPECT_FLOAT_EQ(ground.GetHeight(p), 5.0f) << p;
        EXPECT_TRUE(VectorNear(ground.GetColor(p), kGrey)) << p;
    }
    GroundPlaneObject flat = ground;
    flat.scale.x = 0.0f;
    EXPECT_TRUE(flat.GetHeight(Vector(10, 0, -2)) == 5.0f && VectorNear(flat.GetColor(Vector(10, 0, -2)), kGrey));
    GroundPlaneObject bare;  // no maps at all
    bare.pos = Vector(0, -7, 0, 0);
    bare.scale = Vector(10, 10, 10, 0);
    EXPECT_FLOAT_EQ(bare.GetHeight(Vector(5, 0, 5)), -7.0f);
    EXPECT_EQ(log.Text(), "") << "being off the map is no error";

    PutMap("tex_ground_test_height", Texture());
    EXPECT_FLOAT_EQ(ground.GetHeight(Vector(14, 0, -2)), 5.0f);
    // The ground keeps only names: freed maps leave nothing dangling.
    TearDown();
    EXPECT_TRUE(ground.GetHeight(Vector(14, 0, -2)) == 5.0f && VectorNear(ground.GetColor(Vector(14, 0, -2)), kGrey));
    EXPECT_TRUE(log.Has("tex_ground_test_color has not been loaded"));
}

// ---- KeepAboveGround: no maps, so the ground is at y = 3; hover 2 gives t = 5.
class Hover : public ::testing::Test {
protected:
    void SetUp() override {
        saved = Sys().frameTime.load();
        Sys().frameTime.store(0.05);  // damping then removes half the speed
        ground.pos = Vector(0, 3, 0, 0);
    }
    void TearDown() override { Sys().frameTime.store(saved); }
    static System& Sys() { return *Module<System>::Instance(); }
    float VelocityAfter(float y, float vy) {
        Vector position(1, y, 2, 7), velocity(4, vy, 6, 9);
        ground.KeepAboveGround(position, velocity, 2.0f);
        lastY = position.y;
        EXPECT_TRUE(VectorNear(Vector(position.x, position.z, velocity.x, velocity.z), Vector(1, 2, 4, 6)));
        return velocity.y;
    }
    GroundPlaneObject ground;
    double saved = 0.0;
    float lastY = 0.0f;
};

TEST_F(Hover, ClampSpringBandAndSpeedLimit) {
    const struct { float y, vy, expected; } cases[] = {
        {0, 0, 65.0f * 0.05f * 4.0f * 0.5f},        // far below: sprung up from e = -2
        {5.5f, 0, -65.0f * 0.05f * 0.25f * 0.5f},   // the band ends half a unit above t
        {5.6f, 1, 1}, {25, -3, -3}, {25, 500, 200}, {25, -500, -200},
    };
    for (const auto& c : cases) EXPECT_FLOAT_EQ(VelocityAfter(c.y, c.vy), c.expected) << c.y << " " << c.vy;
    VelocityAfter(0, 0);
    EXPECT_FLOAT_EQ(lastY, 3.0f);  // lifted to t - 2
    VelocityAfter(50000, 0);
    EXPECT_FLOAT_EQ(lastY, 10005.0f);
}

TEST_F(Hover, DampingStopsTheBodyButNeverReversesItAndTheHeightFollowsTheMap) {
    Sys().frameTime.store(0.5);
    EXPECT_TRUE(VelocityAfter(5, 10) == 0.0f && VelocityAfter(5, -10) == 0.0f);
    Sys().frameTime.store(0.01);
    EXPECT_FLOAT_EQ(VelocityAfter(5, 10), 9.0f);

    PutMap("tex_ground_test_hover", Luminance(2, 2, 1.0f, 1.0f));
    ground.heightMapHandle = Handle("tex_ground_test_hover");
    ground.scale = Vector(10, 4, 10, 0);  // ground at 3 + 4 = 7 on the map
    VelocityAfter(0, 0);
    EXPECT_FLOAT_EQ(lastY, 7.0f);  // t = 9, lifted to t - 2
    ground.pos.x = 5;              // the point at x = 1 is now off the map: t = 5
    VelocityAfter(0, 0);
    EXPECT_FLOAT_EQ(lastY, 3.0f);
    Store().DeleteResource("tex_ground_test_hover");
}

}  // namespace
