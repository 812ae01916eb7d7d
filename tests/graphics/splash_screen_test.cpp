// The slide shows' clock, driven by the frame time step that the test sets
// (never by waiting): the credits loop with every effect reset, the splash
// ends on its last slide, and whatever a script leaves in a show is safe.
// (What the shows look like, fades and restarts, is tested on screen.)
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "graphics/splash_screen.h"
#include "resource_manager.h"
#include "support/log_capture.h"
#include "system.h"

namespace {

using test_support::LogCapture;

System& Sys() { return *Module<System>::Instance(); }

// A show of slides of these durations, without pictures.
SplashScreen ShowOf(std::initializer_list<float> durations, bool looping) {
    SplashScreen show;
    for (float duration : durations) {
        show.slides.emplace_back();
        show.slides.back().duration = duration;
    }
    show.looping = looping;
    return show;
}

// The two shows with the timing the game flow gives them.
SplashScreen Splash() {
    SplashScreen show = ShowOf({5.5f, 2.0f, 3.0f}, false);
    show.AddImage(0, SplashImage::kFade, 1, 1, 1, 3.0f, 2.5f);
    show.AddImage(1, SplashImage::kFade, 1, 1, 1, 1.0f, 1.0f);
    show.AddImage(2, SplashImage::kFade, 1, 1, 1, 2.0f, 1.0f);
    return show;
}

SplashScreen Credits() {
    SplashScreen show = ShowOf({2.5f, 2.0f, 60.0f}, true);
    show.AddImage(2, SplashImage::kZoom, 1, 0.85f, 0, 0.0f, 0.0f);
    show.AddImage(2, SplashImage::kPan, 0, 5.8f, 0, 1.0f, 57.0f);
    return show;
}

// `frames` updates of `step` seconds each (binary fractions add up exactly).
void Play(SplashScreen& show, int frames, double step = 0.25) {
    Sys().frameTime.store(step);
    for (int frame = 0; frame < frames; ++frame) show.Update();
}

// Everything that decides what the show draws next.
std::string StateOf(const SplashScreen& show) {
    std::ostringstream out;
    out << show.currentSlide;
    for (const SplashSlide& slide : show.slides) {
        out << " | " << slide.time;
        for (const SplashImage& e : slide.images) out << " " << e.isActive << "," << e.time << "," << e.pendingStart;
    }
    return out.str();
}

TEST(SplashScreen, TheCreditsComeBackToTheirFirstSlideAfter64AndAHalfSeconds) {
    SplashScreen show = Credits();
    const SplashScreen fresh = show;
    Play(show, 10, 0.5);  // 5 s: one frame into the roll
    const SplashImage &zoom = show.slides[2].images[0], &pan = show.slides[2].images[1];
    EXPECT_TRUE(show.currentSlide == 2 && zoom.isActive && !pan.isActive);
    EXPECT_FLOAT_EQ(zoom.Progress(), 1.0f) << "instant: at its full amount from its start";
    Play(show, 118, 0.5);  // 64 s
    EXPECT_EQ(show.currentSlide, 2);
    EXPECT_TRUE(pan.isActive && pan.Progress() == 1.0f && pan.pendingStart == -1.0f);
    Play(show, 1, 0.5);  // 64.5 s
    EXPECT_EQ(StateOf(show), StateOf(fresh));
}

TEST(SplashScreen, TheSplashEndsOnItsLastSlideAndSaysSoEachTimeItEnds) {
    SplashScreen show = Splash();
    Sys().SetSplashPlaying(true);
    Play(show, 41);  // 10.25 s
    EXPECT_TRUE(Sys().IsSplashPlaying());
    Play(show, 1);
    EXPECT_FALSE(Sys().IsSplashPlaying());
    EXPECT_EQ(StateOf(show), "2 | 0 0,0,3 | 0 0,0,1 | 0 0,0,2") << "the last slide starts over";
    Sys().SetSplashPlaying(true);
    Play(show, 12);
    EXPECT_FALSE(Sys().IsSplashPlaying());
    EXPECT_EQ(show.currentSlide, 2);
}

TEST(SplashScreen, WhatAScriptCanLeaveInAShowIsSafe) {
    LogCapture log;
    SplashScreen empty;
    Play(empty, 3);
    EXPECT_EQ(empty.CurrentSlide(), nullptr);

    SplashScreen show = ShowOf({2.0f}, true);
    show.AddImage(1, SplashImage::kFade, 1, 0, 0, 0.0f, 1.0f);
    show.AddImage(-1, SplashImage::kFade, 1, 0, 0, 0.0f, 1.0f);
    EXPECT_EQ(log.Count("ERROR"), 2) << log.Text();
    EXPECT_TRUE(show.slides[0].images.empty());

    for (float duration : {0.0f, -2.0f}) show.AddImage(0, SplashImage::kFade, 1, 0, 0, 0.0f, duration);
    for (const SplashImage& effect : show.slides[0].images)
        EXPECT_TRUE(effect.isInstant && effect.time == 1.0f && effect.duration == 1.0f && effect.Progress() == 1.0f);
    show.slides[0].images[0].duration = -1.0f;  // written by a script
    show.currentSlide = 7;
    Play(show, 2);
    EXPECT_TRUE(log.Has("slide 7")) << log.Text();
    EXPECT_EQ(StateOf(show), "0 | 0.5 1,-1,-1 1,1,-1");
    EXPECT_FLOAT_EQ(show.slides[0].images[0].Progress(), 1.0f);
}

TEST(SplashScreen, AddSlideLoadsItsPictureOrReportsTheName) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    store.Init();
    SplashScreen show;
    LogCapture log;
    show.AddSlide("tex_studio_logo", 5.5f);
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    show.AddSlide("tex_no_such_slide", 1.0f);
    EXPECT_TRUE(log.Has("tex_no_such_slide")) << log.Text();
    ASSERT_EQ(show.slides.size(), 2u);
    EXPECT_TRUE(store.IsStored("tex_studio_logo") && show.slides[0].texture.id == "tex_studio_logo");
    EXPECT_EQ(show.slides[0].duration, 5.5f);
    EXPECT_TRUE(show.slides[1].texture.id.empty()) << "shown black, not crashed on";
}

}  // namespace
