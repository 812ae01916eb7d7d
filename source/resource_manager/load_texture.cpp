// Image decoding for the store: SOIL reads the file, its pixels are copied
// into the Texture's own block and SOIL's buffer goes back through SOIL.
#include <SOIL/SOIL.h>

#include <cstring>

#include "resource_manager.h"

std::unique_ptr<Texture> ResourceManager::LoadTexture(const std::string& fileName) {
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels =
        SOIL_load_image(fileName.c_str(), &width, &height, &channels, SOIL_LOAD_RGBA);
    if (!pixels || width <= 0 || height <= 0) {
        if (pixels) SOIL_free_image_data(pixels);
        Module<System>::Instance()->Error(SOURCE_POS + "Error loading texture!" + fileName);
        return std::make_unique<Texture>();
    }
    auto texture = std::make_unique<Texture>(unsigned(width), unsigned(height), 4u);
    if (texture->data) std::memcpy(texture->data, pixels, texture->ByteCount());
    SOIL_free_image_data(pixels);
    return texture;
}
