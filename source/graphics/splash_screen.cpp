#include "graphics/splash_screen.h"

#include <algorithm>

#include "resource_manager.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

}  // namespace

float SplashImage::Progress() const {
    if (!(duration > 0.0f)) return 1.0f;
    return std::min(1.0f, std::max(0.0f, time / duration));
}

void SplashImage::Reset() {
    isActive = false;
    time = isInstant ? 1.0f : 0.0f;
    pendingStart = startTime;
}

void SplashScreen::AddSlide(std::string textureName, float duration) {
    ResourceManager& resources = *Module<ResourceManager>::Instance();
    resources.LoadResource(textureName);
    SplashSlide slide;
    slide.texture = resources.GetResourceHandle(textureName);
    slide.duration = duration;
    slides.push_back(slide);
}

void SplashScreen::AddImage(int slide, int kind, float x, float y, float z, float startTime, float duration) {
    if (slide < 0 || slide >= int(slides.size())) {
        Sys().Error(SOURCE_POS + "AddImage: the show has no slide " + std::to_string(slide) +
                    "; the effect is not added");
        return;
    }
    SplashImage effect;
    effect.kind = kind;
    effect.amount = Vector(x, y, z, 0.0f);
    effect.startTime = startTime;
    effect.isInstant = !(duration > 0.0f);
    effect.duration = effect.isInstant ? 1.0f : duration;
    effect.Reset();
    slides[slide].images.push_back(effect);
}

SplashSlide* SplashScreen::CurrentSlide() {
    if (slides.empty()) return nullptr;
    if (currentSlide < 0 || currentSlide >= int(slides.size())) {
        Sys().Warning("slide show: slide " + std::to_string(currentSlide) + " does not exist; showing the first");
        currentSlide = 0;
    }
    return &slides[currentSlide];
}

void SplashScreen::Update() {
    SplashSlide* slide = CurrentSlide();
    if (!slide) return;
    const float dt = float(Sys().frameTime.load());
    slide->time += dt;
    for (SplashImage& effect : slide->images) {
        if (effect.isActive) {
            effect.time += dt;
            if (effect.time >= effect.duration) {
                effect.pendingStart = -1.0f;
                effect.time = effect.duration;
            }
        }
        if (effect.pendingStart >= 0.0f && slide->time >= effect.pendingStart) effect.isActive = true;
    }
    if (slide->time < slide->duration) return;
    ResetEffects();
    slide->time = 0.0f;
    if (++currentSlide < int(slides.size())) return;
    if (looping) {
        currentSlide = 0;
        return;
    }
    Sys().SetSplashPlaying(false);
    currentSlide = int(slides.size()) - 1;
}

void SplashScreen::Restart() {
    ResetEffects();
    for (SplashSlide& slide : slides) slide.time = 0.0f;
    currentSlide = 0;
}

void SplashScreen::ResetEffects() {
    for (SplashSlide& slide : slides)
        for (SplashImage& effect : slide.images) effect.Reset();
}
