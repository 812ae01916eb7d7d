// Image decoding for the store: the file is read and decoded as a PNG into
// the Texture's own block (see png_texture.h for what is refused).
#include "resource_manager.h"
#include "resource_manager/png_texture.h"

std::unique_ptr<Texture> ResourceManager::LoadTexture(const std::string& fileName) {
    std::string problem;
    if (std::unique_ptr<Texture> texture = LoadPngTexture(fileName, problem)) return texture;
    // The why on its own line first: the error keeps its fixed text.
    Module<System>::Instance()->Log(fileName + ": " + problem);
    Module<System>::Instance()->Error(SOURCE_POS + "Error loading texture!" + fileName);
    return std::make_unique<Texture>();
}
