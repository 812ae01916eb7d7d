#include "support/x11_window.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace test_support {
namespace {

// A window that vanishes while it is inspected raises BadWindow; that must
// not end the test program.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

std::string WindowTitle(Display* display, Window window) {
    char* name = nullptr;
    if (!XFetchName(display, window, &name) || !name) return std::string();
    std::string title = name;
    XFree(name);
    return title;
}

}  // namespace

X11Display::X11Display() {
    XSetErrorHandler(IgnoreXErrors);
    // Xvfb resets itself when its last client leaves (as when the previous
    // test's game has just quit) and refuses connections meanwhile.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!(display = XOpenDisplay(nullptr)) && std::getenv("DISPLAY") &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

X11Display::~X11Display() {
    if (display) XCloseDisplay(display);
}

bool X11Display::WaitForButton(int button, bool down, double timeoutSeconds) {
    if (!display || button < 1 || button > 5) return false;
    const unsigned mask = Button1Mask << (button - 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned state = 0;
        if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &state) &&
            ((state & mask) != 0) == down)
            return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

long X11Display::WindowPid(unsigned long window) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None) return -1;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32 && count == 1) {
        pid = *reinterpret_cast<long*>(data);
    }
    if (data) XFree(data);
    return pid;
}

std::optional<unsigned long> X11Display::FindWindow(unsigned long root, const std::string& title,
                                                    long pid, int depth) {
    if (WindowTitle(display, root) == title && WindowPid(root) == pid) return root;
    if (depth <= 0) return std::nullopt;
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return std::nullopt;
    std::optional<unsigned long> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        found = FindWindow(children[i], title, pid, depth - 1);
    }
    if (children) XFree(children);
    return found;
}

std::optional<unsigned long> X11Display::WaitForWindow(const std::string& title, long pid,
                                                       double timeoutSeconds) {
    if (!display) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        auto window = FindWindow(DefaultRootWindow(display), title, pid, 3);
        XWindowAttributes attributes;
        if (window && XGetWindowAttributes(display, *window, &attributes) &&
            attributes.map_state == IsViewable) {
            return window;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::optional<WindowSize> X11Display::GetSize(unsigned long window) {
    XWindowAttributes attributes;
    if (!display || !XGetWindowAttributes(display, window, &attributes)) return std::nullopt;
    return WindowSize{attributes.width, attributes.height};
}

bool X11Display::SendDeleteWindow(unsigned long window) {
    if (!display) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return sent != 0;
}

}  // namespace test_support
