#include "support/radar_blips.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "support/screen_pixels.h"

namespace test_support {
namespace {

// The radar's centre sits 100 pixels in from the window's right and top
// edges; its rim arrows reach 100 pixels out.
constexpr int kInset = 100;
constexpr int kReach = 100;

// A blip's red shows through the disc's grey-green even when faded far out.
bool Red(const ScreenColor& c) { return c.r > c.g + 30 && c.r > c.b + 30; }

// The right-hand hit wedge, which flashes red over the radar's lower left
// when the player is hit from the right (fractions of the window). The top
// one ends short of the radar's circle.
bool UnderHitWedge(int x, int y, int width, int height) {
    return x >= int(0.78 * width) - 1 && x <= int(0.82 * width) + 1 && y >= int(0.26 * height) - 1;
}

// The red points of a box `side` pixels wide, row by row.
struct RedPoints {
    int side = 0;
    std::vector<char> red;
    bool At(int x, int y) const { return x >= 0 && y >= 0 && x < side && y < side && red[size_t(y * side + x)]; }
    void Clear(int x, int y) { red[size_t(y * side + x)] = 0; }
};

// Takes the blob of red points touching (x, y) off `points`; its centre.
std::pair<double, double> TakeBlob(RedPoints& points, int x, int y) {
    std::vector<std::pair<int, int>> open{{x, y}};
    points.Clear(x, y);
    double sumX = 0.0, sumY = 0.0;
    size_t count = 0;
    while (!open.empty()) {
        const auto [px, py] = open.back();
        open.pop_back();
        sumX += px;
        sumY += py;
        ++count;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (points.At(px + dx, py + dy)) {
                    points.Clear(px + dx, py + dy);
                    open.emplace_back(px + dx, py + dy);
                }
    }
    return {sumX / double(count), sumY / double(count)};
}

}  // namespace

std::vector<RadarBlip> ReadRadarBlips(unsigned long window, int width, int height) {
    const int centreX = width - kInset, centreY = kInset, side = 2 * kReach + 1;
    const int left = centreX - kReach, top = centreY - kReach;
    // The window's own pixels only: the box may reach past its edges.
    std::vector<std::pair<int, int>> inside;
    for (int y = std::max(top, 0); y < std::min(top + side, height); ++y)
        for (int x = std::max(left, 0); x < std::min(left + side, width); ++x) inside.emplace_back(x, y);
    const std::vector<ScreenColor> colours = ReadWindowPixels(window, inside);
    if (colours.size() != inside.size()) return {};
    RedPoints points{side, std::vector<char>(size_t(side * side), 0)};
    for (size_t i = 0; i < inside.size(); ++i) {
        const auto [x, y] = inside[i];
        const bool onRadar = std::hypot(x - centreX, y - centreY) <= kReach;
        if (onRadar && Red(colours[i]) && !UnderHitWedge(x, y, width, height))
            points.red[size_t((y - top) * side + x - left)] = 1;
    }
    std::vector<RadarBlip> blips;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if (!points.At(x, y)) continue;
            const auto [blobX, blobY] = TakeBlob(points, x, y);
            const double right = blobX - kReach, ahead = kReach - blobY;
            blips.push_back(RadarBlip{std::atan2(right, ahead), std::hypot(right, ahead)});
        }
    std::sort(blips.begin(), blips.end(),
              [](const RadarBlip& a, const RadarBlip& b) { return a.distance < b.distance; });
    return blips;
}

}  // namespace test_support
