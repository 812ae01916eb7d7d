// The generated start-up pictures and box model read back through the
// engine's own readers, judged as a player and the collision code see them.
#include <gtest/gtest.h>

#include <cmath>

#include "resource_manager.h"
#include "resource_manager/binary_files.h"

namespace {

int Channel(uint32_t pixel, int c) { return int(pixel >> (8 * c)) & 0xFF; }

}  // namespace

// Opaque screen-sized pictures with the title in white across the top third,
// no white in the lower third, and clearly different colours overall.
TEST(GeneratedContent, TheTwoStartUpPicturesCarryTheTitleAndTellApart) {
    ResourceManager store;
    double mean[2][3] = {};
    const char* const files[2] = {ResourceManager::kSplashImageFile, ResourceManager::kLoadingImageFile};
    for (int i = 0; i < 2; ++i) {
        const auto picture = store.LoadTexture(std::string(QUELL_RUN_DIR) + "/" + files[i]);
        ASSERT_TRUE(picture->data && picture->width == 1024u && picture->height == 768u) << files[i];
        int whiteAbove = 0, whiteBelow = 0, translucent = 0;
        for (unsigned y = 0; y < picture->height; ++y)
            for (unsigned x = 0; x < picture->width; ++x) {
                const uint32_t p = picture->GetPixel(x, y);
                const bool white = Channel(p, 0) > 230 && Channel(p, 1) > 230 && Channel(p, 2) > 230;
                whiteAbove += white && y < picture->height / 3;
                whiteBelow += white && y >= picture->height * 2 / 3;
                translucent += Channel(p, 3) != 255;
                for (int c = 0; c < 3; ++c) mean[i][c] += Channel(p, c) / (1024.0 * 768.0);
            }
        EXPECT_TRUE(whiteAbove > 2000 && whiteBelow == 0 && translucent == 0)
            << files[i] << ": " << whiteAbove << " " << whiteBelow << " " << translucent;
    }
    EXPECT_GT(std::fabs(mean[0][0] - mean[1][0]) + std::fabs(mean[0][1] - mean[1][1]) +
                  std::fabs(mean[0][2] - mean[1][2]),
              150.0);
}

// The skinned drone's fit is checked with the rest of the game's models in the content tests.
TEST(GeneratedContent, BoxIsAClosedUnitCube) {
    Mesh box;
    ASSERT_TRUE(LoadMeshFile(std::string(QUELL_RUN_DIR) + "/resource/art assets/meshes/box", box));
    ASSERT_TRUE(box.verts.size() == 24u && box.triangles.size() == 12u && box.arrays.indices.count == 36u);
    for (const Vertex& v : box.verts)
        for (float c : v.v) EXPECT_FLOAT_EQ(std::fabs(c), 0.5f);
    for (unsigned t = 0; t < box.triangles.size(); ++t) {  // every face points away from the centre
        const float* p = box.GetRawVert(t, 0);
        EXPECT_GT(box.QuickNorm(t) * Vector(p[0], p[1], p[2]), 0.0f) << t;
        EXPECT_FLOAT_EQ(box.triangles[t].normal[0][0], box.QuickNorm(t).x);
    }
}
