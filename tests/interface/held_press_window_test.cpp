// A press of the left button belongs to the screen it began on. Clicked
// through the game's own window with xdotool: the click that starts or
// resumes play, held on into play, fires nothing until pressed anew; the
// endless choice, built under a trigger held in play or pressed in the very
// frame of its build, chooses nothing until a click begun on it. A quick
// click in play, pressed and released between two frames, fires once.
// Every xdotool step is waited for (the input module or the X server has
// it) within a generous bound before anything is asserted.
#include "interface/menu_game.h"

#include <algorithm>

#include "event_manager.h"
#include "game_states/endless_mode_start_state.h"
#include "game_states/ingame_state.h"
#include "game_states/pause_state.h"
#include "game_states/state_events.h"
#include "objects/components.h"
#include "weapons.h"

namespace menu_test {
namespace {

class HeldPress : public MenuGame {
protected:
    bool Playing() const {
        return OnTop<IngameState>() && Logic().loadingDone && !Logic().IsLoadInFlight() && !Sys().IsPaused();
    }
    // The player's projectiles in the world.
    static int PlayerShots() {
        ObjectManager& objects = *Module<ObjectManager>::Instance();
        ObjectLock lock(objects);
        int shots = 0;
        for (const auto& entry : objects.gameObjectList) {
            const auto* bullet = static_cast<const BulletComp*>(entry.second.GetComponent(CompIndex::Bullet));
            shots += bullet && bullet->faction == 2;
        }
        return shots;
    }
    // The left button pressed on the middle of the widget of that name and
    // kept down.
    void PressOn(const std::string& name) {
        const InterfaceObject* widget = Registry().Find(name);
        ASSERT_NE(nullptr, widget) << "no widget " << name << " on screen " << Ui().currentState;
        PointAt(widget->position.x + 0.5f * widget->width, widget->position.y + 0.5f * widget->height);
        Xdo("mousedown 1");
        ASSERT_TRUE(SeesDown(InputManager::kMouseLeft)) << "the press never arrived";
    }
    // The player's weapon of that button (1 the laser, 3 the missiles).
    static Weapon* PlayerWeapon(int button) {
        ObjectManager& objects = *Module<ObjectManager>::Instance();
        ObjectLock lock(objects);
        GameObject* player = objects.GetGameObject(GameObject::kPlayerName);
        WeaponComp* weapons = player ? player->GetWeaponComp() : nullptr;
        if (!weapons) return nullptr;
        return button == 1 ? weapons->primary : weapons->secondary;
    }
    // Frames of play until the weapon of `button` could have fired several
    // times over (its rate in game time, whatever the frame rate) and, with
    // `shotsGone`, its earlier projectiles have expired.
    void PlayLongerThanTheRateOf(int button, bool shotsGone = false) {
        const Weapon* weapon = PlayerWeapon(button);
        ASSERT_NE(nullptr, weapon);
        const double wait = std::max(4.0 * weapon->rate, shotsGone ? weapon->expire : 0.0) + 0.2;
        const double until = Sys().GetTime() + wait;
        ASSERT_TRUE(RunUntil([&] { return Sys().GetTime() > until; }, 3000)) << "the game clock stood still";
    }
    // Play with the button still down: nothing fired.
    void ExpectNoShotWhileHeld() {
        const uint32_t fired = Logic().shotsFired;
        ASSERT_NO_FATAL_FAILURE(PlayLongerThanTheRateOf(1, true));
        ASSERT_TRUE(Input().IsKeyDown(InputManager::kMouseLeft)) << "the button was not held into play";
        EXPECT_EQ(fired, Logic().shotsFired);
        EXPECT_EQ(0, PlayerShots());
    }
    // Released, then pressed anew: the laser fires.
    void ExpectAFreshPressFires() {
        Xdo("mouseup 1");
        ASSERT_TRUE(SeesDown(InputManager::kMouseLeft, false)) << "the release never arrived";
        const uint32_t fired = Logic().shotsFired;
        Xdo("mousedown 1");
        EXPECT_TRUE(RunUntil([&] { return Logic().shotsFired > fired && PlayerShots() > 0; }, kInputFrames));
        Xdo("mouseup 1");
        ASSERT_TRUE(SeesDown(InputManager::kMouseLeft, false)) << "the release never arrived";
    }
    // "Push State" EndlessModeStart, as level three sends it after its last
    // wave: the game logic takes it in this frame, the interface builds the
    // screen in the next.
    void OfferTheEndlessChoice() {
        state_events::PushState(IngameState::kName, GameStateName::EndlessModeStart);
        Frames(1);
        ASSERT_TRUE(OnTop<EndlessModeStartState>());
        ASSERT_NE(InterfaceState::EndlessModeStart, Ui().currentState);
    }
    bool ChoiceStands() const {
        return OnTop<EndlessModeStartState>() && Ui().currentState == InterfaceState::EndlessModeStart;
    }
};

TEST_F(HeldPress, TheClickThatStartsOrResumesPlayFiresNothingUntilPressedAgain) {
    const int loads = LevelLoads();
    PressOn("Start Game");
    ASSERT_TRUE(RunUntil([&] { return Playing() && LevelLoads() == loads + 2; }, 1800)) << log.Text();
    {
        SCOPED_TRACE("Start Game");
        ExpectNoShotWhileHeld();
        EXPECT_EQ(0u, Logic().shotsFired);
        ExpectAFreshPressFires();
    }

    for (bool pressedAnewAtOnce : {false, true}) {
        SCOPED_TRACE(pressedAnewAtOnce ? "Resume Game, pressed anew in the first frame of play" : "Resume Game");
        HoldKey("Escape");
        ASSERT_TRUE(
            RunUntil([] { return OnTop<PauseState>() && Ui().currentState == InterfaceState::Pause; }, kInputFrames));
        Frames(2);
        PressOn("Resume Game");
        ASSERT_TRUE(RunUntil([&] { return Playing(); }, kInputFrames));  // the click's frame began play
        if (!pressedAnewAtOnce) {
            ExpectNoShotWhileHeld();
            ExpectAFreshPressFires();
            continue;
        }
        const uint32_t fired = Logic().shotsFired;
        Xdo("mouseup 1 mousedown 1");  // released and pressed again within one frame
        ASSERT_TRUE(RunUntil([&] { return Logic().shotsFired != fired; }, kInputFrames)) << "the press never fired";
        EXPECT_EQ(fired + 1, Logic().shotsFired) << "one frame, one pull";
        Xdo("mouseup 1");
        ASSERT_TRUE(SeesDown(InputManager::kMouseLeft, false)) << "the release never arrived";
    }
}

TEST_F(HeldPress, TheEndlessChoiceAnswersOnlyAPressBegunOnItsScreen) {
    const int loads = LevelLoads();
    Click("Start Game");
    ASSERT_TRUE(RunUntil([&] { return Playing() && LevelLoads() == loads + 2; }, 1800)) << log.Text();
    Frames(10);
    const std::string window = std::to_string(test_support::OwnDrawingWindow());
    for (bool inTheBuildFrame : {false, true}) {
        SCOPED_TRACE(inTheBuildFrame ? "pressed in the frame that builds the screen" : "held from play");
        if (inTheBuildFrame) {
            ASSERT_NO_FATAL_FAILURE(OfferTheEndlessChoice());
            // The pointer onto the middle of "Stop Now and Win" (the screen
            // is not built yet: the same place as a centred pointer's, with
            // a margin) and the button down before the build frame's poll.
            // The X server has the press before the frame runs, so that
            // frame's poll reads it.
            const int x = Sys().width / 2, y = Sys().height / 2 - 20;
            Xdo("mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1");
            ASSERT_TRUE(display.WaitForButton(1, true, 30.0)) << "the X server never had the press";
            Frames(1);
            ASSERT_TRUE(Input().IsKeyDown(InputManager::kMouseLeft)) << "the press came after the build frame's poll";
        } else {
            Xdo("mousedown 1");  // firing as the last wave dies
            ASSERT_TRUE(RunUntil([] { return Logic().shotsFired > 0; }, kInputFrames));
            ASSERT_NO_FATAL_FAILURE(OfferTheEndlessChoice());
        }
        ASSERT_TRUE(RunUntil([] { return Ui().currentState == InterfaceState::EndlessModeStart; }, kInputFrames));
        Frames(3);  // the screen's walks over its widgets, under the old press
        ASSERT_TRUE(ChoiceStands()) << "chosen by a press begun before the screen was built";
        PointAt(0.5f * Sys().width, 0.5f * Sys().height + 20.0f);  // the button's middle
        Xdo("mouseup 1");
        ASSERT_TRUE(SeesDown(InputManager::kMouseLeft, false)) << "the release never arrived";
        Frames(3);
        EXPECT_TRUE(ChoiceStands()) << "chosen by the release of a press begun before the screen";
        if (HasFailure()) return;
        Click(inTheBuildFrame ? "Stop Now and Win" : "Play Until You Die");
        ASSERT_TRUE(RunUntil([&] { return inTheBuildFrame ? Ui().currentState == InterfaceState::Win : Playing(); }, 30))
            << "a click begun on the screen chose nothing";
        if (!inTheBuildFrame) {
            EXPECT_TRUE(Logic().endlessMode);
        }
        Frames(10);
    }
}

// A click shorter than a frame, down and up between two polls, as clicks
// often are at this machine's frame rate: the laser fires once, and so does
// the missile launcher, and nothing more while the weapons recharge.
TEST_F(HeldPress, AQuickClickInPlayFiresItsWeaponOnce) {
    const int loads = LevelLoads();
    Click("Start Game");
    ASSERT_TRUE(RunUntil([&] { return Playing() && LevelLoads() == loads + 2; }, 1800)) << log.Text();
    for (int button : {1, 3}) {
        SCOPED_TRACE(button == 1 ? "the laser" : "the missiles");
        ASSERT_NO_FATAL_FAILURE(PlayLongerThanTheRateOf(button));  // the weapon ready
        const uint32_t fired = Logic().shotsFired;
        Xdo("click " + std::to_string(button));
        ASSERT_TRUE(RunUntil([&] { return Logic().shotsFired != fired; }, kInputFrames)) << "the click fired nothing";
        ASSERT_NO_FATAL_FAILURE(PlayLongerThanTheRateOf(button));
        EXPECT_EQ(fired + 1, Logic().shotsFired);
        EXPECT_FALSE(Input().IsKeyDown(InputManager::kMouseLeft + button - 1)) << "held after its frame";
    }
}

}  // namespace
}  // namespace menu_test
