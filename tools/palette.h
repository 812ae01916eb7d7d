// The one palette of the game's generated art, and the light and type that
// go with it (tools/ART.md says how they are used). Every generator step
// takes its colours from here; a colour that appears in one picture only is
// still mixed from these, never typed in where it is used.
#pragma once

#include "rgba_image.h"

namespace palette {

// ---- Sky: Mars at dusk ------------------------------------------------------
constexpr Rgb kSkyZenith = {30, 22, 52};     // deep violet overhead
constexpr Rgb kSkyHigh = {88, 50, 82};       // plum, halfway down
constexpr Rgb kSkyHorizon = {198, 122, 92};  // dusty salmon at the skyline
// The dust of the air: distant ground fades towards it. The renderer's haze
// (shaders/deferred_combine_frag.glsl, kHaze 0.80, 0.58, 0.52) is this colour.
constexpr Rgb kHaze = {204, 148, 133};
constexpr Rgb kCloud = {236, 190, 160};
constexpr Rgb kSunDisc = {255, 238, 206};
constexpr Rgb kSunGlow = {255, 168, 104};

// ---- Ground ------------------------------------------------------------------
constexpr Rgb kDustPale = {214, 158, 116};  // wind-swept crests
constexpr Rgb kDust = {172, 98, 62};        // the open plains
constexpr Rgb kDustDeep = {120, 58, 40};    // low ground and basins
constexpr Rgb kRockPale = {170, 138, 118};  // exposed rock on heights
constexpr Rgb kRock = {106, 76, 64};        // steep faces
constexpr Rgb kRockDark = {66, 44, 40};
// How far the rim's rock (its cliffs, and level 3's scree at their feet) is
// lifted towards kDustPale: up close, a cliff turned from the sun fills the
// view, and under the little light it gets it must still read as rock
// rather than as a void.
constexpr float kRimPaleness = 0.75f;
// Where light does not reach (gullies, creases, the ambient occlusion of
// models): a warm dark, never black, so shadows keep the planet's colour.
constexpr Rgb kShadow = {38, 22, 26};
constexpr Rgb kPaving = {92, 84, 80};       // streets and plazas
constexpr Rgb kPavingLine = {150, 128, 96};

// ---- Metal and building ------------------------------------------------------
constexpr Rgb kMetalPale = {196, 196, 198};
constexpr Rgb kMetal = {134, 136, 142};
constexpr Rgb kMetalDark = {70, 72, 80};
constexpr Rgb kPanelLine = {26, 26, 32};     // seams between plates
constexpr Rgb kConcrete = {156, 142, 128};
constexpr Rgb kGlass = {24, 30, 42};         // unlit windows and visors
constexpr Rgb kWindowLit = {255, 212, 136};
constexpr Rgb kRust = {128, 62, 36};         // weathering streaks
constexpr Rgb kHazard = {236, 186, 36};      // warning stripes

// ---- The two factions ------------------------------------------------------
// The player (faction 2): ember. Its lasers are "tex_shot_red", its cockpit
// trim and the interface highlights are ember too.
constexpr Rgb kPlayerEmber = {255, 122, 36};
constexpr Rgb kPlayerHull = {108, 102, 98};  // gunmetal of the cockpit
constexpr Rgb kPlayerShotGlow = {255, 70, 30};
// The enemy machines (faction 1): cold steel with cyan emitters; their
// lasers are "tex_shot_blue". The elite ("super") machines wear the dark
// hull with violet marks.
constexpr Rgb kEnemyHull = {98, 124, 152};
constexpr Rgb kEnemyMark = {64, 200, 255};
constexpr Rgb kEnemyEliteHull = {44, 40, 58};
constexpr Rgb kEnemyEliteMark = {176, 96, 255};
constexpr Rgb kEnemyShotGlow = {40, 120, 255};

// ---- Pickups -----------------------------------------------------------------
constexpr Rgb kHealthRed = {214, 36, 36};
constexpr Rgb kHealthWhite = {236, 234, 228};
constexpr Rgb kAmmoOlive = {92, 102, 52};
constexpr Rgb kBrass = {214, 168, 70};

// ---- Interface and lettering ----------------------------------------------
constexpr Rgb kText = {244, 238, 228};       // warm white
constexpr Rgb kTextDim = {176, 164, 154};
constexpr Rgb kHighlight = kPlayerEmber;     // headings, the title's glow
constexpr Rgb kInk = {255, 255, 255};        // masks the widgets tint
constexpr Rgb kRadar = {120, 230, 140};      // the minimap's rings
constexpr Rgb kRadarFace = {20, 60, 32};
constexpr Rgb kNight = {12, 10, 18};         // behind slides and the roll
constexpr Rgb kFire = {255, 226, 160};       // hot cores of flashes and shots

// ---- Light -------------------------------------------------------------------
// Towards the one sun: low in the east of the map (+x, a little towards -z),
// about 33 degrees above the horizon. Level 2's player makes its way towards
// +z and those of levels 1 and 3 look along -z: either way the sun comes
// from the side, so the machines coming at the player are lit and the ground
// shows its relief. The level scripts' first light points the same way,
// their fill light the opposite way.
struct Direction {
    float x, y, z;
};
constexpr Direction kTowardsSun = {0.6f, 0.42f, -0.25f};  // not unit length
// Level 1's basin is laid out from the north edge southwards (its start
// north of the centre, looking south over it), and its sun leans north as
// far as the others' leans south: the far rim in the first view is the
// cliff that turns its sunlit face to the basin.
constexpr Direction kTowardsLevelOneSun = {kTowardsSun.x, kTowardsSun.y, -kTowardsSun.z};

// ---- Type --------------------------------------------------------------------
constexpr const char* kTitleFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kBodyFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kMonoFace = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

}  // namespace palette
