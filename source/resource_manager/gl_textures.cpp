// Textures on OpenGL: the upload of a resource texture and the screen image
// (the splash logo at start-up, the loading picture afterwards).
// Main thread only, with the OpenGL context current.
#include <GL/glew.h>

#include "resource_manager.h"
#include "resource_manager/gl_texture_setup.h"

namespace {

// The upload reads four bytes per pixel; anything else would be read with
// the wrong size. An image without pixels (a file that failed to load) is
// still uploaded, as an empty texture.
bool CanUpload(const Texture& texture, const std::string& sourcePosition) {
    if (!texture.data || texture.bytesPerPixel == 4) return true;
    Module<System>::Instance()->Error(sourcePosition + "texture of " +
                                      std::to_string(texture.bytesPerPixel) +
                                      " bytes per pixel not uploaded (only 4 are supported)");
    return false;
}

// The image's size, or 0 x 0 for an image without pixels.
GLsizei UploadWidth(const Texture& texture) { return texture.data ? GLsizei(texture.width) : 0; }
GLsizei UploadHeight(const Texture& texture) { return texture.data ? GLsizei(texture.height) : 0; }

void UploadPixels(const Texture& texture) {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, UploadWidth(texture), UploadHeight(texture), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texture.data);
}

// The picture replaces the previous one (and its texture), rows flipped so
// that row 0 is the bottom, as the full-screen quad samples it.
void LoadScreenImage(ResourceManager& resources, const char* file) {
    resources.FreeScreenImage();
    resources.screenImage = resources.LoadTexture(file);
    resources.screenImage->FlipY();
}

}  // namespace

void ResourceManager::InitGLTexture(Texture& texture) {
    if (!CanUpload(texture, SOURCE_POS)) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    texture.texID = NewBoundTexture(GL_REPEAT);
    UseMipmapLevels(1);
    UploadPixels(texture);
    // An empty level 0 has no mipmaps to make; asking would only leave an
    // error for the next check to report at the wrong place.
    if (texture.data) glGenerateMipmapEXT(GL_TEXTURE_2D);
}

void ResourceManager::InitLoadingScreenTexture() {
    if (!screenImage) LoadLoadingTexture();
    if (!CanUpload(*screenImage, SOURCE_POS)) return;
    // A mode change that kept the context would otherwise leave the previous
    // loading picture behind; in a new context the old number means nothing.
    if (HoldsContextMarker() && glIsTexture(screenImageTexID)) glDeleteTextures(1, &screenImageTexID);
    screenImageTexID = NewBoundTexture(GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    UploadPixels(*screenImage);
}

void ResourceManager::LoadSplashTexture() { LoadScreenImage(*this, kSplashImageFile); }

void ResourceManager::LoadLoadingTexture() { LoadScreenImage(*this, kLoadingImageFile); }

void ResourceManager::FreeScreenImage() {
    if (!screenImage) return;
    if (glIsTexture(screenImageTexID)) glDeleteTextures(1, &screenImageTexID);
    screenImageTexID = 0;
    screenImage.reset();
}
