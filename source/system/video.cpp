// The System's window: video modes, the OpenGL context and the driver checks,
// and the run-time resolution change. Main thread only.
#include <GL/glew.h>
#include <SDL.h>

#include "graphics.h"
#include "input_manager.h"
#include "platform/profile.h"
#include "resource_manager.h"
#include "system.h"

namespace {

Uint32 VideoModeFlags(bool fullScreen) {
    return fullScreen ? (SDL_OPENGL | SDL_FULLSCREEN) : SDL_OPENGL;
}

void SetGLAttributes(bool multisample) {
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, 32);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
}

std::string FlagText(bool flag) { return flag ? "1" : "0"; }

// SDL's event filter, called by every pump (on the main thread) as each
// event is queued, at the moment the key and button tables change: a press
// and its release within one frame still reach the InputManager as a press.
// Keeps every event.
int SDLCALL LatchPresses(const SDL_Event* event) {
    if (event->type == SDL_KEYDOWN)
        Module<InputManager>::Instance()->LatchKeyDown(event->key.keysym.sym);
    else if (event->type == SDL_MOUSEBUTTONDOWN)
        Module<InputManager>::Instance()->LatchButtonDown(event->button.button);
    return 1;
}

}  // namespace

bool System::IsVideoModeOK(int modeWidth, int modeHeight, bool modeFullScreen) const {
    // As in SetVideoMode: SDL 1.2 would dereference its missing video device.
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    return SDL_VideoModeOK(modeWidth, modeHeight, 32, VideoModeFlags(modeFullScreen)) != 0;
}

VideoMode System::ChooseVideoMode(int desktopW, int desktopH) const {
    return ::ChooseVideoMode(videoModes, desktopW, desktopH);
}

SDL_Surface* System::SetVideoMode() {
    // SDL 1.2 dereferences its video device in SDL_GL_SetAttribute: without
    // video there is no mode to set, and asking would crash.
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
    // SDL keeps the caption with its video: when the start in Init failed
    // there was none to keep it, and the window would open untitled.
    SDL_WM_SetCaption(kCaption, kCaption);
    SetGLAttributes(true);
    SDL_Surface* surface = SDL_SetVideoMode(width, height, 32, VideoModeFlags(fullScreen));
    if (surface) return surface;
    // Some servers (Xvfb among them) offer no multisample visual at all.
    Warning("video mode not set with multisampling (" + std::string(SDL_GetError()) +
            "), retrying without multisampling");
    SetGLAttributes(false);
    return SDL_SetVideoMode(width, height, 32, VideoModeFlags(fullScreen));
}

// The mode asked for (by the settings file or the desktop) could not be set:
// a plain window of the default size usually can.
SDL_Surface* System::OpenDefaultWindow() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
    if (!fullScreen && width == kDefaultWidth && height == kDefaultHeight) return nullptr;  // just failed
    Warning("the video mode " + std::to_string(width) + "x" + std::to_string(height) +
            (fullScreen ? " full screen" : " window") + " could not be set (" + SDL_GetError() +
            "); opening a " + std::to_string(kDefaultWidth) + "x" + std::to_string(kDefaultHeight) +
            " window instead. The mode comes from " + platform::ProfileFilePath(kSettingsFile) +
            " when that file sets one.");
    width = kDefaultWidth;
    height = kDefaultHeight;
    fullScreen = false;
    return SetVideoMode();
}

bool System::InitGL() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        Log(std::string("SDL video could not start: ") + SDL_GetError());
        Error("SDL init failed");
    }
    SDL_EnableUNICODE(1);
    // Starting the video (here or in Init) clears SDL's filter: set it after.
    SDL_SetEventFilter(&LatchPresses);
    screen = SetVideoMode();
    if (!screen) screen = OpenDefaultWindow();
    if (!screen) {
        // Without a surface there is no context: every OpenGL call would fail.
        Error("Unable to set SDL_Surface");
        return false;
    }
    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK || !GLEW_VERSION_2_0) Error("OpenGL 2.0 extensions not supported!");
    CheckGLSLVersion();
    if (!GLEW_EXT_framebuffer_object) Error(SOURCE_POS + "GL_EXT_framebuffer_object not supported");
    // Instanced drawing needs the draw-instanced entry points as well: every
    // user of the flag (programs, instance buffers, the mesh pass) then agrees.
    shaderModel4 = GLEW_EXT_gpu_shader4 && glDrawArraysInstancedEXT && glDrawElementsInstancedEXT;
    Log("shaderModel4 = " + FlagText(shaderModel4) + "\n");
    return true;
}

void System::CheckGLSLVersion() {
    const GLubyte* text = glGetString(GL_SHADING_LANGUAGE_VERSION);
    const GLSLVersion version = ParseGLSLVersion(reinterpret_cast<const char*>(text));
    majorGLSLVersion = version.major;
    minorGLSLVersion = version.minor;
    if (IsGLSLVersionSupported(version)) return;
    Log("majorGLSLVersion = " + std::to_string(majorGLSLVersion) + "\n");
    Log("minorGLSLVersion = " + std::to_string(minorGLSLVersion) + "\n");
    Error(SOURCE_POS + "this version of GLSL is not supported");
}

bool System::ChangeResolution(int newWidth, int newHeight, bool newFullScreen) {
    Log("starting ChangeResolution()");
    const int oldWidth = width;
    const int oldHeight = height;
    const bool oldFullScreen = fullScreen;
    fontSpacing = 0.7f;
    fullScreen = newFullScreen;
    width = newWidth;
    height = newHeight;
    Module<Graphics>::Instance()->Kill();
    Log("changing video mode");
    SDL_Surface* surface = SetVideoMode();
    bool changed = surface != nullptr;
    if (!changed) {
        Error(SOURCE_POS + "Unable to set SDL_Surface; keeping " + std::to_string(oldWidth) + "x" +
              std::to_string(oldHeight));
        width = oldWidth;
        height = oldHeight;
        fullScreen = oldFullScreen;
        surface = SetVideoMode();
    }
    // A failed switch may have taken the old surface with it: never keep a
    // pointer SDL no longer owns.
    screen = surface;
    if (screen) SDL_UpdateRect(screen, 0, 0, static_cast<Uint32>(width), static_cast<Uint32>(height));
    ResourceManager& resources = *Module<ResourceManager>::Instance();
    if (screen) {
        resources.InitLoadingScreenTexture();
        Module<Graphics>::Instance()->DrawLoadingScreen();
    }
    Log("graphics init");
    Module<Graphics>::Instance()->Init();
    Log("reloading context");
    if (screen) resources.ReloadContextData();
    Log("finished changing resolution");
    return changed;
}
