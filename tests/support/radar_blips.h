// The head-up display's radar read from the window's pixels, as a player
// reads it. The radar turns with the view: the player's blue arrow at its
// centre always points up, and up is straight ahead. The enemies show as red
// squares around it, fading with distance, or as red arrows on its rim when
// they are farther than the squares reach.
#pragma once

#include <vector>

namespace test_support {

// World units per radar pixel (the head-up display's map scale is 1/8).
constexpr double kRadarUnitsPerPixel = 8.0;

struct RadarBlip {
    double bearing = 0.0;   // radians from straight ahead, positive to the right
    double distance = 0.0;  // pixels from the radar's centre
};

// The red blips on the radar of a `width` x `height` window, nearest first;
// empty when none shows or the window cannot be read.
std::vector<RadarBlip> ReadRadarBlips(unsigned long window, int width, int height);

}  // namespace test_support
