// System: the platform manager. Owns the window and OpenGL context, the game
// clock with pause, the frame limiter and smoothed time step, logging, the
// profile folder and the start-up settings. Not an event client.
//
// Threads: everything runs on the main thread except GetTime, the logging
// calls and reads of running, paused, frameTime and frameStartTime, which any
// thread may use (those fields are atomics).
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "module.h"
#include "source_position.h"

struct SDL_Surface;

struct VideoMode {
    int width = 0;
    int height = 0;
    bool fullScreen = false;
    bool available = false;
};

class System : public virtual Module<System> {
public:
    System();

    void Init() override;
    void Update() override;
    void Kill() override;

    // Logging: each line goes to standard output and into logText.
    void Log(const std::string& message);
    void Warning(const std::string& message);
    void Error(const std::string& message);

    // The clock; with ignorePause false a paused game reads pausedTime.
    double GetTime(bool ignorePause = false) const;
    void StampFrameStart();
    void Pause(bool pause);
    bool IsPaused() const { return paused.load(); }
    void Quit() { running.store(false); }

    std::string GetLogText() const;

    std::atomic<bool> running{true};
    bool shaderModel4 = false;
    int width = 1024;
    int height = 768;
    int desktopWidth = 0;
    int desktopHeight = 0;
    float fontSpacing = 0.7f;
    std::atomic<double> frameTime{0.0};
    std::atomic<double> frameStartTime{0.0};
    float mouseSensitivity = 1.0f;
    std::atomic<double> pausedTime{0.0};
    bool mouseGrabbed = false;
    bool fullScreen = false;
    std::atomic<bool> paused{false};
    bool splashPlaying = false;
    bool textInputMode = false;
    SDL_Surface* screen = nullptr;
    int majorGLSLVersion = 0;
    int minorGLSLVersion = 0;
    std::vector<VideoMode> videoModes;

private:
    void WriteLine(const std::string& line);

    mutable std::mutex logMutex;
    std::string logText;
};
