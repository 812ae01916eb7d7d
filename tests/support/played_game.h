// The real game binary played from outside, as a player plays it: started in
// a run folder with a fresh profile folder of its own (HOME and UserProfile),
// its window found on the test's X server, driven by xdotool with presses
// held across frames, watched through its log and its pixels, its sound
// written to a file by SDL's disk audio driver. Every wait has a deadline.
//
// Coordinates given to the clicks are the interface's: window pixels with
// the origin at the lower-left corner and y upwards.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/game_process.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"

namespace test_support {

// What one look at the window saw: colours at a fixed grid of points.
struct WindowLook {
    std::vector<ScreenColor> colours;
    size_t DistinctColours() const;
    // How many points differ by more than `tolerance` in some channel.
    size_t PointsDifferentFrom(const WindowLook& other, int tolerance = 6) const;
    bool Empty() const { return colours.empty(); }
};

class PlayedGame {
public:
    // `profileFolder` holds "The Quellbrand" (HOME and UserProfile point at
    // it); `outputFolder` takes the standard output and the sound output.
    PlayedGame(const std::string& runFolder, const std::string& profileFolder, const std::string& outputFolder);
    ~PlayedGame();
    PlayedGame(const PlayedGame&) = delete;
    PlayedGame& operator=(const PlayedGame&) = delete;

    // Starts the game and waits for its window; false when none came.
    bool Start(double timeoutSeconds = 30.0);
    bool IsRunning() { return process && process->IsRunning(); }
    long Pid() const { return process ? process->Pid() : -1; }
    std::optional<int> WaitForExit(double timeoutSeconds);

    // The whole standard output, and its last `count` lines.
    std::string Log() const;
    std::string LastLogLines(int count) const;
    int LogCount(const std::string& text) const;
    // Polls until the log holds `text` at least `count` times.
    bool WaitForLog(const std::string& text, int count, double timeoutSeconds);

    int Width() const { return size.width; }
    int Height() const { return size.height; }
    unsigned long DrawnWindow() const { return window; }

    // Input through xdotool; every call returns false when xdotool failed.
    bool Xdo(const std::string& arguments) const;
    bool HoldKey(const std::string& key, double seconds = 0.15) const;
    bool TapKey(const std::string& key) const;  // a quick "key": down and up at once
    bool PointAt(float x, float y) const;
    bool ClickAt(float x, float y, double holdSeconds = 0.15) const;
    bool QuickClickAt(float x, float y) const;  // a quick "click"
    // The left button pressed at `fromX`, moved to `toX` over a few steps
    // while held, released there; y is the same throughout. With `arrived`,
    // the button is held at `toX` until it holds (false when it never did
    // within `seconds`): a game drawing a frame in seconds must see the
    // pointer there while the button is still down.
    bool DragAt(float fromX, float toX, float y, const std::function<bool()>& arrived = {},
                double seconds = 40.0) const;
    bool HoldButton(int button, double seconds) const;
    // The pointer moved `pixels` to the right (left when negative) from
    // where it is: in play, where the game centres it every frame, a turn.
    bool MoveMouseBy(int pixels) const;
    void ReleaseEverything() const;

    // Polls `wanted` until it holds, within `timeoutSeconds`.
    static bool WaitFor(const std::function<bool()>& wanted, double timeoutSeconds);

    // Looks at a grid of points (`columns` x `rows`) of the window.
    WindowLook Look(int columns = 16, int rows = 12) const;
    // Polls until `wanted` holds for a look; the last look in `seen`.
    bool WaitForLook(const std::function<bool(const WindowLook&)>& wanted, double timeoutSeconds,
                     WindowLook* seen = nullptr) const;
    // Polls until two looks 0.2 s apart agree: the screen has settled.
    bool WaitForStillLook(double timeoutSeconds, WindowLook* seen = nullptr) const;
    // A picture of the game's window, or of the whole screen, in `path`
    // (PNG); false when it failed.
    bool SaveScreenshot(const std::string& path, bool wholeScreen = false) const;

    // The sound output written so far, in bytes, and whether a stretch after
    // `fromByte` holds an audible sample.
    long SoundBytes() const;
    bool HeardSince(long fromByte, int threshold = 1500) const;
    std::string SoundFile() const { return soundPath; }

    // Closes the window as a player would (WM_DELETE_WINDOW).
    bool CloseWindow();

private:
    std::string runFolder;
    std::string profileFolder;
    std::string outputFolder;
    std::string soundPath;
    std::unique_ptr<GameProcess> process;
    std::unique_ptr<X11Display> display;
    unsigned long titled = 0;  // the window with the game's title
    unsigned long window = 0;  // the one it draws in (see DrawingWindow)
    WindowSize size;
};

// Seconds to sleep, as one call (a hold between a press and its release).
void SleepSeconds(double seconds);

}  // namespace test_support
