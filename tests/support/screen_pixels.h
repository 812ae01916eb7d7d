// Reads what the X server shows on screen inside a window: the picture a
// player would see, whichever process drew it. Opens its own connection to
// $DISPLAY per call.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace test_support {

struct ScreenColor {
    int r = 0;
    int g = 0;
    int b = 0;
};

// The colour on screen at (x, y) of the window, x from its left edge and y
// from its top edge. Nothing when there is no display, the window is gone or
// the point lies off the screen.
std::optional<ScreenColor> ReadWindowPixel(unsigned long window, int x, int y);
// The colours at each (x, y) of the window, read through one connection;
// empty when any of them cannot be read.
std::vector<ScreenColor> ReadWindowPixels(unsigned long window, const std::vector<std::pair<int, int>>& points);
// The same for this process's own SDL window, once everything its connection
// has sent (a buffer swap, say) has been handled by the server.
std::optional<ScreenColor> ReadOwnWindowPixel(int x, int y);
std::vector<ScreenColor> ReadOwnWindowPixels(const std::vector<std::pair<int, int>>& points);
// The X window that this process's SDL window draws into, where window
// pixel (0, 0) is the picture's top-left corner also in full screen (where it
// sits centred inside the top-level one); 0 without one.
unsigned long OwnDrawingWindow();
// The X window of this process's SDL window that takes the keyboard focus
// (the top-level one); 0 without one.
unsigned long OwnTopLevelWindow();

// The colour is the texture pixel `rgba` (red in the low byte), each channel
// within `tolerance`.
inline bool Shows(const std::optional<ScreenColor>& c, uint32_t rgba, int tolerance) {
    auto near = [&](int shown, int shift) { return std::abs(shown - int(rgba >> shift & 0xFF)) <= tolerance; };
    return c && near(c->r, 0) && near(c->g, 8) && near(c->b, 16);
}

}  // namespace test_support
