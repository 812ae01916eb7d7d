// System: the platform manager. Owns the SDL window and its OpenGL context,
// the video-mode choice, the game clock with pause, the frame limiter and the
// smoothed time step, the mouse grab, logging with the error-log files, the
// profile folder and the start-up settings. Not an event client.
//
// Threads: everything runs on the main thread except GetTime, the logging
// calls and reads of running, paused, frameTime and frameStartTime, which any
// thread may use (those fields are atomics). Error never blocks: it does not
// wait for input, whatever the thread.
//
// Split over system.cpp (module, clock, mouse, event pump), system/video.cpp
// (window, OpenGL checks, resolution change), system/log.cpp (logging and
// error logs) and system/files.cpp (profile folder, settings, text files).
#pragma once

#include <atomic>
#include <ctime>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "module.h"
#include "system/source_position.h"
#include "system/video_mode.h"

struct SDL_Surface;

class System : public virtual Module<System> {
public:
    // Supplies the local date and time that names an error-log file.
    using LocalTimeSource = std::function<std::tm()>;
    // Supplies the candidate video modes, each marked available or not.
    using VideoModeSource = std::function<std::vector<VideoMode>()>;

    // The window opened when no better mode is known or can be set.
    static constexpr int kDefaultWidth = 1024;
    static constexpr int kDefaultHeight = 768;
    // In the profile folder; its screen entries are read at start.
    static constexpr const char* kSettingsFile = "settings.xml";
    // The window's title and its icon's, set wherever a window opens.
    static constexpr const char* kCaption = "The Quellbrand";

    System();

    // SDL start-up, video-mode choice, clock, settings, caption; ends paused.
    void Init() override;
    // The SDL event pump: a window-close request clears `running`; typed
    // characters go to the InputManager while in text-input mode.
    void Update() override;
    // Shuts SDL down, which also gives a full-screen desktop its mode back.
    void Kill() override;

    // --- Window (system/video.cpp) ---
    // Opens the window with its OpenGL context and checks the driver. A mode
    // that cannot be set falls back to the default window, with a line that
    // names the settings file. False when not even that opens: the game
    // cannot run then.
    bool InitGL();
    // Whether SDL can set that mode; false while the video subsystem is down.
    bool IsVideoModeOK(int modeWidth, int modeHeight, bool modeFullScreen) const;
    // Tests supply the mode list that Init chooses from; by default Init
    // probes SDL for each candidate.
    void SetVideoModeSource(VideoModeSource source) { videoModeSource = std::move(source); }
    VideoMode ChooseVideoMode(int desktopW, int desktopH) const;
    // Switches the video mode at run time. When the new mode cannot be set,
    // the previous one is restored and false is returned.
    bool ChangeResolution(int newWidth, int newHeight, bool newFullScreen);

    // --- Clock (any thread may read) ---
    // With ignorePause false, a paused game reads the time it was paused at.
    double GetTime(bool ignorePause = false) const;
    void StampFrameStart();
    // End of frame: sleeps the rest of a 1/60 s frame and renews frameTime.
    void FrameLimiter();
    // Repeating a call in the same direction does nothing; resuming continues
    // the clock from where the pause stopped it.
    void Pause(bool pause);
    bool IsPaused() const { return paused.load(); }
    void Quit() { running.store(false); }

    // --- Mouse and flags (main thread) ---
    void GrabMouse();
    void ReleaseMouse();
    void CenterMouse();
    bool IsFullScreen() const { return fullScreen; }
    bool IsMouseGrabbed() const { return mouseGrabbed; }
    void SetTextInputMode(bool on) { textInputMode = on; }
    bool GetTextInputMode() const { return textInputMode; }
    void SetSplashPlaying(bool on) { splashPlaying = on; }
    bool IsSplashPlaying() const { return splashPlaying; }

    // --- Logging (system/log.cpp; any thread) ---
    // Each line goes to standard output and into the run's log text. Error
    // also writes the whole log text to an error-log file in the profile
    // folder while `running` is set, once per distinct message per run: an
    // error repeated every frame writes one file, not one per frame.
    void Log(const std::string& message);
    void Warning(const std::string& message);
    void Error(const std::string& message);
    std::string GetLogText() const;
    // "error_log_M_D_YYYY_h_m_s.txt" for a local date and time.
    static std::string ErrorLogFileName(const std::tm& localTime);
    // Tests inject a fixed time; the default reads the local clock.
    void SetLocalTimeSource(LocalTimeSource source);

    // --- Files (system/files.cpp) ---
    std::string GetUserProfile() const;
    static std::string ToWindowsPath(const std::string& path);
    // Makes the folder `name` inside the user-profile folder, when that
    // exists (never the profile folder itself), and logs the folder command
    // that names it. A missing profile folder is reported.
    void MakeDir(const std::string& name);
    static std::string GetVersionString();
    // The whole file; empty when it cannot be opened.
    std::string ReadTextFile(const std::string& path) const;
    // Reads "full_screen", "screen_width" and "screen_height" from the
    // profile's "settings.xml"; anything missing or invalid keeps its value,
    // and so does a window size larger than the desktop.
    void LoadSettings();

    std::atomic<bool> running{true};
    bool shaderModel4 = false;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
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
    void StartSDL();
    void ReadDesktopAndModes();
    void ApplyChosenMode();
    SDL_Surface* SetVideoMode();
    SDL_Surface* OpenDefaultWindow();
    void CheckGLSLVersion();

    void WriteLine(const std::string& line);
    void WriteErrorLogFile(const std::string& message);

    mutable std::mutex logMutex;  // one call's line, log text and file together
    std::string logText;
    std::set<std::string> loggedErrors;  // messages already written to a file
    LocalTimeSource localTimeSource;
    VideoModeSource videoModeSource;
};
