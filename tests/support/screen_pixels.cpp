#include "support/screen_pixels.h"

#include <algorithm>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace test_support {
namespace {

bool xFailed = false;

int NoteXError(Display*, XErrorEvent*) {
    xFailed = true;
    return 0;
}

// The 8-bit channel that `mask` selects in a true-colour pixel.
int Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return int(((pixel & mask) >> shift) * 255 / max);
}

std::optional<ScreenColor> ReadRootPixel(Display* display, Window window, int x, int y) {
    const Window root = DefaultRootWindow(display);
    int rootX = 0, rootY = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, root, x, y, &rootX, &rootY, &child) || xFailed)
        return std::nullopt;
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    if (rootX < 0 || rootY < 0 || rootX >= screenWidth || rootY >= screenHeight) return std::nullopt;
    XImage* image = XGetImage(display, root, rootX, rootY, 1, 1, AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    ScreenColor color{Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
                      Channel(pixel, image->blue_mask)};
    XDestroyImage(image);
    return color;
}

// One picture of the screen under the points' bounding box, read once.
std::vector<ScreenColor> ReadRootPixels(Display* display, Window window, const std::vector<std::pair<int, int>>& points) {
    if (points.empty()) return {};
    int left = points[0].first, top = points[0].second, right = left, bottom = top;
    for (const auto& [x, y] : points) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    const Window root = DefaultRootWindow(display);
    int rootX = 0, rootY = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, root, left, top, &rootX, &rootY, &child) || xFailed) return {};
    const int width = right - left + 1, height = bottom - top + 1;
    if (rootX < 0 || rootY < 0 || rootX + width > DisplayWidth(display, DefaultScreen(display)) ||
        rootY + height > DisplayHeight(display, DefaultScreen(display)))
        return {};
    XImage* image = XGetImage(display, root, rootX, rootY, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image) return {};
    std::vector<ScreenColor> colors;
    for (const auto& [x, y] : points) {
        const unsigned long pixel = XGetPixel(image, x - left, y - top);
        colors.push_back(ScreenColor{Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
                                     Channel(pixel, image->blue_mask)});
    }
    XDestroyImage(image);
    return colors;
}

}  // namespace

std::vector<ScreenColor> ReadWindowPixels(unsigned long window, const std::vector<std::pair<int, int>>& points) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    xFailed = false;
    auto previous = XSetErrorHandler(NoteXError);
    std::vector<ScreenColor> colors = ReadRootPixels(display, Window(window), points);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    if (xFailed) colors.clear();
    return colors;
}

std::optional<ScreenColor> ReadWindowPixel(unsigned long window, int x, int y) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::nullopt;
    // A window that has just gone raises BadWindow: a failed read, not the
    // end of the test program.
    xFailed = false;
    auto previous = XSetErrorHandler(NoteXError);
    std::optional<ScreenColor> color = ReadRootPixel(display, Window(window), x, y);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return xFailed ? std::nullopt : color;
}

std::optional<ScreenColor> ReadOwnWindowPixel(int x, int y) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
    XSync(info.info.x11.display, False);
    return ReadWindowPixel(info.info.x11.window, x, y);
}

std::vector<ScreenColor> ReadOwnWindowPixels(const std::vector<std::pair<int, int>>& points) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return {};
    XSync(info.info.x11.display, False);
    return ReadWindowPixels(info.info.x11.window, points);
}

unsigned long OwnDrawingWindow() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.window;
}

unsigned long OwnTopLevelWindow() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.wmwindow;
}

}  // namespace test_support
