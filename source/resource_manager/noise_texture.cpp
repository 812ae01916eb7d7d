// The renderer's 128 x 128 grey noise texture ("tex_noise"): bucket-balanced
// random values, each blended with its four diagonal neighbours on a grid
// that wraps at its edges. CPU only; built once on the main thread.
#include <vector>

#include "resource_manager.h"
#include "resource_manager/bucket_rand.h"

namespace {

const int kSide = 128;

// Grid cell (x, y) with both coordinates wrapped into 0..kSide-1.
int Cell(int x, int y) { return ((x + kSide) % kSide) + kSide * ((y + kSide) % kSide); }

void LogRMS(const BucketRand<256>& source) {
    Module<System>::Instance()->Log("BucketRand<256>::Instance().GetRMS() = " +
                                    std::to_string(source.GetRMS()) + "\n");
}

float BlendCell(const std::vector<int>& drawn, int x, int y, unsigned centreWeight) {
    const float f = float(centreWeight / 255.0);
    const float w = (1.0f - f) * 0.25f;
    float value = f * float(drawn[Cell(x, y)]) / 255.0f;
    value += w * float(drawn[Cell(x - 1, y - 1)]) / 255.0f;
    value += w * float(drawn[Cell(x - 1, y + 1)]) / 255.0f;
    value += w * float(drawn[Cell(x + 1, y - 1)]) / 255.0f;
    value += w * float(drawn[Cell(x + 1, y + 1)]) / 255.0f;
    return value;
}

}  // namespace

void ResourceManager::BuildNoiseTexture(Texture& texture) {
    if (!texture.data || texture.width < unsigned(kSide) || texture.height < unsigned(kSide)) {
        Module<System>::Instance()->Error(SOURCE_POS + "BuildNoiseTexture needs a texture of at "
                                          "least 128 x 128 pixels");
        return;
    }
    BucketRand<256>& source = *BucketRand<256>::Instance();
    source.factor = 0.5f;
    LogRMS(source);
    std::vector<int> drawn(kSide * kSide);
    for (int x = 0; x < kSide; ++x)
        for (int y = 0; y < kSide; ++y) drawn[Cell(x, y)] = int(source.Draw());
    LogRMS(source);

    std::vector<float> blended(kSide * kSide);
    for (int x = 0; x < kSide; ++x)
        for (int y = 0; y < kSide; ++y) blended[Cell(x, y)] = BlendCell(drawn, x, y, source.Draw());
    for (int x = 0; x < kSide; ++x)
        for (int y = 0; y < kSide; ++y) texture.SetLuminance(x, y, blended[Cell(x, y)]);
}
