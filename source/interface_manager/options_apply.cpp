// "Options Apply", the screen-mode toggles and "Controls Ok": the options and
// key-binding screens put into force and saved.
#include <cmath>
#include <string>

#include "event_manager.h"
#include "game_logic/addressees.h"
#include "interface/choice_widgets.h"
#include "interface/slider_bar.h"
#include "interface_manager.h"
#include "interface_manager/message_handlers.h"
#include "interface_manager/resolution_text.h"
#include "interface_manager/screens.h"
#include "object_manager.h"
#include "sound_manager.h"
#include "system.h"

namespace {

using screens::kMouseSlider;
using screens::kMusicSlider;
using screens::kResolutionSelector;
using screens::kScreenChoice;
using screens::kSoundSlider;

// The registered widget of that name when it is of that class, else null.
template <class Widget>
Widget* Registered(const char* name) {
    return dynamic_cast<Widget*>(Module<ObjectManager>::Instance()->interObjList.Find(name));
}

// The percent a registered slider asks for when it differs from the volume
// in force; -1 when there is no such slider or nothing would change.
int ChangedPercent(const char* sliderName, int volumeInForce) {
    const SliderBar* slider = Registered<SliderBar>(sliderName);
    if (!slider) return -1;
    const int percent = message_handlers::SliderPercent(slider->value);
    return percent >= 0 && percent != message_handlers::VolumePercent(volumeInForce) ? percent : -1;
}

void SendVolume(const char* message, int percent) {
    Event volume(addressee::kInterfaceManager, addressee::kSoundManager, message);
    volume.SetParam(SoundManager::kVolumeParam, percent);
    Module<EventManager>::Instance()->PublishEvent(volume);
}

// The screen mode the options screen asks for, starting from the one in force.
struct ModeChoice {
    bool fullScreen;
    int width, height;
    std::string size;  // the picked size's text; "" when none was picked (the size in force is kept)
};

ModeChoice ChosenMode() {
    const System& system = *Module<System>::Instance();
    ModeChoice mode{system.fullScreen, system.width, system.height, std::string()};
    if (const RadioButton* choice = Registered<RadioButton>(kScreenChoice))
        mode.fullScreen = !choice->IsOptionSelected();
    if (const ResolutionSelector* selector = Registered<ResolutionSelector>(kResolutionSelector)) mode.size = selector->selection;
    ParseResolution(mode.size, mode.width, mode.height);
    return mode;
}

}  // namespace

namespace message_handlers {

int VolumePercent(int volume) { return int(std::lround(double(volume) * 100.0 / 255.0)); }

int SliderPercent(float value) { return std::isfinite(value) ? int(std::lround(value)) : -1; }

void ApplyOptions(InterfaceManager& ui) {
    System& system = *Module<System>::Instance();
    const SoundManager& sound = *Module<SoundManager>::Instance();
    const int musicPercent = ChangedPercent(kMusicSlider, sound.musicVolume);
    const int soundPercent = ChangedPercent(kSoundSlider, sound.soundVolume);
    if (soundPercent >= 0) SendVolume(SoundManager::kSoundVolume, soundPercent);
    if (musicPercent >= 0) SendVolume(SoundManager::kMusicVolume, musicPercent);
    const ModeChoice mode = ChosenMode();
    system.Log("selected = " + mode.size);
    // With no size picked the caption shows the size in force: "On" or
    // "Off" alone must still change the mode.
    const bool differs =
        mode.width != system.width || mode.height != system.height || mode.fullScreen != system.fullScreen;
    if (differs) {
        system.ChangeResolution(mode.width, mode.height, mode.fullScreen);
        ui.BuildInterface(ui.currentState);
    }
    // The sound module takes the sent volumes in at its next update.
    ui.SaveSettings(musicPercent, soundPercent);
}

void ReplaceResolutionSelector(InterfaceManager& ui, bool windowed) {
    ui.DeleteInterfaceObject(kResolutionSelector);
    screens::AddResolutionSelector(ui, windowed);
}

void ApplyControls(InterfaceManager& ui) {
    if (const SliderBar* slider = Registered<SliderBar>(kMouseSlider))
        Module<System>::Instance()->mouseSensitivity = slider->value;
    ui.SaveSettings();
}

}  // namespace message_handlers
