// The build's generated content is in the run folder and reads back through
// the engine's own readers.
#include <gtest/gtest.h>

#include <cmath>

#include "resource_manager.h"
#include "resource_manager/binary_files.h"
#include "support/temp_folder.h"

namespace {

const std::string ART = std::string(QUELL_RUN_DIR) + "/resource/art assets/";

int Channel(const Texture& t, unsigned x, unsigned y, int c) { return (t.GetPixel(x, y) >> (8 * c)) & 0xFF; }

}  // namespace

TEST(GeneratedContent, PicturesAreDistinctRgbaWithTheTitleAndTexturesDecode) {
    for (const std::string file : {"textures/box.png", "textures/drone.png", "loading.png",
                                   "splash_screens/studio_logo_loading.png"}) {
        // The files themselves are 8-bit RGBA: the header's bit depth and colour type.
        const std::string png = test_support::ReadFile(ART + file);
        ASSERT_GT(png.size(), 25u) << file;
        EXPECT_TRUE(png[24] == 8 && png[25] == 6) << file;
        EXPECT_EQ(uint8_t(png[18]) << 8 | uint8_t(png[19]), file[0] == 't' ? 64 : 1024) << file;
    }
    ResourceManager store;
    const auto splash = store.LoadTexture(ART + "splash_screens/studio_logo_loading.png");
    const auto loading = store.LoadTexture(ART + "loading.png");
    for (const Texture* p : {splash.get(), loading.get()}) {
        ASSERT_TRUE(p->data && p->height == 768u);
        EXPECT_EQ(Channel(*p, 0, 0, 3), 255);
        int white = 0, whiteBelow = 0, between = 0;  // the title in white above; no white in the backgrounds
        for (unsigned x = 0; x < p->width; ++x)
            for (unsigned y = 150; y < p->height; ++y)
                (y < 260 ? white : y >= 500 ? whiteBelow : between) +=
                    Channel(*p, x, y, 0) > 230 && Channel(*p, x, y, 1) > 230 && Channel(*p, x, y, 2) > 230;
        EXPECT_TRUE(white > 2000 && whiteBelow == 0) << white << " " << whiteBelow;
    }
    // Flat centres that tell the two apart; magenta-orange against blue-teal behind.
    EXPECT_EQ(splash->GetPixel(512, 384), splash->GetPixel(400, 330));
    EXPECT_EQ(loading->GetPixel(512, 384), loading->GetPixel(620, 450));
    int difference = 0;
    for (int c = 0; c < 3; ++c) difference += std::abs(Channel(*splash, 512, 384, c) - Channel(*loading, 512, 384, c));
    EXPECT_GT(difference, 150);
    EXPECT_TRUE(Channel(*splash, 10, 10, 0) > 150 && Channel(*loading, 10, 10, 0) < 60);
    EXPECT_GT(Channel(*loading, 10, 10, 2), 100);
}

// The skinned drone's fit is checked with the rest of the game's models in the content tests.
TEST(GeneratedContent, BoxIsAClosedUnitCube) {
    Mesh box;
    ASSERT_TRUE(LoadMeshFile(ART + "meshes/box", box));
    ASSERT_TRUE(box.verts.size() == 24u && box.triangles.size() == 12u && box.arrays.indices.count == 36u);
    for (const Vertex& v : box.verts)
        for (float c : v.v) EXPECT_FLOAT_EQ(std::fabs(c), 0.5f);
    for (unsigned t = 0; t < box.triangles.size(); ++t) {  // every face points away from the centre
        const float* p = box.GetRawVert(t, 0);
        EXPECT_GT(box.QuickNorm(t) * Vector(p[0], p[1], p[2]), 0.0f) << t;
        EXPECT_FLOAT_EQ(box.triangles[t].normal[0][0], box.QuickNorm(t).x);
    }
}
