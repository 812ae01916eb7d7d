#include "gen_contact_sheet.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "mask.h"
#include "paint.h"
#include "palette.h"
#include "png_writer.h"
#include "resource_manager.h"
#include "text_render.h"

namespace {

const int kColumns = 8;
const int kCell = 200;      // width of a cell; the thumbnail fits in kThumb square
const int kThumb = 176;
const int kCellHeight = 236;
const int kHeader = 64;

// The categories in the order the game loads them; anything else last.
int CategoryRank(const std::string& category) {
    const char* const order[] = {"all_first", "splash", "all", "level1", "level2", "level3"};
    for (int i = 0; i < 6; ++i)
        if (category == order[i]) return i;
    return 6;
}

std::vector<RegistryData> Textures(ResourceManager& store) {
    std::vector<RegistryData> textures;
    for (const RegistryData& entry : store.RegistryEntries())
        if (entry.name.rfind("tex_", 0) == 0) textures.push_back(entry);
    std::sort(textures.begin(), textures.end(), [](const RegistryData& a, const RegistryData& b) {
        const int ra = CategoryRank(a.loadCategory), rb = CategoryRank(b.loadCategory);
        return ra != rb ? ra < rb : a.name < b.name;
    });
    return textures;
}

void Checkerboard(RgbaImage& sheet, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            sheet.Put(x0 + x, y0 + y, ((x / 8 + y / 8) % 2) ? palette::kMetalDark : Scale(palette::kMetalDark, 0.7f));
}

// The picture shrunk to fit the thumbnail square, each thumbnail pixel the
// average of the source pixels under it, laid over the checkerboard.
void Thumbnail(RgbaImage& sheet, const Texture& picture, int cellX, int cellY) {
    const float scale = std::min(float(kThumb) / float(picture.width), float(kThumb) / float(picture.height));
    const int w = std::max(1, int(float(picture.width) * scale)), h = std::max(1, int(float(picture.height) * scale));
    const int x0 = cellX + (kCell - w) / 2, y0 = cellY + 8 + (kThumb - h) / 2;
    Checkerboard(sheet, x0, y0, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned sx0 = unsigned(float(x) / scale), sx1 = std::max(sx0 + 1, unsigned(float(x + 1) / scale));
            const unsigned sy0 = unsigned(float(y) / scale), sy1 = std::max(sy0 + 1, unsigned(float(y + 1) / scale));
            float sum[4] = {};
            unsigned count = 0;
            for (unsigned sy = sy0; sy < std::min(sy1, picture.height); ++sy)
                for (unsigned sx = sx0; sx < std::min(sx1, picture.width); ++sx, ++count) {
                    const uint32_t p = picture.GetPixel(sx, sy);
                    for (int c = 0; c < 4; ++c) sum[c] += float((p >> (8 * c)) & 0xFF);
                }
            if (count == 0) continue;
            const Rgb colour = {(unsigned char)(sum[0] / float(count)), (unsigned char)(sum[1] / float(count)),
                                (unsigned char)(sum[2] / float(count))};
            sheet.Blend(x0 + x, y0 + y, colour, unsigned(sum[3] / float(count)));
        }
}

bool Label(RgbaImage& sheet, const std::string& text, int x, int baseline, int size, Rgb colour) {
    Mask mask(sheet.width, sheet.height);
    if (!DrawText(mask, text, x, baseline, {palette::kBodyFace, size}, Align::Centre)) return false;
    Lay(sheet, mask, colour);
    return true;
}

}  // namespace

bool WriteContactSheet(const std::string& runDir, const std::string& sheetPath) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    store.LoadRegistry((runDir + "/resource/registry.xml").c_str());
    const std::vector<RegistryData> textures = Textures(store);
    if (textures.empty()) {
        std::cerr << "content_gen: the registry names no texture; no contact sheet" << std::endl;
        return false;
    }
    const int rows = (int(textures.size()) + kColumns - 1) / kColumns;
    RgbaImage sheet(kColumns * kCell, kHeader + rows * kCellHeight);
    sheet.FillRect(0, 0, sheet.width, sheet.height, palette::kNight);
    Mask title(sheet.width, sheet.height);
    if (!DrawText(title, "The Quellbrand: every texture of the registry", 16, 42, {palette::kTitleFace, 26}, Align::Left))
        return false;
    Lay(sheet, title, palette::kHighlight);
    for (size_t i = 0; i < textures.size(); ++i) {
        const RegistryData& entry = textures[i];
        const int cellX = int(i % kColumns) * kCell, cellY = kHeader + int(i / kColumns) * kCellHeight;
        std::string size = "built in code";
        if (entry.hasFile) {
            const std::unique_ptr<Texture> picture = store.LoadTexture(runDir + "/" + entry.file);
            if (picture && picture->data) {
                Thumbnail(sheet, *picture, cellX, cellY);
                size = std::to_string(picture->width) + " x " + std::to_string(picture->height) + "  " + entry.loadCategory;
            } else {
                size = "missing!";
            }
        }
        if (!Label(sheet, entry.name, cellX + kCell / 2, cellY + kThumb + 30, 14, palette::kText) ||
            !Label(sheet, size, cellX + kCell / 2, cellY + kThumb + 48, 12, palette::kTextDim))
            return false;
    }
    return WritePng(sheetPath, sheet);
}
