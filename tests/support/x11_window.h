// Finds a top-level window by its title on the test's X display and closes
// it as a player would: a WM_PROTOCOLS client message carrying
// WM_DELETE_WINDOW (under Xvfb there is no window manager to send it, and
// destroying the window would not tell the game).
#pragma once

#include <optional>
#include <string>

struct _XDisplay;  // Xlib's Display, kept out of this header

namespace test_support {

struct WindowSize {
    int width = 0;
    int height = 0;
};

class X11Display {
public:
    // Opens $DISPLAY, waiting out a server reset; IsOpen() is false when
    // there is no display.
    X11Display();
    ~X11Display();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    bool IsOpen() const { return display != nullptr; }
    // Polls until a window titled `title` and owned by process `pid` (its
    // _NET_WM_PID) is on screen (mapped), at most `timeoutSeconds`. A window
    // not yet mapped may still be changing its size; the pid keeps a window
    // of a game that has just ended, not yet destroyed by the server, from
    // being taken for the new one.
    std::optional<unsigned long> WaitForWindow(const std::string& title, long pid,
                                               double timeoutSeconds);
    std::optional<WindowSize> GetSize(unsigned long window);
    // False when the message could not be sent.
    bool SendDeleteWindow(unsigned long window);
    // Polls until the X server has mouse button `button` (1..5) down (or
    // up), at most `timeoutSeconds`: an xdotool press has then been turned
    // into the events every client will read at its next look.
    bool WaitForButton(int button, bool down, double timeoutSeconds);

private:
    std::optional<unsigned long> FindWindow(unsigned long root, const std::string& title, long pid,
                                            int depth);
    long WindowPid(unsigned long window);

    ::_XDisplay* display = nullptr;
};

}  // namespace test_support
