// The generated art as files: the generator writes the same bytes on every
// run; every picture the registry names has real detail (not a flat patch)
// and the alpha its use needs; the build writes the contact sheet of them
// all. What the art looks like is not tested here: tests that need exact
// colours lay their own flat pictures under the real names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "content/content_catalog.h"
#include "resource_manager/png_texture.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using content::Attr;
using content::Prefix;
using content::RunPath;

// FNV-1a over a file's bytes.
std::uint64_t Hash(const std::string& bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    return h;
}

// Relative path -> hash of every file under `folder`.
std::map<std::string, std::uint64_t> HashTree(const fs::path& folder) {
    std::map<std::string, std::uint64_t> hashes;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            hashes[fs::relative(entry.path(), folder).string()] = Hash(test_support::ReadFile(entry.path().string()));
    return hashes;
}

// The build's run is the first; this is the second. Everything the second
// writes must be in the run folder, byte for byte.
TEST(GeneratedArt, TwoRunsOfTheGeneratorWriteTheSameBytes) {
    test_support::TempFolder second;
    const std::string command = std::string("\"") + QUELL_CONTENT_GEN + "\" \"" + second.Path() + "\" >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::map<std::string, std::uint64_t> written = HashTree(second.Path());
    ASSERT_GT(written.size(), 50u);
    int differ = 0;
    for (const auto& [file, hash] : written) {
        const std::string built = RunPath(file);
        if (!fs::exists(built) || Hash(test_support::ReadFile(built)) != hash) ADD_FAILURE() << file << " differs", ++differ;
    }
    EXPECT_EQ(differ, 0);
}

// How a registered picture is used, told by where it lives.
enum class Use { Picture, Mask, Widget, HeightMap };

Use UseOf(const std::string& file) {
    const auto in = [&](const char* part) { return file.find(part) != std::string::npos; };
    if (in("/interface/")) return in("slider") ? Use::Widget : Use::Mask;
    if (in("shot_") || in("particles")) return Use::Mask;
    if (in("heightmap_")) return Use::HeightMap;
    return Use::Picture;
}

struct Census {
    std::set<std::uint32_t> colours;  // RGB
    std::set<int> alphas;
    int transparent = 0, opaque = 0;
};

Census Count(const Texture& t) {
    Census census;
    for (unsigned y = 0; y < t.height; ++y)
        for (unsigned x = 0; x < t.width; ++x) {
            const std::uint32_t p = t.GetPixel(x, y);
            census.colours.insert(p & 0xFFFFFFu);
            const int alpha = int(p >> 24);
            census.alphas.insert(alpha);
            census.transparent += alpha == 0;
            census.opaque += alpha == 255;
        }
    return census;
}

// Pictures (screens, slides, model and terrain textures) are opaque and
// carry a few hundred colours at least; masks (the interface's symbols,
// shots, particles) are white or tinted ink with soft-edged alpha round
// clear ground; height maps have many heights.
TEST(GeneratedArt, EveryRegisteredPictureHasDetailAndTheAlphaItsUseNeeds) {
    const content::List registry("resource/registry.xml");
    ASSERT_TRUE(registry.parsed);
    int pictures = 0, masks = 0;
    for (const TiXmlElement* entry : registry.entries) {
        if (Prefix(entry) != "tex" || !entry->Attribute("file")) continue;
        const std::string name = Attr(entry, "registry"), file = Attr(entry, "file");
        std::string problem;
        const std::unique_ptr<Texture> t = LoadPngTexture(RunPath(file), problem);
        ASSERT_TRUE(t) << name << ": " << problem;
        const Census c = Count(*t);
        const unsigned pixels = t->width * t->height;
        switch (UseOf(file)) {
        case Use::Picture:
            ++pictures;
            EXPECT_GE(c.colours.size(), 256u) << name << " looks flat";
            EXPECT_EQ(unsigned(c.opaque), pixels) << name << " must be opaque";
            break;
        case Use::Mask:
            ++masks;
            EXPECT_TRUE(c.transparent > 0 && c.opaque + c.transparent < int(pixels) && c.alphas.size() >= 4u)
                << name << ": clear ground and soft-edged ink (" << c.alphas.size() << " alpha levels)";
            break;
        case Use::Widget: EXPECT_GE(c.colours.size(), 16u) << name; break;
        case Use::HeightMap: EXPECT_GE(c.colours.size(), 8u) << name << " is flat ground"; break;
        }
    }
    EXPECT_GE(pictures, 20);
    EXPECT_GE(masks, 5);
}

// The build writes the contact sheet beside the run folder: a picture with
// room for every texture of the registry.
TEST(GeneratedArt, TheBuildWritesTheContactSheetOfEveryTexture) {
    const content::List registry("resource/registry.xml");
    const auto textures = std::count_if(registry.entries.begin(), registry.entries.end(),
                                        [](const TiXmlElement* e) { return Prefix(e) == "tex"; });
    std::string problem;
    const std::unique_ptr<Texture> sheet = LoadPngTexture(std::string(QUELL_RUN_DIR) + "/../contact_sheet.png", problem);
    ASSERT_TRUE(sheet) << problem;
    const unsigned cell = 200 * 236;  // a thumbnail and its label
    EXPECT_GE(std::size_t(sheet->width) * sheet->height, std::size_t(textures) * cell);
}

}  // namespace
