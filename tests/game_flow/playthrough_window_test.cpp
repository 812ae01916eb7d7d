// The road of a whole game, played from outside on the real binary as a
// player plays it: the start and the splash, the options, the key bindings,
// the credits, a level played with keys and mouse buttons, the pause and an
// aborted mission, the quit question; then the game started again with the
// same profile, where the options and the key chosen are still in force.
//
// Steps run in order, each on what the one before left on screen; a step
// that fails prints its name and the last 40 log lines and saves a picture
// of the screen beside the build's other pictures (build/<kind>/playthrough/).
// The pictures of the title, a menu, the head-up display and the credits are
// saved there on every run. Labelled "playthrough": run once, in the normal
// build only.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <vector>
#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <regex>
#include <string>

#include "support/own_pictures.h"
#include "support/played_game.h"
#include "support/radar_blips.h"
#include "support/weak_waves.h"
#include "support/temp_folder.h"

namespace {

using namespace test_support;

const std::string kPictures = QUELL_RUN_DIR "/../playthrough";
const std::string kLevelLoaded = "level Loaded";

// SDL's key code of the Up arrow, as the settings file stores it.
constexpr int kUpArrow = 273;

// An enemy is framed when it stands in line with the crosshair, within this
// angle, and this far away: nearer, it sinks below the dashboard (the
// player's eye stands high above the machines).
constexpr double kInLine = 0.07;  // radians, about 4 degrees
constexpr double kFramedFrom = 150.0, kFramedTo = 300.0;  // units
constexpr size_t kEnemyPixelsSeen = 10;  // of a framed machine, above the dashboard
// Generous bounds on the steering: framing takes a few dozen radar steps.
constexpr int kSteeringSteps = 1000;
constexpr double kStillRadarSeconds = 30.0;
// Bounds on the won run's steps, counted in the player's actions: level 2's
// goal is about ten half-second walks away; a wave falls in a few bursts.
constexpr int kWalkSteps = 120;
constexpr int kBurstsWithoutKill = 60;
constexpr int kBurstFrames = 6;
constexpr double kBurstSeconds = 0.8;
constexpr double kDegreesPerRadian = 57.29578;
// How long the game may take to answer a step (show a screen, log a line,
// settle a picture) before the step fails: generous, because a busy machine
// draws a frame in seconds; the waits end as soon as the answer comes.
constexpr double kAnswerBound = 40.0;
// How long the title's first settled look must stay to be taken for it.
constexpr double kTitleStays = 2.0;

// The value stored under `id` in a settings file's text.
std::optional<int> SettingOf(const std::string& settings, const std::string& id) {
    std::smatch match;
    const std::regex pattern("ID=\"" + id + "\"\\s+key=\"(-?[0-9]+)\"");
    if (!std::regex_search(settings, match, pattern)) return std::nullopt;
    return std::stoi(match[1]);
}

double Brightness(const WindowLook& look) {
    double sum = 0.0;
    for (const ScreenColor& c : look.colours) sum += c.r + c.g + c.b;
    return look.colours.empty() ? 0.0 : sum / (3.0 * double(look.colours.size()));
}

// How much darker `paused` is than `scene` at the typical point: the median,
// over the points the scene lit, of the ratio of their brightness. A point
// by point median, not the mean over the window, because a bolt or a blast
// flaring near the eye in either look would outweigh the whole veil.
double MedianDimming(const WindowLook& scene, const WindowLook& paused) {
    std::vector<double> ratios;
    const size_t points = std::min(scene.colours.size(), paused.colours.size());
    for (size_t i = 0; i < points; ++i) {
        const ScreenColor& lit = scene.colours[i];
        const ScreenColor& veiled = paused.colours[i];
        const double before = lit.r + lit.g + lit.b;
        if (before < 30.0) continue;  // too dark to tell a veil from noise
        ratios.push_back((veiled.r + veiled.g + veiled.b) / before);
    }
    if (ratios.empty()) return 1.0;
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    return ratios[ratios.size() / 2];
}

class Playthrough : public ::testing::Test {
protected:
    void SetUp() override { mkdir(kPictures.c_str(), 0755); }
    void TearDown() override { KeepLog(); }

    // The game's whole log beside the pictures, one file per start of each
    // test (the two tests may run side by side).
    void KeepLog() {
        if (!game) return;
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::ofstream(kPictures + "/" + test + "_game_" + std::to_string(++starts) + ".log") << game->Log();
    }

    // Runs one step of the road unless an earlier one failed fatally; a
    // failing step is reported with the game's last lines and its screen.
    void Step(const std::string& name, const std::function<void()>& body) {
        if (HasFatalFailure()) return;
        const bool failedBefore = HasFailure();
        std::cout << "[ step ] " << name << std::endl;
        body();
        if (HasFailure() && !failedBefore) Report(name);
    }

    void Report(const std::string& step) {
        std::string file = step;
        for (char& c : file)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        const std::string picture = kPictures + "/failed_" + file + ".png";
        game->SaveScreenshot(picture, true);
        std::cout << "[ failed step ] " << step << "\n[ screen ] " << picture << "\n[ last 40 log lines ]\n"
                  << game->LastLogLines(40) << std::endl;
    }

    // Waits until level `level` has loaded `loads` times in all and the main
    // thread has taken the last load over ("category = <level>" after the
    // loader's line), then a few frames for the screen that follows to show.
    void WaitForHandOver(const std::string& level, int loads, double seconds = 90.0) {
        ASSERT_TRUE(game->WaitForLog(kLevelLoaded, loads, seconds)) << level << " did not load " << loads << " times";
        const std::string takenOver = "category = " + level;
        const bool handed = PlayedGame::WaitFor(
            [&] {
                const std::string log = game->Log();
                return log.find(takenOver, log.rfind(kLevelLoaded)) != std::string::npos;
            },
            kAnswerBound);
        ASSERT_TRUE(handed) << "the main thread never took " << level << " over";
        SleepSeconds(0.3);
    }

    void Picture(const std::string& name) { EXPECT_TRUE(game->SaveScreenshot(kPictures + "/" + name + ".png")); }

    std::string SettingsPath() const { return profile.Path() + "/The Quellbrand/settings.xml"; }
    std::string Settings() const { return ReadFile(SettingsPath()); }
    // The settings file's inode: the game writes a new file and renames it
    // over the old one, so a new number means a new file is in place.
    ino_t SettingsFile() const {
        struct stat info {};
        return stat(SettingsPath().c_str(), &info) == 0 ? info.st_ino : 0;
    }
    // Clicks (x, y), which saves the settings: waits for the log's
    // "SAVING" and for the new file to be in place.
    void ClickAndWaitForSaving(float x, float y) {
        const ino_t before = SettingsFile();
        const int saves = game->LogCount("SAVING");
        ASSERT_TRUE(game->ClickAt(x, y));
        ASSERT_TRUE(game->WaitForLog("SAVING", saves + 1, kAnswerBound)) << "the settings were not saved";
        PlayedGame::WaitFor([&] { return SettingsFile() != before; }, kAnswerBound);
        ASSERT_NE(before, SettingsFile()) << "no new settings file";
    }

    // Window sizes as fractions, in the interface's coordinates.
    float W(float fraction) const { return fraction * float(game->Width()); }
    float H(float fraction) const { return fraction * float(game->Height()); }

    // A button of the title's column, by the fraction of the height its
    // bottom edge sits at (buttons are 40 high, centred on the middle).
    void ClickTitleButton(float y) { ASSERT_TRUE(game->ClickAt(W(0.5f), H(y) + 20.0f)); }
    // A button of the pause screen's column.
    void ClickPauseButton(float y) { ASSERT_TRUE(game->ClickAt(W(0.15f) + 5.0f, H(y) + 20.0f)); }

    bool AtTitle(const WindowLook& look) const {
        // Labels and the outline under the pointer may differ; the picture not.
        return look.PointsDifferentFrom(titleLook) <= look.colours.size() / 12;
    }
    void WaitForTitle(double seconds = kAnswerBound) {
        WindowLook seen;
        ASSERT_TRUE(game->WaitForLook([&](const WindowLook& look) { return AtTitle(look); }, seconds, &seen))
            << "the title did not come back; " << seen.PointsDifferentFrom(titleLook) << " points differ";
    }
    // Waits for a screen other than the title that has settled.
    WindowLook WaitForOtherScreen(const char* what, double seconds = kAnswerBound) {
        WindowLook seen;
        EXPECT_TRUE(game->WaitForLook(
            [&](const WindowLook& look) {
                if (AtTitle(look)) return false;
                SleepSeconds(0.2);
                return game->Look().PointsDifferentFrom(look) == 0;
            },
            seconds, &seen))
            << what << " did not show";
        return seen;
    }

    // The white heading of an end screen ("Mission Complete" or "Mission
    // Failed"), typed out at the top of the window, left of the middle: a
    // band where the scene behind shows no white.
    size_t WhitePixelsInTheHeadingBand() const {
        std::vector<std::pair<int, int>> points;
        for (int y = int(H(0.05f)); y < int(H(0.12f)); y += 2)
            for (int x = int(W(0.25f)); x < int(W(0.75f)); x += 2) points.emplace_back(x, y);
        size_t white = 0;
        for (const ScreenColor& c : ReadWindowPixels(game->DrawnWindow(), points))
            if (c.r > 225 && c.g > 225 && c.b > 225) ++white;
        return white;
    }
    // Drags a slider's knob from `fromX` to `toX` along interface height y,
    // holding the button until the knob shows under the pointer: the
    // pixels around the end point change as it arrives.
    bool DragKnob(float fromX, float toX, float y) const {
        std::vector<std::pair<int, int>> points;
        const int top = game->Height() - 1 - int(y);
        for (int dy = -4; dy <= 4; dy += 2)
            for (int dx = -6; dx <= 6; dx += 2) points.emplace_back(int(toX) + dx, top + dy);
        const WindowLook before{ReadWindowPixels(game->DrawnWindow(), points)};
        return game->DragAt(fromX, toX, y, [&] {
            const WindowLook now{ReadWindowPixels(game->DrawnWindow(), points)};
            return !now.Empty() && now.PointsDifferentFrom(before) >= 3;
        });
    }
    // The window inside the box of fractions [x0, x1] x [y0, y1] (y from
    // the top), read on a 3-pixel grid.
    WindowLook BoxLook(float x0, float x1, float y0, float y1) const {
        std::vector<std::pair<int, int>> points;
        for (int y = int(H(y0)); y < int(H(y1)); y += 3)
            for (int x = int(W(x0)); x < int(W(x1)); x += 3) points.emplace_back(x, y);
        return WindowLook{ReadWindowPixels(game->DrawnWindow(), points)};
    }
    // The pixels of that box that `wanted` accepts.
    size_t PixelsInBox(float x0, float x1, float y0, float y1,
                       const std::function<bool(const ScreenColor&)>& wanted) const {
        const WindowLook box = BoxLook(x0, x1, y0, y1);
        return size_t(std::count_if(box.colours.begin(), box.colours.end(), wanted));
    }
    // The head-up display over the scene: the green crosshair at the centre,
    // the minimap's pale green rings in the top right corner, the red hull
    // bar at the bottom in the middle. No part of the scene has these hues.
    bool CrosshairShows() const {
        const auto green = [](const ScreenColor& c) { return c.g > c.r + 60 && c.g > c.b + 60; };
        return PixelsInBox(0.45f, 0.55f, 0.44f, 0.56f, green) >= 5u;
    }
    // A renderer that stalls after a load may not have drawn it yet: waited
    // for, then judged part by part.
    void ExpectTheHeadUpDisplay() {
        const auto paleGreen = [](const ScreenColor& c) { return c.g > c.r + 25 && c.g > c.b + 25; };
        const auto red = [](const ScreenColor& c) { return c.r > c.g + 100 && c.r > c.b + 100; };
        const auto minimap = [&] { return PixelsInBox(0.65f, 1.0f, 0.0f, 0.45f, paleGreen) >= 20u; };
        const auto hullBar = [&] { return PixelsInBox(0.3f, 0.7f, 0.88f, 1.0f, red) >= 10u; };
        game->WaitForLook([&](const WindowLook&) { return CrosshairShows() && minimap() && hullBar(); }, kAnswerBound);
        EXPECT_TRUE(CrosshairShows()) << "no crosshair at the centre";
        EXPECT_TRUE(minimap()) << "no minimap";
        EXPECT_TRUE(hullBar()) << "no hull bar";
    }

    // The endless mode's offer: its glowing cyan heading at the top, left of
    // the minimap (about 70 pixels on an 800x600 window), over a view whose
    // head-up display is gone. Level 3's play can flash that colour there
    // for a moment, but always shows the crosshair. Its veil alone is no
    // sign: a still frame of a dark view looks as dim.
    size_t UltimatumPixels() const {
        const auto glowing = [](const ScreenColor& c) { return c.g > 180 && c.b > 180 && c.b > c.r + 15; };
        return PixelsInBox(0.15f, 0.62f, 0.03f, 0.12f, glowing);
    }

    void WaitForHeading(const char* heading) {
        ASSERT_TRUE(game->WaitForLook([&](const WindowLook&) { return WhitePixelsInTheHeadingBand() > 30; }, kAnswerBound))
            << "no \"" << heading << "\" heading";
    }

    // Starts the game with this test's profile and plays through the splash
    // to the title; `first` also checks the slides and keeps the title's look.
    void StartToTitle(bool first) {
        KeepLog();
        game = std::make_unique<PlayedGame>(runFolder, profile.Path(), output.Path());
        ASSERT_TRUE(game->Start()) << "no window";
        WindowLook seen;
        ASSERT_TRUE(game->WaitForLook([](const WindowLook& look) { return look.DistinctColours() >= 8; }, kAnswerBound, &seen))
            << "no picture soon after the window opened: " << seen.DistinctColours() << " colours";
        if (first) {
            // The slides change while they play. Watched from the first
            // picture: on a busy machine the main thread's upload of the
            // loaded level can outlast the rest of the show, which stands
            // still meanwhile.
            bool whileTheSlidesPlayed = false;
            EXPECT_TRUE(game->WaitForLook(
                [&](const WindowLook& look) {
                    if (look.PointsDifferentFrom(seen) <= look.colours.size() / 4) return false;
                    whileTheSlidesPlayed = game->LogCount("splash screen over") == 0;
                    return true;
                },
                60.0))
                << "the picture never changed after the first";
            EXPECT_TRUE(whileTheSlidesPlayed) << "the slides never changed while they played";
        }
        ASSERT_TRUE(game->WaitForLog(kLevelLoaded, 1, 90.0)) << "level 1 never loaded behind the slides";
        // A key ends the show, and the title follows once the main thread has
        // made the loaded level's pictures, which a busy machine can take a
        // while over: pressed again until the hand-over, within a bound.
        const bool ended = PlayedGame::WaitFor(
            [&] {
                if (game->LogCount("splash screen over") > 0) return true;
                game->HoldKey("space", 0.15);
                return game->WaitForLog("splash screen over", 1, 0.35);
            },
            90.0);
        ASSERT_TRUE(ended) << "a key did not end the slides";
        // A busy machine can hold the last slide on screen for a while after
        // the hand-over, as still as the title and answering no click. After
        // a restart the title is known by its look at the first start; at
        // the first start it is the picture that stays: settled looks taken
        // seconds apart agree.
        if (!first) {
            ASSERT_NO_FATAL_FAILURE(WaitForTitle());
            return;
        }
        WindowLook before;
        const bool stays = PlayedGame::WaitFor(
            [&] {
                if (!game->WaitForStillLook(kAnswerBound, &titleLook)) return false;
                const bool same = !before.Empty() && titleLook.PointsDifferentFrom(before) <= titleLook.colours.size() / 12;
                before = titleLook;
                if (!same) SleepSeconds(kTitleStays);
                return same;
            },
            kAnswerBound + 2 * kTitleStays);
        ASSERT_TRUE(stays) << "the title never settled";
        EXPECT_GE(titleLook.DistinctColours(), 8u) << "the title shows no picture";
    }

    // Walking moves the whole view: once the view has settled (the player
    // sinks to its hover height after a load, the dust keeps drifting),
    // holding a bound key changes far more of the scene than standing does.
    // Standing is watched for a while; then, holding `key`, the view is
    // watched until it has changed that much more (a slow renderer draws
    // fewer frames in a while, so the walk is waited for, within a generous
    // bound). The points changed standing and walking.
    static bool Moved(const std::pair<size_t, size_t>& changes, size_t points) {
        return changes.second > std::max(2 * changes.first, points / 16);
    }
    std::pair<size_t, size_t> ChangesHolding(const std::string& key) {
        const size_t points = game->Look().colours.size();
        EXPECT_TRUE(game->WaitForLook(
            [&](const WindowLook& look) {
                SleepSeconds(0.5);
                return game->Look().PointsDifferentFrom(look) <= points / 16;
            },
            15.0))
            << "the view never settled";
        const WindowLook standing = game->Look();
        SleepSeconds(0.8);
        const WindowLook stood = game->Look();
        const size_t standingChanges = stood.PointsDifferentFrom(standing);
        size_t walkingChanges = 0;
        EXPECT_TRUE(game->Xdo("keydown " + key));
        game->WaitForLook(
            [&](const WindowLook& look) {
                walkingChanges = look.PointsDifferentFrom(stood);
                return Moved({standingChanges, walkingChanges}, points);
            },
            10.0);
        EXPECT_TRUE(game->Xdo("keyup " + key));
        return {standingChanges, walkingChanges};
    }
    void ExpectKeyMovesThePlayer(const std::string& key) {
        const auto changes = ChangesHolding(key);
        EXPECT_TRUE(Moved(changes, game->Look().colours.size()))
            << key << " did not move the view: " << changes.second << " points changed walking, " << changes.first
            << " standing";
    }

    // Step 1: a picture, the slides, the title after level 1 came in.
    void Start() {
        EXPECT_FALSE(FileExists(profile.Path() + "/The Quellbrand/settings.xml"));
        ASSERT_NO_FATAL_FAILURE(StartToTitle(true));
        Picture("title");
    }

    // Step 2: the music slider dragged and applied; applied again untouched
    // (no drift); changed and cancelled (the file is kept).
    void Options() {
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.28f));
        WaitForOtherScreen("the options");
        Picture("menu_options");
        const float sliderY = H(0.35f) + H(0.01f);
        const int saves = game->LogCount("SAVING");
        // Nearly silent: the music must not hide the shot's sound later on.
        ASSERT_TRUE(DragKnob(W(0.5f), W(0.25f) + 2.0f, sliderY)) << "the music slider's knob did not follow";
        ASSERT_NO_FATAL_FAILURE(ClickAndWaitForSaving(W(0.52f) + 75.0f, H(0.05f) + 20.0f));  // Apply
        const std::string applied = Settings();
        const auto music = SettingOf(applied, "music_volume");
        const auto sound = SettingOf(applied, "sound_volume");
        ASSERT_TRUE(music && sound) << applied;
        EXPECT_LE(*music, 3) << "the music slider's new volume";
        musicVolume = *music;
        soundVolume = *sound;

        ASSERT_TRUE(game->ClickAt(W(0.75f) + 75.0f, H(0.05f) + 20.0f));  // Cancel
        ASSERT_NO_FATAL_FAILURE(WaitForTitle());
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.28f));
        WaitForOtherScreen("the options, again");
        ASSERT_NO_FATAL_FAILURE(ClickAndWaitForSaving(W(0.52f) + 75.0f, H(0.05f) + 20.0f));  // Apply, nothing touched
        const std::string again = Settings();
        EXPECT_EQ(musicVolume, SettingOf(again, "music_volume").value_or(-1)) << "the music volume drifted";
        EXPECT_EQ(soundVolume, SettingOf(again, "sound_volume").value_or(-1)) << "the sound volume drifted";

        ASSERT_TRUE(DragKnob(W(0.3f), W(0.6f), sliderY)) << "the music slider's knob did not follow";
        ASSERT_TRUE(game->ClickAt(W(0.75f) + 75.0f, H(0.05f) + 20.0f));  // Cancel
        ASSERT_NO_FATAL_FAILURE(WaitForTitle());
        EXPECT_EQ(again, Settings()) << "Cancel changed the settings file";
        EXPECT_EQ(saves + 2, game->LogCount("SAVING"));
    }

    // Step 3: Forward bound to the Up arrow and kept.
    void Controls() {
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.21f));
        WaitForOtherScreen("the key bindings");
        ASSERT_TRUE(game->ClickAt(W(0.01f) + 175.0f, H(0.7f) + 25.0f));  // "Forward: W"
        SleepSeconds(0.2);
        ASSERT_TRUE(game->HoldKey("Up"));
        SleepSeconds(0.2);
        ASSERT_NO_FATAL_FAILURE(ClickAndWaitForSaving(W(0.52f) + 50.0f, H(0.05f) + 20.0f));  // Ok
        EXPECT_EQ(kUpArrow, SettingOf(Settings(), "forward").value_or(-1)) << Settings();
        ASSERT_NO_FATAL_FAILURE(WaitForTitle());
    }

    // Step 4: the credits' roll, left with a quick Escape.
    void Credits() {
        game->QuickClickAt(W(0.5f), H(0.14f) + 20.0f);  // a quick click: the widgets' latch must catch it
        WindowLook seen;
        EXPECT_TRUE(game->WaitForLook(
            [&](const WindowLook& look) { return !AtTitle(look) && look.DistinctColours() >= 8; }, kAnswerBound, &seen))
            << "no credits roll";
        SleepSeconds(1.0);
        Picture("credits");
        ASSERT_TRUE(game->TapKey("Escape"));
        ASSERT_NO_FATAL_FAILURE(WaitForTitle());
    }

    // Step 5: level 1 played: the head-up display, walking, firing.
    void Play() {
        const int loads = game->LogCount(kLevelLoaded);
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.42f));
        ASSERT_NO_FATAL_FAILURE(WaitForHandOver("level1", loads + 2));
        // The level behind the title, emptied for the game, held no kill.
        EXPECT_EQ(0, Kills()) << "a kill was logged before any play";
        ASSERT_TRUE(game->WaitForLook([&](const WindowLook& look) { return !AtTitle(look); }, kAnswerBound));
        SleepSeconds(1.0);
        Picture("hud_level1");
        ExpectTheHeadUpDisplay();
        ExpectKeyMovesThePlayer("Up");
        const long heard = game->SoundBytes();
        ASSERT_TRUE(game->HoldButton(1, 0.5));  // the laser
        ASSERT_TRUE(game->HoldButton(3, 0.2));  // a missile
        EXPECT_TRUE(game->WaitForLook([&](const WindowLook&) { return game->HeardSince(heard); }, kAnswerBound))
            << "no shot heard in " << game->SoundFile();
        // The first wave walking in from the basin's far corners: faced and
        // approached as the radar shows it, then seen above the dashboard.
        const auto began = std::chrono::steady_clock::now();
        // The machine keeps walking: on a machine that draws a frame a second
        // it can step out of the column between the frame whose radar showed
        // it in line and the one whose pixels are read. Framed again until
        // both agree, within a bound.
        int radarSteps = 0;
        RadarBlip framed;
        size_t enemyPixels = 0;
        PlayedGame::WaitFor(
            [&] {
                int steps = 0;
                framed = FrameTheNearestEnemy(steps);
                radarSteps += steps;
                enemyPixels = EnemyPixelsAhead();
                return enemyPixels >= kEnemyPixelsSeen;
            },
            kAnswerBound);
        Picture("level1_wave1");
        const double units = framed.distance * kRadarUnitsPerPixel;
        std::cout << "[ radar ] after " << radarSteps << " steps ("
                  << std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count()
                  << " s) the nearest enemy is " << units << " units away, " << framed.bearing * kDegreesPerRadian
                  << " degrees off ahead; " << enemyPixels << " enemy pixels ahead" << std::endl;
        EXPECT_LE(units, kFramedTo) << "the nearest enemy was not approached";
        EXPECT_LE(std::fabs(framed.bearing), kInLine) << "the nearest enemy was not faced";
        EXPECT_GE(enemyPixels, kEnemyPixelsSeen) << "no enemy seen ahead, above the dashboard";
    }

    // The machines are cold steel, lit or in shadow, with cyan emitters:
    // more blue than red, unlike every ground, rock and cockpit colour of
    // level 1 (its only other cold colour, the spawn pads' rings, lies in
    // the far corners). Counted, leaving out the crosshair's green, in the
    // column above the dashboard where a faced machine stands: on the
    // basin's slopes it may show well above or below the crosshair.
    size_t EnemyPixelsAhead() const {
        const auto cold = [](const ScreenColor& c) {
            return c.b > c.r + 5 && !(c.g > c.r + 60 && c.g > c.b + 60);
        };
        return PixelsInBox(0.4f, 0.6f, 0.1f, 0.8f, cold);
    }

    // Turns towards the nearest red blip of the radar in small mouse moves
    // and walks towards it (forward is the Up arrow) or away from it ("s")
    // until it is framed. Each step acts on a radar that shows something new
    // since the last one (the game drew a frame in which the player or a
    // machine moved), so a slow or stalling game takes longer but no fewer
    // steps: the game limits the turn per frame, and the machines move. It
    // gives up after kSteeringSteps steps, or when the radar stays the same
    // for kStillRadarSeconds (the game no longer draws). Returns the nearest
    // blip last seen, and the steps taken in `steps`.
    RadarBlip FrameTheNearestEnemy(int& steps) {
        RadarBlip nearest{M_PI, 1e9};
        std::vector<RadarBlip> acted;  // the radar the last step acted on
        auto changed = std::chrono::steady_clock::now();
        std::string held;  // the walking key held down, if any
        for (steps = 0; game->IsRunning() && steps < kSteeringSteps;) {
            const std::vector<RadarBlip> blips = ReadRadarBlips(game->DrawnWindow(), game->Width(), game->Height());
            const auto now = std::chrono::steady_clock::now();
            if (steps > 0 && SameRadar(blips, acted)) {
                if (std::chrono::duration<double>(now - changed).count() > kStillRadarSeconds) break;
                SleepSeconds(0.05);
                continue;
            }
            ++steps;
            acted = blips;
            changed = now;
            if (!blips.empty()) nearest = blips.front();
            const double units = nearest.distance * kRadarUnitsPerPixel;
            const bool inLine = std::fabs(nearest.bearing) <= kInLine;
            const bool inRange = units >= kFramedFrom && units <= kFramedTo;
            if (inLine && inRange) break;
            const bool ahead = std::fabs(nearest.bearing) <= 4.0 * kInLine;
            const std::string walk = !ahead || inRange ? "" : units > kFramedTo ? "Up" : "s";
            if (walk != held) {
                if (!held.empty()) game->Xdo("keyup " + held);
                if (!walk.empty()) game->Xdo("keydown " + walk);
                held = walk;
            }
            if (!blips.empty() && !inLine) TurnTowards(nearest);
        }
        if (!held.empty()) game->Xdo("keyup " + held);
        return nearest;
    }

    static bool SameRadar(const std::vector<RadarBlip>& a, const std::vector<RadarBlip>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const RadarBlip& x, const RadarBlip& y) {
            return x.bearing == y.bearing && x.distance == y.distance;
        });
    }

    // Step 6: the pause, resumed; paused again and the mission aborted.
    // Escape, then the pause menu settled over the scene. The scene stops a
    // frame before the menu replaces the head-up display, which a slow
    // renderer shows for a while: the scene to compare with is the last one
    // seen with the crosshair still on. Returns that scene.
    WindowLook PauseWithEscape(WindowLook& paused) {
        WindowLook scene = game->Look();
        EXPECT_TRUE(game->HoldKey("Escape"));
        EXPECT_TRUE(game->WaitForLook(
            [&](const WindowLook& look) {
                if (!CrosshairShows()) return true;
                scene = look;
                return false;
            },
            kAnswerBound))
            << "the head-up display stayed after Escape";
        EXPECT_TRUE(game->WaitForStillLook(kAnswerBound, &paused)) << "the pause menu never settled";
        return scene;
    }

    void PauseAndAbort() {
        WindowLook paused;
        const WindowLook scene = PauseWithEscape(paused);
        const double dimming = MedianDimming(scene, paused);
        std::cout << "[ veil ] the paused scene shows at " << dimming << " of its brightness" << std::endl;
        EXPECT_LT(dimming, 0.7) << "no veil over the scene";
        Picture("menu_pause");
        ASSERT_NO_FATAL_FAILURE(ClickPauseButton(0.49f));  // Resume Game
        EXPECT_TRUE(game->WaitForLook([&](const WindowLook&) { return CrosshairShows(); }, kAnswerBound))
            << "the head-up display did not come back after Resume";

        PauseWithEscape(paused);
        const int kills = Kills();
        ASSERT_NO_FATAL_FAILURE(ClickPauseButton(0.21f));  // Abort Mission
        ASSERT_NO_FATAL_FAILURE(WaitForHeading("Mission Failed"));
        SleepSeconds(1.5);  // the statistics type out
        Picture("mission_failed");
        ASSERT_TRUE(game->ClickAt(W(0.55f) + 150.0f, H(0.2f) + 18.0f));  // Return to Title
        // The level reloads behind the title; the next step clicks as soon as
        // the title shows, as a player would, whether or not that load is in.
        ASSERT_NO_FATAL_FAILURE(WaitForTitle());
        EXPECT_EQ(kills, Kills()) << "the enemies left in the aborted level were logged as kills";
    }

    // Step 9: the quit question answered No, then Yes.
    void Quit() {
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.07f));
        ASSERT_TRUE(game->WaitForLook([](const WindowLook& look) { return Brightness(look) < 20.0; }, kAnswerBound))
            << "no quit question";
        ASSERT_TRUE(game->ClickAt(W(0.5f) + 5.0f, H(0.4f) + 20.0f));  // No
        ASSERT_NO_FATAL_FAILURE(WaitForTitle());
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.07f));
        ASSERT_TRUE(game->WaitForLook([](const WindowLook& look) { return Brightness(look) < 20.0; }, kAnswerBound));
        ASSERT_TRUE(game->ClickAt(W(0.5f) + 5.0f, H(0.5f) + 20.0f));  // Yes
        ExpectCleanExit(false);
    }

    // A closed window is logged as "Quit requested"; the shutdown's first
    // line follows the last frame and its last line ends the log.
    void ExpectCleanExit(bool windowClosed) {
        const std::optional<int> status = game->WaitForExit(120.0);
        ASSERT_TRUE(status.has_value()) << "the game did not end";
        EXPECT_EQ(0, *status);
        const std::string log = game->Log();
        EXPECT_EQ(windowClosed, log.find("Quit requested") != std::string::npos);
        const std::string begun = "\nframe loop over, shutting down\n", ended = "\nshutdown complete\n";
        EXPECT_NE(std::string::npos, log.find(begun)) << "no shutdown line";
        EXPECT_TRUE(log.size() >= ended.size() && log.compare(log.size() - ended.size(), ended.size(), ended) == 0)
            << "the log does not end with the shutdown: " << game->LastLogLines(10);
        EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
        EXPECT_FALSE(ErrorLogWritten()) << "an error-log file was written";
    }

    bool ErrorLogWritten() const {
        const std::string listing = "ls \"" + profile.Path() + "/The Quellbrand\" 2>/dev/null | grep -q error_log_";
        return std::system(listing.c_str()) == 0;
    }

    static bool FileExists(const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0;
    }

    // After a restart: the volumes and the key chosen are in force.
    void OptionsPersist() {
        ASSERT_NO_FATAL_FAILURE(StartToTitle(false));
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.28f));
        WaitForOtherScreen("the options after a restart");
        ASSERT_NO_FATAL_FAILURE(ClickAndWaitForSaving(W(0.52f) + 75.0f, H(0.05f) + 20.0f));  // Apply: stores what is in force
        EXPECT_EQ(musicVolume, SettingOf(Settings(), "music_volume").value_or(-1));
        EXPECT_EQ(soundVolume, SettingOf(Settings(), "sound_volume").value_or(-1));
        EXPECT_EQ(kUpArrow, SettingOf(Settings(), "forward").value_or(-1));
        ASSERT_TRUE(game->ClickAt(W(0.75f) + 75.0f, H(0.05f) + 20.0f));  // Cancel
        ASSERT_NO_FATAL_FAILURE(WaitForTitle());
        const int loads = game->LogCount(kLevelLoaded);
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.42f));
        ASSERT_NO_FATAL_FAILURE(WaitForHandOver("level1", loads + 2));
        SleepSeconds(1.0);
        ExpectKeyMovesThePlayer("Up");
        game->ReleaseEverything();
        ASSERT_TRUE(game->CloseWindow());
        ExpectCleanExit(true);
    }

    // ---- A won run, on test content (see WeakWaves) ----

    // Fires the laser in bursts until `done`. A slow or stalling game kills
    // later, not never: it gives up only after kBurstsWithoutKill bursts in
    // a row that killed nothing (which covers the pauses between waves).
    // A machine that stands off the line of fire (close beside the player,
    // say) is turned to: every third burst in a row that killed nothing is
    // followed by a turn towards the nearest blip on the radar.
    bool FireUntil(const std::function<bool()>& done) {
        int kills = Kills();
        for (int idle = 0; !done() && game->IsRunning() && idle < kBurstsWithoutKill;) {
            FireBurst(done);
            const int now = Kills();
            idle = now > kills ? 0 : idle + 1;
            kills = now;
            if (idle > 0 && idle % 3 == 0) TurnTowardsTheNearestEnemy();
        }
        return done();
    }
    // One burst: the trigger held for at least kBurstSeconds and until the
    // middle of the view, where the bolts fly, has shown kBurstFrames new
    // pictures (within kAnswerBound / 4): a machine that draws a frame a
    // second fires as long a burst, in frames, as one that draws ten. It
    // ends early once `done`.
    void FireBurst(const std::function<bool()>& done) {
        game->Xdo("mousedown 1");
        const auto begun = std::chrono::steady_clock::now();
        WindowLook last = BoxLook(0.4f, 0.6f, 0.4f, 0.6f);
        int pictures = 0;
        PlayedGame::WaitFor(
            [&] {
                const WindowLook now = BoxLook(0.4f, 0.6f, 0.4f, 0.6f);
                if (now.PointsDifferentFrom(last) > 0) ++pictures;
                last = now;
                const std::chrono::duration<double> held = std::chrono::steady_clock::now() - begun;
                return (pictures >= kBurstFrames && held.count() >= kBurstSeconds) || done();
            },
            kAnswerBound / 4);
        game->Xdo("mouseup 1");
    }
    void TurnTowardsTheNearestEnemy() {
        const std::vector<RadarBlip> blips = ReadRadarBlips(game->DrawnWindow(), game->Width(), game->Height());
        if (!blips.empty() && std::fabs(blips.front().bearing) > kInLine) TurnTowards(blips.front());
    }
    // One small mouse move towards `blip`: the look turns by the pointer's
    // offset from the centre in half-widths of the window, as radians.
    void TurnTowards(const RadarBlip& blip) {
        const double radiansPerPixel = 2.0 / game->Width();
        const double pixels = std::clamp(0.5 * blip.bearing / radiansPerPixel, -60.0, 60.0);
        game->MoveMouseBy(int(std::lround(pixels)) + (pixels > 0.0 ? 1 : -1));
    }
    // The enemies destroyed by hits so far in this start of the game, by the
    // line each death logs. (The object table's own "enemiesKilled" line also
    // counts what a level load clears away.)
    int Kills() const { return game->LogCount("enemyName = "); }

    // "Continue" under the statistics of a won level.
    void ClickContinue() { ASSERT_TRUE(game->ClickAt(W(0.55f) + 150.0f, H(0.2f) + 18.0f)); }

    // Step 7: level 1's three waves cleared by firing; the level changes to 2.
    void FinishALevel() {
        ASSERT_NO_FATAL_FAILURE(StartToTitle(true));
        ASSERT_NO_FATAL_FAILURE(LookAtTheDefaultTable());
        const int loads = game->LogCount(kLevelLoaded);
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.42f));
        ASSERT_NO_FATAL_FAILURE(WaitForHandOver("level1", loads + 2));
        ASSERT_TRUE(FireUntil([&] { return game->LogCount("player won") >= 1; })) << "the waves were not cleared: " << Kills() << " kills";
        EXPECT_GE(Kills(), kLevelOneEnemies);
        ASSERT_NO_FATAL_FAILURE(WaitForHeading("Mission Complete"));
        SleepSeconds(1.5);  // the statistics type out
        Picture("mission_complete");
        const int next = game->LogCount(kLevelLoaded);
        ASSERT_NO_FATAL_FAILURE(ClickContinue());
        ASSERT_NO_FATAL_FAILURE(WaitForHandOver("level2", next + 1));
        SleepSeconds(1.0);
        Picture("hud_level2");
        ExpectTheHeadUpDisplay();
    }

    // Step 8: levels 2 and 3 won, the endless mode declined; the run's kills
    // beat the tenth entry's 30, so a name is asked for and stored.
    void EnterAHighScore() {
        // Level 2 starts a few steps right of its goal: walking left wins it.
        for (int steps = 0; steps < kWalkSteps && game->LogCount("player won") < 2; ++steps) game->HoldKey("a", 0.5);
        ASSERT_TRUE(game->WaitForLog("player won", 2, kAnswerBound)) << "level 2 was not won";
        SleepSeconds(1.0);
        const int loads = game->LogCount(kLevelLoaded);
        ASSERT_NO_FATAL_FAILURE(ClickContinue());
        ASSERT_NO_FATAL_FAILURE(WaitForHandOver("level3", loads + 1));
        SleepSeconds(1.0);
        Picture("hud_level3");
        ExpectTheHeadUpDisplay();
        // After the seventh wave the endless mode is offered. Its first
        // button, Stop Now and Win, covers the middle of the window, where
        // play keeps the pointer: a burst begun just after the offer came
        // (before its picture showed) clicks it, as a player's would.
        const auto won = [&] { return game->LogCount("player won") >= 3; };
        const bool offered =
            FireUntil([&] { return (UltimatumPixels() >= kUltimatumPixels && !CrosshairShows()) || won(); });
        ASSERT_TRUE(offered) << "level 3's waves were not cleared: " << Kills() << " kills";
        EXPECT_GE(Kills(), kLevelOneEnemies + kLevelThreeEnemies);
        if (!won()) {
            SleepSeconds(1.0);
            Picture("endless_choice");
            ASSERT_TRUE(game->ClickAt(W(0.5f), H(0.5f) + 20.0f));  // Stop Now and Win
        }
        ASSERT_TRUE(game->WaitForLog("player won", 3, kAnswerBound));
        SleepSeconds(1.0);
        ASSERT_NO_FATAL_FAILURE(ClickContinue());
        ASSERT_TRUE(game->WaitForLog("ScoreState Init", 2, kAnswerBound)) << "no score screen";
        SleepSeconds(1.0);
        Picture("score_entry");
        ASSERT_TRUE(game->Xdo("type --delay 60 " + std::string(kName)));
        ASSERT_TRUE(game->HoldKey("Return"));
        std::vector<ScoreRow> rows;
        PlayedGame::WaitFor([&] { return Holds(rows = ScoreRows(), kName); }, kAnswerBound);
        ASSERT_TRUE(Holds(rows, kName)) << "score.bin does not hold the name";
        ASSERT_EQ(10u, rows.size());
        // The statistics restart with each level won before the last, so
        // the entry counts level 3's kills.
        const ScoreRow& entry = *std::find_if(rows.begin(), rows.end(), [](const ScoreRow& row) { return row.name == kName; });
        EXPECT_GE(entry.kills, kLevelThreeEnemies);
        EXPECT_GT(entry.accuracy, 0) << "no shot or hit was counted";
        for (size_t i = 1; i < rows.size(); ++i) EXPECT_GE(rows[i - 1].kills, rows[i].kills) << "row " << i;
    }

    // ... and after a restart the table shows it.
    void TheTableShowsIt() {
        game->ReleaseEverything();
        ASSERT_TRUE(game->CloseWindow());
        ExpectCleanExit(true);
        ASSERT_NO_FATAL_FAILURE(StartToTitle(false));
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.35f));
        ASSERT_TRUE(game->WaitForLog("ScoreState Init", 1, kAnswerBound));
        SleepSeconds(2.0);  // the rows type out
        Picture("high_scores");
        WindowLook table;
        ASSERT_TRUE(game->WaitForStillLook(kAnswerBound, &table));
        EXPECT_GT(table.PointsDifferentFrom(defaultTable), 0u) << "the table looks as it did before the run";
        game->ReleaseEverything();
        ASSERT_TRUE(game->CloseWindow());
        ExpectCleanExit(true);
    }

    // The default table's look, from the title of the first start.
    void LookAtTheDefaultTable() {
        ASSERT_NO_FATAL_FAILURE(ClickTitleButton(0.35f));
        ASSERT_TRUE(game->WaitForLog("ScoreState Init", 1, kAnswerBound));
        SleepSeconds(2.0);
        ASSERT_TRUE(game->WaitForStillLook(kAnswerBound, &defaultTable));
        ASSERT_TRUE(game->ClickAt(W(0.65f) + 125.0f, H(0.1f) + 18.0f));  // Continue
        ASSERT_NO_FATAL_FAILURE(WaitForTitle());
    }

    struct ScoreRow {
        std::string name;
        int kills = 0, damage = 0, accuracy = 0;
    };
    static bool Holds(const std::vector<ScoreRow>& rows, const std::string& name) {
        return std::any_of(rows.begin(), rows.end(), [&](const ScoreRow& row) { return row.name == name; });
    }
    // The records of score.bin: a length-prefixed name, then kills, damage
    // received and accuracy, each a little-endian 32-bit integer.
    std::vector<ScoreRow> ScoreRows() const {
        std::ifstream in(profile.Path() + "/The Quellbrand/score.bin", std::ios::binary);
        auto readInt = [&](int& value) {
            unsigned char b[4];
            if (!in.read(reinterpret_cast<char*>(b), 4)) return false;
            value = int(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
            return true;
        };
        std::vector<ScoreRow> rows;
        for (int length = 0; rows.size() < 10 && readInt(length) && length >= 0 && length < 256;) {
            ScoreRow row;
            row.name.resize(size_t(length));
            if (!in.read(&row.name[0], length) || !readInt(row.kills) || !readInt(row.damage) || !readInt(row.accuracy))
                break;
            rows.push_back(row);
        }
        return rows;
    }

    static constexpr const char* kName = "Quellrider";  // ten letters
    static constexpr int kLevelOneEnemies = 2 + 4 + 5;
    static constexpr size_t kUltimatumPixels = 30;
    static constexpr int kLevelThreeEnemies = 4 + 6 + 5 + 8 + 7 + 12 + 12;
    WindowLook defaultTable;

    std::string runFolder = QUELL_RUN_DIR;
    TempFolder profile;
    TempFolder output;
    std::unique_ptr<PlayedGame> game;
    WindowLook titleLook;
    int starts = 0;
    int musicVolume = -1;
    int soundVolume = -1;
};

TEST_F(Playthrough, TheRoadOfAGame) {
    Step("1 start, slides and title", [&] { Start(); });
    Step("2 options", [&] { Options(); });
    Step("3 controls", [&] { Controls(); });
    Step("4 credits", [&] { Credits(); });
    Step("5 play level 1", [&] { Play(); });
    Step("6 pause, resume, abort", [&] { PauseAndAbort(); });
    Step("9 quit", [&] { Quit(); });
    Step("options persist across a restart", [&] { OptionsPersist(); });
}

}  // namespace

namespace {

TEST_F(Playthrough, AWonRunIsScored) {
    RunFolderWith weak(QUELL_RUN_DIR, WeakWaves(QUELL_RUN_DIR));
    runFolder = weak.Path();
    Step("7 finish level 1", [&] { FinishALevel(); });
    Step("8 high scores", [&] { EnterAHighScore(); });
    Step("8 the table after a restart", [&] { TheTableShowsIt(); });
}

}  // namespace
