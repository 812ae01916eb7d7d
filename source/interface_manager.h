// InterfaceManager: everything the player sees in two dimensions. It builds
// each screen in code from widgets when told which one to show, owns the
// registered widgets (the ObjectManager's interObjList, in registration
// order) and the hidden console (the ObjectManager's `console`), and once per
// frame turns the mouse into the widgets' hover, held and clicked flags,
// runs every widget's Activate (where a clicked widget posts its events) and
// then removes the widgets that asked to go.
//
// Runs on the main thread: Init at start-up after the SoundManager, Update
// once per frame after it and before GameLogic, Kill at shutdown. Event
// client "InterfaceManager". Update before Init, or after Kill, does nothing.
// Takes no lock for the registry: every user of it runs on the main thread.
//
// Events: answers the screen changes, text lines ("Game Message" and its
// deletes, the wave line), the options' and controls' Apply and Ok, the quit
// question and "Quit", "Restart" and the score entry's "Update Score List".
// Sends "Music Volume" and "Sound Volume" to "SoundManager", text lines to
// itself, and whatever its screens' buttons carry when clicked.
//
// Never: changes the registry while its walk runs (widgets only flag
// themselves with pendingRemoval; removals follow the walk); keeps a widget
// it was handed and could not register (AddInterfaceObject deletes it).
//
// Files: interface_manager.cpp (module, frame walk, registry),
// interface_manager/widget_factory.cpp (CreateInterfaceObject),
// interface_manager/key_names.cpp (GetKeyName), interface_manager/settings*
// (the settings file), interface_manager/resolution_text.h (window-size texts),
// interface_manager/event_handling.cpp (ProcessEvent) and the handlers it
// calls (options_apply, quit_question, game_messages), interface_manager/
// screens.h (the screens' widgets; menu_screens.cpp for the menus,
// hud_screen.cpp for the head-up display), interface_manager/hit_feedback.cpp
// (ShowHitIndicator, "Enemy Hit").
#pragma once

#include <string>
#include <vector>

#include "geom/vector.h"
#include "interface/interface_state.h"
#include "interface/score_list.h"
#include "module.h"

class InterfaceObject;

class InterfaceManager : public virtual Module<InterfaceManager> {
public:
    // Messages handled here that the game states send, and the parameter of
    // "State Change" (an InterfaceState::Type).
    static constexpr const char* kStateChange = "State Change";
    static constexpr const char* kStateParam = "state";
    static constexpr const char* kLoadTitle = "Load Title";
    static constexpr const char* kQuitConfirm = "Quit Confirm";
    static constexpr const char* kQuitCancel = "Quit Cancel";
    // The head-up display's wave line ("message", a string; empty clears it).
    static constexpr const char* kWaveCountMessage = "Wave Count Message";
    static constexpr const char* kMessageParam = "message";

    // The rest of the messages this module answers (interface_manager/
    // event_handling.cpp); none carries a parameter.
    static constexpr const char* kResolutionChange = "Resolution Change";
    static constexpr const char* kControlsOk = "Controls Ok";
    static constexpr const char* kOptionsApply = "Options Apply";
    static constexpr const char* kLoadEndlessModeStart = "Load EndlessModeStartState";
    static constexpr const char* kQuit = "Quit";
    static constexpr const char* kFullScreenToggle = "Full Screen Toggle";
    static constexpr const char* kWindowModeToggle = "Window Mode Toggle";
    // Sets restartPending: the head-up display's next build restarts the level.
    static constexpr const char* kRestart = "Restart";
    // Turns the crosshair red for its hit look. Sent by no module of the
    // game; level scripts may send it.
    static constexpr const char* kEnemyHit = "Enemy Hit";

    // selectedName when no widget is selected.
    static constexpr const char* kNoneSelected = "NONE";
    // Sent by the name-entry box (to this module and to "GameLogic") with
    // the typed name.
    static constexpr const char* kUpdateScoreList = "Update Score List";
    static constexpr const char* kParamName = "name";

    // Factory kinds of CreateInterfaceObject; each equals the widget's type
    // number except NumberCounter's (type 6).
    enum WidgetKind : int {
        kButton = 0,
        kTextBox = 1,
        kMiniMap = 3,
        kCrosshair = 4,
        kConsole = 6,
        kSliderBar = 7,
        kStatusBar = 9,
        kNumberCounter = 11,
        kPlayerTookDamageIndicator = 12,
        kRadioButton = 14,
        kControlsButton = 17,
    };

    InterfaceManager() : Module<InterfaceManager>("InterfaceManager") {}

    // Registers the client, builds the empty screen 1 and makes the hidden
    // console; nextObjectId starts at 0.
    void Init() override;
    // The frame's walk: mouse to pixels, this module's events, then the hit
    // test and Activate of every registered widget, then the removals.
    void Update() override;
    // Deletes the console (and nulls `console`) and every registered
    // widget, unregisters the client. A second Kill does nothing.
    void Kill() override;

    // One message addressed to "InterfaceManager" (interface_manager/
    // event_handling.cpp). Every parameter is read before anything changes,
    // so a message that lacks one (the dispatch drops it with a warning)
    // leaves nothing half done.
    void ProcessEvent(const Event& event) override;

    // Builds one screen: selectedName "NONE", every registered widget
    // deleted, text input off, previousState = currentState, currentState =
    // `screen`; then the screen's own widgets (interface_manager/screens.h).
    // A screen without widgets (1, 9, 12 or any unknown number) stays empty.
    void BuildInterface(InterfaceState::Type screen);

    // A new widget of factory kind `kind` at `position`, with id
    // nextObjectId; nextObjectId rises by 100 whatever happens. The caller
    // owns the widget until AddInterfaceObject. A kind without a widget
    // class gives null and a warning.
    InterfaceObject* CreateInterfaceObject(int kind, const Vector& position);
    // Takes ownership in every case: registers the widget under its name,
    // or, when that name is taken (or the widget is null), deletes it and
    // returns false. The caller never touches the pointer afterwards.
    bool AddInterfaceObject(InterfaceObject* widget);
    // Deletes the registered widget of that name; logs "Object already
    // deleted/Does not exist" when there is none.
    void DeleteInterfaceObject(std::string name);
    // Deletes every registered widget: a new screen begins. The widgets
    // registered from now on answer only presses of the left button that the
    // input module's polls first see after this call.
    void ClearInterfaceObjects();
    // The mouse test of one widget and, in order, its children, with the
    // mouse in window pixels (bounds inclusive). Under the mouse: clicked =
    // `click` (a click also selects the widget by name and empties the text
    // buffer), hover set, held = `held`; elsewhere all three cleared. True
    // when the widget or any child is clicked.
    bool HitTest(InterfaceObject* widget, const Vector& mouse, bool click, bool held);

    // Lights the hit indicators of the head-up display for a hit travelling
    // along `direction` (world space), as seen through the camera: the
    // wedge of the side it came from fully, a neighbouring one partly
    // (hit_indicator.h). Nothing without a "player" or for a hit straight
    // from above or below. Reads the player and the camera under the object
    // lock: the caller's hold when it has one (the hit handling does), or
    // taken here.
    void ShowHitIndicator(Vector direction);
    // "Enemy Hit": the registered "crosshair", if any, shows its hit look.
    void ShowEnemyHit();

    // The display text of an input key code: names for Escape, the arrows,
    // Shift, Ctrl, the mouse buttons, Space and Enter; otherwise the one
    // character of the code's low byte.
    static std::string GetKeyName(int keyCode);

    // The settings file (interface_manager/settings_file.h). LoadSettings sets
    // the key bindings and volumes from it, once at start-up. SaveSettings
    // writes every value in force; a handler that has just sent "Music
    // Volume" or "Sound Volume" passes the percentages it sent (the sound
    // module takes them in only at its next update), -1 for one not sent.
    void LoadSettings();
    void SaveSettings(int sentMusicPercent = -1, int sentSoundPercent = -1);

    // The widget clicked last; "NONE" after a screen build or a click on nothing.
    std::string selectedName;
    // The screen now shown and the one before it; the sound module and the
    // renderer read them.
    InterfaceState::Type currentState = InterfaceState::Blank;
    InterfaceState::Type previousState = InterfaceState::Blank;
    // Set while a key-binding button waits for a key: one capture at a time.
    bool keyCapture = false;
    bool restartPending = false;
    std::string waveCountText;
    // The id of the next widget made; +100 per widget, never reset after Init.
    int nextObjectId = 0;

    // The high-score table, read from (or made in) the profile's score file
    // when the module is constructed. Main thread only.
    ScoreList scoreList;

private:
    // The mouse in interface pixels: ((x + 1) * (W / 2), (y + 1) * (H / 2)),
    // integer halves of the window size.
    static Vector MouseInPixels();
    // Step 4 of Update: hit test and Activate of each widget in order; the
    // names of the widgets that wait for removal are returned.
    std::vector<std::string> WalkWidgets(const Vector& mouse, bool click, bool held);

    bool initialised = false;
    // The input poll before the last ClearInterfaceObjects, which also drops
    // the presses seen until then.
    unsigned screenBuiltAtPoll = 0;
};
