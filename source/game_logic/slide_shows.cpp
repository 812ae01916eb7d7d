#include "game_logic/slide_shows.h"

#include "graphics/splash_screen.h"

namespace {

void FillSplash(SplashScreen& splash) {
    splash.looping = false;
    splash.AddSlide("tex_studio_logo", 5.5f);
    splash.AddImage(0, SplashImage::kFade, 1.0f, 1.0f, 1.0f, 3.0f, 2.5f);
    splash.AddSlide("tex_team", 2.0f);
    splash.AddImage(1, SplashImage::kFade, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    splash.AddSlide("tex_logo", 3.0f);
    splash.AddImage(2, SplashImage::kFade, 1.0f, 1.0f, 1.0f, 2.0f, 1.0f);
}

void FillCredits(SplashScreen& credits) {
    credits.looping = true;
    credits.AddSlide("tex_roll_game", 2.5f);
    credits.AddSlide("tex_roll_team", 2.0f);
    credits.AddSlide("tex_roll_credits", 60.0f);
    // Shown zoomed from the start, then panned up through the whole roll.
    credits.AddImage(2, SplashImage::kZoom, 1.0f, 0.85f, 0.0f, 0.0f, 0.0f);
    credits.AddImage(2, SplashImage::kPan, 0.0f, 5.8f, 0.0f, 1.0f, 57.0f);
}

}  // namespace

void FillSlideShows(SplashScreen& splash, SplashScreen& credits) {
    FillSplash(splash);
    FillCredits(credits);
}
