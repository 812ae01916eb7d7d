// Texture pixel arithmetic, copies, downsampling and the file loader; the
// self-balancing random source and the noise texture built from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <utility>

#include "platform/random.h"
#include "resource_manager.h"
#include "resource_manager/bucket_rand.h"
#include "support/log_capture.h"

TEST(TextureValue, ConstructionCopiesAndBoundsCheckedPixels) {
    Texture t(3, 2, 4);
    ASSERT_EQ(t.ByteCount(), 24u);
    EXPECT_EQ(std::count(t.data, t.data + 24, 0), 24);  // zero-filled
    t.SetPixel(1, 1, 0x04030201u);
    EXPECT_TRUE(t.data[16] == 1 && t.data[19] == 4 && t.GetPixel(1, 1) == 0x04030201u && t.GetPixel(3, 0) == 0u);
    // Writes outside the image go nowhere: the block is larger than the image
    // claims, so a stray write past its end would land where this reads.
    Texture roomy(3, 4, 4);
    roomy.height = 2;
    for (const auto& xy : std::vector<std::pair<unsigned, unsigned>>{{0, 2}, {3, 0}, {2, 3}, {0, 4000000000u}})
        roomy.SetPixel(xy.first, xy.second, 0xFFFFFFFFu);
    roomy.height = 4;
    EXPECT_EQ(std::count(roomy.data, roomy.data + 48, 0), 48);
    Texture grey(2, 1, 1);  // one byte per pixel: the last pixel must not reach past the block
    grey.SetPixel(1, 0, 0xAABBCCDDu);
    EXPECT_TRUE(grey.data[0] == 0 && grey.data[1] == 0xDD && grey.GetPixel(1, 0) == 0xDDu);

    t.texID = 11;
    Texture copy(t);
    t.data[16] = 99;
    EXPECT_TRUE(copy.data[16] == 1 && copy.texID == 11u);  // deep
    const unsigned char* block = copy.data;
    Texture taken(std::move(copy));  // the block changes hands; the source is left empty
    EXPECT_TRUE(taken.data == block && taken.width == 3u && taken.texID == 11u && taken.GetPixel(1, 1) == 0x04030201u);
    EXPECT_TRUE(copy.data == nullptr && copy.ByteCount() == 0u && copy.GetPixel(0, 0) == 0u);
    Texture target(5, 5, 3);
    target.texID = 42, target = t;  // sizes and data follow the source; the name stays
    EXPECT_TRUE(target.texID == 42u && target.width == 3u && target.bytesPerPixel == 4u && target.data[16] == 99);
    Texture& alias = target;
    target = alias;
    EXPECT_EQ(target.data[16], 99);
    target = Texture();
    EXPECT_TRUE(target.data == nullptr && target.ByteCount() == 0u);
}

TEST(TextureLuminance, ChannelRulesClampingAndInterpolation) {
    Texture t(2, 1, 4);
    t.SetPixel(0, 0, 255);
    EXPECT_FLOAT_EQ(t.GetAvgLuminance(0, 0), float(255 / 765.0));  // alpha never counts
    t.SetLuminance(1, 0, 0.999f);
    EXPECT_EQ(t.GetPixel(1, 0), 0xFFFEFEFEu);  // 254.745 truncated, alpha 255
    for (float clamped : {7.5f, -2.0f}) {
        t.SetLuminance(1, 0, clamped);
        EXPECT_EQ(t.data[4], clamped > 0 ? 255 : 0) << clamped;
    }
    EXPECT_TRUE(t.GetMaxLuminance() == float(255 / 765.0) && t.GetAvgLuminance(5, 5) == 0.0f);
    Texture twoByte(1, 1, 2);  // neither grey nor colour: no luminance, no writes
    twoByte.data[0] = 200, twoByte.SetLuminance(0, 0, 0.0f);
    EXPECT_TRUE(twoByte.GetAvgLuminance(0, 0) == 0.0f && twoByte.data[0] == 200);

    Texture row(4, 1, 1);
    const unsigned char columns[4] = {0, 51, 102, 255};
    std::copy(columns, columns + 4, row.data);
    auto L = [&](unsigned x) { return columns[x] / 255.0f; };
    const struct { float u, v, expected; } cases[] = {
        {0.0f, 0.0f, L(0)}, {2.0f, 0.0f, L(1)},  // integer u: column u - 1
        {1.5f, 0.0f, (L(1) + L(2)) / 2}, {1.25f, 0.0f, 0.75f * L(0) + 0.25f * L(1)},
        {3.75f, 0.0f, L(3)},  // the right neighbour clamped to the last column
        {9.0f, 4.0f, L(3)}, {-3.0f, -1.0f, L(0)},  // callers outside still read inside
    };
    for (const auto& c : cases) EXPECT_NEAR(row.GetInterpAvgLuminance(c.u, c.v), c.expected, 1e-6) << c.u;
    EXPECT_EQ(Texture().GetInterpAvgLuminance(0.5f, 0.5f), 0.0f);
}

TEST(TextureEdits, SwizzleAndDownsampling) {
    Texture t(1, 1, 4);
    t.SetPixel(0, 0, 0x04030201u);
    t.SwizzleBytes(2, 1, 0, 3);
    t.SwizzleBytes(0, 1, 2, 4);  // refused
    EXPECT_EQ(t.GetPixel(0, 0), 0x04010203u);

    Texture big(3, 3, 4);
    for (unsigned i = 0; i < 9; ++i) big.SetPixel(i % 3, i / 3, i == 0 ? 10 : i % 3 < 2 && i < 6 ? 11 : 200);
    big.DownsampleBilinear();  // 43 * 0.25 truncated; the third row and column dropped
    EXPECT_TRUE(big.width == 1u && big.height == 1u && big.data[0] == 10);

    const struct { unsigned w, h; int tw, th; unsigned ew, eh; } cases[] = {
        {512, 512, 50, 50, 64, 64}, {64, 64, 50, 50, 64, 64},    {128, 128, 64, 64, 64, 64},
        {100, 100, 50, 50, 50, 50}, {256, 128, 50, 50, 128, 64}, {8, 8, 1, 1, 1, 1},
        {16, 16, 0, 0, 16, 16},     {16, 16, -4, 8, 16, 16},  // degenerate targets stop at once
    };
    for (const auto& c : cases) {
        Texture s(c.w, c.h, 4);
        s.DownsampleClosest(c.tw, c.th);
        EXPECT_TRUE(s.width == c.ew && s.height == c.eh) << c.w << " toward " << c.tw;
    }
    Texture empty;
    empty.DownsampleClosest(1, 1);
    EXPECT_EQ(empty.data, nullptr);

    test_support::LogCapture log;  // an unreadable file gives an empty texture and a message
    EXPECT_TRUE(!ResourceManager().LoadTexture("no/such/image.png")->data && log.Has("Error loading texture!no/such/image.png"));
}

TEST(BucketRand, ChoiceDrawsBalanceAndDriftReset) {
    Module<System>::Instance()->running.store(false);
    platform::SeedRandom(20240611u);
    BucketRand<256> source;
    source.Reset();
    EXPECT_FLOAT_EQ(source.GetRMS(), 0.00390625f);
    const float at[] = {0.0f, 0.5f, 0.502f, 1.0f, 1.01f};
    const int bucket[] = {0, 127, 128, 255, -1};  // the widening lets the lower bucket take 0.5
    for (int i = 0; i < 5; ++i) EXPECT_EQ(source.Choose(at[i]), bucket[i]) << at[i];

    const unsigned drawn = source.Draw();  // the drawn bucket becomes the least likely
    ASSERT_LT(drawn, 256u);
    EXPECT_NEAR(source.weights[drawn], (0.5f / 256) / (0.5f / 256 + 255.0f / 256), 1e-7f);
    for (unsigned i = 0; i < 256; ++i) EXPECT_TRUE(i == drawn || source.weights[i] > source.weights[drawn]) << i;
    EXPECT_GT(source.GetRMS(), 0.00390625f);

    std::vector<int> seen(256, 0);
    unsigned previous = drawn, run = 1, longest = 1;
    for (int i = 0; i < 256 * 16; ++i) {
        const unsigned b = source.Draw();
        ASSERT_LT(b, 256u);
        ++seen[b];
        run = b == previous ? run + 1 : 1;
        longest = std::max(longest, run);
        previous = b;
    }
    // Every value turns up, never twice its share, and never three times running.
    EXPECT_TRUE(std::count(seen.begin(), seen.end(), 0) == 0 && *std::max_element(seen.begin(), seen.end()) <= 32);
    EXPECT_LE(longest, 2u);
    EXPECT_NEAR(std::accumulate(source.weights.begin(), source.weights.end(), 0.0f), 1.0f, 1e-4f);

    source.weights.assign(256, 0.0f);  // drifted: reset, never loop forever
    platform::SeedRandom(7u);
    EXPECT_LT(source.Draw(), 256u);
    EXPECT_NEAR(std::accumulate(source.weights.begin(), source.weights.end(), 0.0f), 1.0f, 1e-5f);
}

TEST(BucketRand, NoiseIsFixedForASeedOpaqueGreyOfEveryShadeAndNeedsTheFullSize) {
    Module<System>::Instance()->running.store(false);
    test_support::LogCapture log;
    auto noise = [](unsigned seed) {
        platform::SeedRandom(seed);
        BucketRand<256>::Instance()->Reset();
        Texture t(128, 128, 4);
        ResourceManager().BuildNoiseTexture(t);
        uint64_t hash = 1469598103934665603ull;  // FNV-1a
        for (size_t i = 0; i < t.ByteCount(); ++i) hash = (hash ^ t.data[i]) * 1099511628211ull;
        return std::make_pair(t, hash);
    };
    const auto [texture, hash] = noise(1234u);
    EXPECT_TRUE(hash == noise(1234u).second && hash != noise(1235u).second);
    EXPECT_EQ(hash, 17414914129504268623ull);  // pinned: the generator or the recipe changed
    EXPECT_TRUE(log.Has("BucketRand<256>::Instance().GetRMS() = 0.003906\n")) << log.Text();
    EXPECT_EQ(log.Count("BucketRand<256>::Instance().GetRMS() = "), 6);  // before and after, per build

    int lowest = 255, highest = 0;
    double total = 0;
    for (unsigned i = 0; i < 128 * 128; ++i) {
        const uint32_t p = texture.GetPixel(i % 128, i / 128), r = p & 0xFF;
        ASSERT_EQ(p, 0xFF000000u | r * 0x010101u);
        lowest = std::min(lowest, int(r)), highest = std::max(highest, int(r)), total += r;
    }
    EXPECT_TRUE(lowest < 40 && highest > 215) << lowest << " " << highest;
    EXPECT_NEAR(total / (128 * 128), 127.0, 6.0);
    Texture small(64, 128, 4);
    ResourceManager().BuildNoiseTexture(small);
    EXPECT_TRUE(log.Has("BuildNoiseTexture needs a texture of at least 128 x 128") && small.GetPixel(63, 127) == 0u);
}
