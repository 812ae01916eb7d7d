// The generated start-up pictures and box model read back through the
// engine's own readers, judged as a player and the collision code see them.
#include <gtest/gtest.h>

#include <cmath>

#include "resource_manager.h"
#include "resource_manager/binary_files.h"

namespace {

int Channel(uint32_t pixel, int c) { return int(pixel >> (8 * c)) & 0xFF; }

}  // namespace

// Two opaque screen-sized pictures that a player tells apart; what they
// show is the art's business (tests/content/generated_art_test.cpp judges
// every picture's detail).
TEST(GeneratedContent, TheTwoStartUpPicturesAreOpaqueScreensThatDiffer) {
    ResourceManager store;
    const char* const files[2] = {ResourceManager::kSplashImageFile, ResourceManager::kLoadingImageFile};
    std::unique_ptr<Texture> pictures[2];
    for (int i = 0; i < 2; ++i) {
        pictures[i] = store.LoadTexture(std::string(QUELL_RUN_DIR) + "/" + files[i]);
        ASSERT_TRUE(pictures[i]->data && pictures[i]->width == 1024u && pictures[i]->height == 768u) << files[i];
    }
    double difference = 0.0;
    int translucent = 0;
    for (unsigned y = 0; y < 768; ++y)
        for (unsigned x = 0; x < 1024; ++x) {
            const uint32_t a = pictures[0]->GetPixel(x, y), b = pictures[1]->GetPixel(x, y);
            translucent += Channel(a, 3) != 255 || Channel(b, 3) != 255;
            for (int c = 0; c < 3; ++c) difference += std::abs(Channel(a, c) - Channel(b, c)) / (1024.0 * 768.0 * 3.0);
        }
    EXPECT_EQ(translucent, 0);
    EXPECT_GT(difference, 20.0) << "the splash and loading pictures look alike";
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
