#include "system.h"

#include <SDL.h>

#include "geom/vector.h"
#include "input_manager.h"
#include "platform/clock.h"
#include "platform/log_hook.h"
#include "system/frame_limiter.h"

namespace {

void ForwardToSystemLog(platform::LogLevel level, const std::string& text) {
    if (level == platform::LogLevel::Warning) {
        Module<System>::Instance()->Warning(text);
    } else {
        Module<System>::Instance()->Log(text);
    }
}

}  // namespace

System::System() : Module<System>("System") { platform::SetLogSink(&ForwardToSystemLog); }

void System::Init() {
    StartSDL();
    ReadDesktopAndModes();
    ApplyChosenMode();
    platform::SetClockTime(0.0);
    LoadSettings();
    SDL_WM_SetCaption(kCaption, kCaption);
    Pause(true);
}

void System::StartSDL() {
    // Audio starts on its own, so that a display failure is never reported
    // as an audio one or the other way round. A machine without a sound
    // device still plays, silently; the sound layer copes with its absence.
    if (SDL_Init(SDL_INIT_EVERYTHING & ~SDL_INIT_AUDIO) < 0) {
        Log(std::string("SDL could not start: ") + SDL_GetError());
        Error(SOURCE_POS + "SDL_Init failed");
        return;
    }
    SDL_ClearError();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        Warning(std::string("SDL audio unavailable (") + SDL_GetError() + "), starting without audio");
}

void System::ReadDesktopAndModes() {
    videoModes = videoModeSource ? videoModeSource() : CandidateVideoModes();
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info) {
        // Without video info there is no desktop to measure and no mode to
        // probe; the window fallback of ApplyChosenMode takes over.
        Error(SOURCE_POS + "could not get video info");
        return;
    }
    desktopWidth = info->current_w;
    desktopHeight = info->current_h;
    if (videoModeSource) return;
    for (VideoMode& mode : videoModes) mode.available = IsVideoModeOK(mode.width, mode.height, mode.fullScreen);
}

void System::ApplyChosenMode() {
    const VideoMode chosen = ChooseVideoMode(desktopWidth, desktopHeight);
    if (!chosen.available) {
        // A 0 x 0 window cannot open; a plain window of the default size can.
        Error(SOURCE_POS + "could not find suitable resolution!");
        width = kDefaultWidth;
        height = kDefaultHeight;
        fullScreen = false;
        return;
    }
    width = chosen.width;
    height = chosen.height;
    fullScreen = true;
}

void System::Update() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            Log("Quit requested\n");
            Quit();
        } else if (event.type == SDL_KEYDOWN && textInputMode) {
            Module<InputManager>::Instance()->KeyHandler(event.key.keysym.unicode);
        }
    }
}

void System::Kill() {
    screen = nullptr;
    SDL_Quit();
}

double System::GetTime(bool ignorePause) const {
    if (paused.load() && !ignorePause) return pausedTime.load();
    return platform::GetClockTime();
}

void System::StampFrameStart() {
    frameStartTime.store(paused.load() ? pausedTime.load() : platform::GetClockTime());
}

void System::FrameLimiter() {
    const double elapsed = GetTime(false) - frameStartTime.load();
    const FrameLimit limit = ComputeFrameLimit(elapsed, frameTime.load(), paused.load());
    if (limit.sleepMilliseconds > 0) SDL_Delay(static_cast<Uint32>(limit.sleepMilliseconds));
    frameTime.store(limit.frameTime);
}

void System::Pause(bool pause) {
    if (pause && !paused.load()) {
        // pausedTime first: a worker that sees `paused` must read its time.
        pausedTime.store(platform::GetClockTime());
        paused.store(true);
    } else if (!pause && paused.load()) {
        platform::SetClockTime(pausedTime.load());
        paused.store(false);
    }
}

void System::GrabMouse() {
    // The cursor is hidden before the pointer is centred. Hiding it while
    // SDL holds the input grab (always in full screen) switches SDL's X11
    // driver to relative mouse motion. A centring warped first moves the real
    // pointer, and its motion, read only at the next pump, would then count
    // as a movement from where the pointer was before the grab: the first
    // frame of play would turn the view by the offset of the menu button
    // clicked. Centred after the switch, the warp only resets SDL's pointer.
    SDL_ShowCursor(0);
    CenterMouse();
    // The pointer now sits at the window centre, which is (0, 0) in the
    // InputManager's coordinates.
    Module<InputManager>::Instance()->SetMousePosition(Vector(0.0f, 0.0f, 0.0f, 0.0f));
    mouseGrabbed = true;
}

void System::ReleaseMouse() {
    mouseGrabbed = false;
    SDL_ShowCursor(1);
}

void System::CenterMouse() {
    SDL_WarpMouse(static_cast<Uint16>(width / 2), static_cast<Uint16>(height / 2));
}
