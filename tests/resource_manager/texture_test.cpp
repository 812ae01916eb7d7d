#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "resource_manager.h"
#include "support/log_capture.h"

using test_support::LogCapture;

namespace {

// A w x h RGBA texture whose every byte is `fill`.
Texture Filled(unsigned w, unsigned h, unsigned char fill, unsigned bpp = 4) {
    Texture t(w, h, bpp);
    for (size_t i = 0; i < t.ByteCount(); ++i) t.data[i] = fill;
    return t;
}

void SetRgba(Texture& t, unsigned x, unsigned y, unsigned char r, unsigned char g, unsigned char b,
             unsigned char a) {
    t.SetPixel(x, y, uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24);
}

}  // namespace

TEST(TextureValue, ConstructionZeroFillsAndMarksNoTexture) {
    Texture empty;
    EXPECT_EQ(empty.data, nullptr);
    EXPECT_EQ(empty.texID, 0xFFFFFFFFu);
    Texture t(3, 2, 4);
    ASSERT_NE(t.data, nullptr);
    EXPECT_EQ(t.ByteCount(), 24u);
    for (size_t i = 0; i < 24; ++i) EXPECT_EQ(t.data[i], 0) << i;
    EXPECT_EQ(t.texID, 0xFFFFFFFFu);
}

TEST(TextureValue, CopiesAreDeepAndAssignmentKeepsTargetName) {
    Texture source = Filled(2, 2, 7);
    source.texID = 11;
    Texture copy(source);
    EXPECT_EQ(copy.texID, 11u);
    EXPECT_NE(copy.data, source.data);
    source.data[0] = 99;
    EXPECT_EQ(copy.data[0], 7);

    Texture target = Filled(5, 5, 1, 3);
    target.texID = 42;
    target = source;
    EXPECT_EQ(target.texID, 42u);
    EXPECT_EQ(target.width, 2u);
    EXPECT_EQ(target.bytesPerPixel, 4u);
    EXPECT_EQ(target.data[0], 99);

    // From a texture without pixels: no pixels and no sizes describing them.
    target = Texture();
    EXPECT_EQ(target.data, nullptr);
    EXPECT_EQ(target.ByteCount(), 0u);
    EXPECT_EQ(target.texID, 42u);

    Texture& alias = source;
    source = alias;
    EXPECT_EQ(source.data[0], 99);
}

TEST(TextureValue, PixelWordsAreLittleEndianAndBoundsChecked) {
    Texture t(2, 2, 4);
    t.SetPixel(1, 1, 0x04030201u);
    EXPECT_EQ(t.data[12], 1);
    EXPECT_EQ(t.data[15], 4);
    EXPECT_EQ(t.GetPixel(1, 1), 0x04030201u);
    EXPECT_EQ(t.GetPixel(2, 0), 0u);
    t.SetPixel(0, 2, 0xFFFFFFFFu);  // outside: no write anywhere
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(t.data[i], 0);

    // One byte per pixel: the last pixel must not reach past the block.
    Texture grey(2, 1, 1);
    grey.SetPixel(1, 0, 0xAABBCCDDu);
    EXPECT_EQ(grey.data[0], 0);
    EXPECT_EQ(grey.data[1], 0xDD);
    EXPECT_EQ(grey.GetPixel(1, 0), 0xDDu);
}

TEST(TextureLuminance, AverageAndSetFollowTheChannelRules) {
    Texture t(2, 1, 4);
    SetRgba(t, 0, 0, 255, 0, 0, 0);
    EXPECT_FLOAT_EQ(t.GetAvgLuminance(0, 0), float(255 / 765.0));  // alpha never counts
    t.SetLuminance(1, 0, 0.999f);
    EXPECT_EQ(t.GetPixel(1, 0), 0xFFFEFEFEu);  // 254.745 truncated, alpha 255
    t.SetLuminance(1, 0, 1.0f);
    EXPECT_EQ(t.GetPixel(1, 0), 0xFFFFFFFFu);
    t.SetLuminance(1, 0, 7.5f);
    EXPECT_EQ(t.data[4], 255);
    t.SetLuminance(1, 0, -2.0f);
    EXPECT_EQ(t.data[4], 0);
    EXPECT_FLOAT_EQ(t.GetMaxLuminance(), float(255 / 765.0));

    Texture grey(1, 1, 1);
    grey.SetLuminance(0, 0, 0.5f);
    EXPECT_EQ(grey.data[0], 127);
    EXPECT_FLOAT_EQ(grey.GetAvgLuminance(0, 0), float(127 / 255.0));

    Texture twoByte = Filled(1, 1, 200, 2);
    EXPECT_EQ(twoByte.GetAvgLuminance(0, 0), 0.0f);
    twoByte.SetLuminance(0, 0, 0.0f);
    EXPECT_EQ(twoByte.data[0], 200);
    EXPECT_EQ(Texture().GetMaxLuminance(), 0.0f);
    EXPECT_EQ(t.GetAvgLuminance(5, 5), 0.0f);
}

TEST(TextureLuminance, InterpolationWeightsAndClampsNeighbours) {
    Texture t(4, 1, 1);
    const unsigned char columns[4] = {0, 51, 102, 255};
    for (unsigned x = 0; x < 4; ++x) t.data[x] = columns[x];
    auto L = [&](unsigned x) { return columns[x] / 255.0f; };
    EXPECT_NEAR(t.GetInterpAvgLuminance(0.0f, 0.0f), L(0), 1e-6);
    EXPECT_NEAR(t.GetInterpAvgLuminance(2.0f, 0.0f), L(1), 1e-6);  // integer u: column u - 1
    EXPECT_NEAR(t.GetInterpAvgLuminance(1.5f, 0.0f), (L(1) + L(2)) / 2, 1e-6);
    EXPECT_NEAR(t.GetInterpAvgLuminance(1.25f, 0.0f), 0.75f * L(0) + 0.25f * L(1), 1e-6);
    // Right neighbour clamped to the last column at u = width - 0.25.
    EXPECT_NEAR(t.GetInterpAvgLuminance(3.75f, 0.0f), L(3), 1e-6);
    // Callers outside the image still read inside it.
    EXPECT_NEAR(t.GetInterpAvgLuminance(9.0f, 4.0f), L(3), 1e-6);
    EXPECT_NEAR(t.GetInterpAvgLuminance(-3.0f, -1.0f), L(0), 1e-6);
    EXPECT_EQ(Texture().GetInterpAvgLuminance(0.5f, 0.5f), 0.0f);
}

TEST(TextureEdits, SwizzleFlipAndBilinearDownsample) {
    Texture t(1, 1, 4);
    SetRgba(t, 0, 0, 1, 2, 3, 4);
    t.SwizzleBytes(0, 1, 2, 3);
    EXPECT_EQ(t.GetPixel(0, 0), 0x04030201u);
    t.SwizzleBytes(2, 1, 0, 3);
    EXPECT_EQ(t.GetPixel(0, 0), 0x04010203u);
    t.SwizzleBytes(0, 1, 2, 4);  // refused
    EXPECT_EQ(t.GetPixel(0, 0), 0x04010203u);

    Texture rgb(1, 1, 3);
    rgb.data[0] = 10, rgb.data[1] = 20, rgb.data[2] = 30;
    rgb.SwizzleBytes(2, 1, 0, 3);
    EXPECT_EQ(rgb.data[0], 30);
    EXPECT_EQ(rgb.data[2], 10);

    Texture rows(1, 3, 1);
    rows.data[0] = 1, rows.data[1] = 2, rows.data[2] = 3;
    rows.FlipY();
    EXPECT_EQ(rows.data[0], 3);
    EXPECT_EQ(rows.data[1], 2);
    EXPECT_EQ(rows.data[2], 1);

    Texture big = Filled(3, 3, 200);
    SetRgba(big, 0, 0, 10, 0, 0, 0);
    SetRgba(big, 1, 0, 11, 0, 0, 0);
    SetRgba(big, 0, 1, 11, 0, 0, 0);
    SetRgba(big, 1, 1, 11, 0, 0, 0);
    big.texID = 5;
    big.DownsampleBilinear();
    EXPECT_EQ(big.width, 1u);
    EXPECT_EQ(big.height, 1u);
    EXPECT_EQ(big.data[0], 10);  // 43 * 0.25 truncated; third row and column dropped
    EXPECT_EQ(big.texID, 5u);
}

TEST(TextureEdits, ClosestDownsampleHalvesTowardTheTarget) {
    struct Case {
        unsigned w, h;
        int tw, th;
        unsigned ew, eh;
    } cases[] = {
        {512, 512, 50, 50, 64, 64}, {64, 64, 50, 50, 64, 64},   {128, 128, 64, 64, 64, 64},
        {100, 100, 50, 50, 50, 50}, {256, 128, 50, 50, 128, 64}, {8, 8, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        Texture t(c.w, c.h, 4);
        t.DownsampleClosest(c.tw, c.th);
        EXPECT_EQ(t.width, c.ew) << c.w << " toward " << c.tw;
        EXPECT_EQ(t.height, c.eh) << c.h << " toward " << c.th;
    }
    // Degenerate targets and images stop at once instead of halving to nothing.
    Texture t(16, 16, 4);
    t.DownsampleClosest(0, 0);
    t.DownsampleClosest(-4, 8);
    EXPECT_EQ(t.width, 16u);
    Texture empty;
    empty.DownsampleClosest(1, 1);
    EXPECT_EQ(empty.data, nullptr);
}

TEST(TextureFiles, LoadTextureDecodesRgbaAndReportsUnreadableFiles) {
    ResourceManager store;
    LogCapture log;
    std::unique_ptr<Texture> missing = store.LoadTexture("no/such/image.png");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->data, nullptr);
    EXPECT_TRUE(log.Has("Error loading texture!no/such/image.png"));

    const char* path = "texture_test_not_an_image.png";
    std::ofstream(path) << "this is not a picture";
    std::unique_ptr<Texture> junk = store.LoadTexture(path);
    EXPECT_EQ(junk->data, nullptr);
    std::remove(path);

    std::unique_ptr<Texture> box =
        store.LoadTexture(std::string(QUELL_RUN_DIR) + "/resource/art assets/textures/box.png");
    ASSERT_NE(box->data, nullptr);
    EXPECT_EQ(box->width, 64u);
    EXPECT_EQ(box->bytesPerPixel, 4u);
    EXPECT_EQ(box->data[3], 255);  // opaque
}

TEST(TextureHelpers, RectCornersGoRoundFromTheFirstPoint) {
    const float a[2] = {1, 2}, b[2] = {3, 4};
    float out[8];
    MakeRectCorners(a, b, out);
    const float expected[8] = {1, 2, 1, 4, 3, 4, 3, 2};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(out[i], expected[i]);
}
