#include "support/screen_pixels.h"

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

// The screen's pixels of the rectangle, rows from the top; empty when any
// part of it lies off the screen.
std::vector<ScreenColor> ReadRootRegion(Display* display, Window window, int x, int y, int width, int height) {
    const Window root = DefaultRootWindow(display);
    int rootX = 0, rootY = 0;
    Window child = 0;
    if (width <= 0 || height <= 0) return {};
    if (!XTranslateCoordinates(display, window, root, x, y, &rootX, &rootY, &child) || xFailed) return {};
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    if (rootX < 0 || rootY < 0 || rootX + width > screenWidth || rootY + height > screenHeight) return {};
    XImage* image = XGetImage(display, root, rootX, rootY, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image) return {};
    std::vector<ScreenColor> colors;
    colors.reserve(size_t(width) * size_t(height));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            colors.push_back({Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
                              Channel(pixel, image->blue_mask)});
        }
    }
    XDestroyImage(image);
    return colors;
}

}  // namespace

std::vector<ScreenColor> ReadWindowRegion(unsigned long window, int x, int y, int width, int height) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    // A window that has just gone raises BadWindow: a failed read, not the
    // end of the test program.
    xFailed = false;
    auto previous = XSetErrorHandler(NoteXError);
    std::vector<ScreenColor> colors = ReadRootRegion(display, Window(window), x, y, width, height);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    if (xFailed) colors.clear();
    return colors;
}

std::optional<ScreenColor> ReadWindowPixel(unsigned long window, int x, int y) {
    const std::vector<ScreenColor> colors = ReadWindowRegion(window, x, y, 1, 1);
    if (colors.empty()) return std::nullopt;
    return colors.front();
}

std::vector<ScreenColor> ReadOwnWindowRegion(int x, int y, int width, int height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return {};
    XSync(info.info.x11.display, False);
    return ReadWindowRegion(info.info.x11.window, x, y, width, height);
}

std::optional<ScreenColor> ReadOwnWindowPixel(int x, int y) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
    XSync(info.info.x11.display, False);
    return ReadWindowPixel(info.info.x11.window, x, y);
}

unsigned long OwnTopLevelWindow() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.wmwindow;
}

}  // namespace test_support
