// The interface module's settings operations; the work is in settings_file.cpp.
#include "interface_manager.h"
#include "interface_manager/settings_file.h"

void InterfaceManager::LoadSettings() { LoadSettingsIntoModules(); }

void InterfaceManager::SaveSettings(int sentMusicPercent, int sentSoundPercent) {
    SaveModuleSettings(sentMusicPercent, sentSoundPercent);
}
