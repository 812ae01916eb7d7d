#include "interface_manager/settings_file.h"

#include <vector>

#include <tinyxml.h>

#include "input_manager.h"
#include "platform/atomic_file.h"
#include "platform/profile.h"
#include "sound_manager.h"
#include "system.h"
#include "system/settings_entries.h"
#include "system/source_position.h"

namespace {

constexpr const char* kFileComment = "Settings and Controls for The Quellbrand";
const int kMaxVolume = 255;

enum class ValueKind { KeyCode, Volume };

// The values this reader takes back, in the file's order; the three screen
// values follow them in the file.
struct StoredValue {
    const char* id;
    int SettingsValues::*field;
    ValueKind kind;
};

const StoredValue kStoredValues[] = {
    {"forward", &SettingsValues::forward, ValueKind::KeyCode},
    {"back", &SettingsValues::back, ValueKind::KeyCode},
    {"left", &SettingsValues::left, ValueKind::KeyCode},
    {"right", &SettingsValues::right, ValueKind::KeyCode},
    {"dash", &SettingsValues::dash, ValueKind::KeyCode},
    {"jump", &SettingsValues::jump, ValueKind::KeyCode},
    {"laser", &SettingsValues::laser, ValueKind::KeyCode},
    {"missile", &SettingsValues::missile, ValueKind::KeyCode},
    {"music_volume", &SettingsValues::musicVolume, ValueKind::Volume},
    {"sound_volume", &SettingsValues::soundVolume, ValueKind::Volume},
};

const StoredValue* FindStoredValue(const std::string& id) {
    for (const StoredValue& stored : kStoredValues) {
        if (id == stored.id) return &stored;
    }
    return nullptr;
}

// Names what is wrong with a value, or nothing when it can be used.
const char* Fault(ValueKind kind, int value) {
    if (kind == ValueKind::Volume) return value >= 0 && value <= kMaxVolume ? nullptr : "a volume outside 0..255";
    return InputManager::IsBindableKey(value) ? nullptr : "a key code that no key or mouse button gives";
}

void ReadValue(System& system, const std::string& path, const SettingEntry& entry, const StoredValue& stored,
               SettingsValues& values) {
    int value = 0;
    const char* fault = "not a decimal integer";
    if (ReadSettingKey(entry, value)) fault = Fault(stored.kind, value);
    if (fault) {
        system.Warning(SOURCE_POS + path + ": " + entry.id + " = \"" + entry.keyText + "\" is " + fault +
                       "; the value in force is kept");
        return;
    }
    values.*stored.field = value;
}

void AddSetting(TiXmlElement& root, const char* id, int value) {
    TiXmlElement* setting = new TiXmlElement(kSettingElement);
    setting->SetAttribute(kSettingIdAttribute, id);
    setting->SetAttribute(kSettingKeyAttribute, value);
    root.LinkEndChild(setting);
}

}  // namespace

SettingsValues CurrentSettings(const InputManager& input, const SoundManager& sound, const System& system) {
    SettingsValues values;
    values.forward = input.forward;
    values.back = input.back;
    values.left = input.left;
    values.right = input.right;
    values.dash = input.dash;
    values.jump = input.jump;
    values.laser = input.laser;
    values.missile = input.missile;
    values.musicVolume = sound.musicVolume;
    values.soundVolume = sound.soundVolume;
    values.fullScreen = system.fullScreen;
    values.screenWidth = system.width;
    values.screenHeight = system.height;
    return values;
}

void ApplySentVolumes(SettingsValues& values, int sentMusicPercent, int sentSoundPercent) {
    if (sentMusicPercent >= 0) values.musicVolume = SoundManager::VolumeFromPercent(sentMusicPercent);
    if (sentSoundPercent >= 0) values.soundVolume = SoundManager::VolumeFromPercent(sentSoundPercent);
}

std::string SettingsFileText(const SettingsValues& values) {
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "", "no"));
    document.LinkEndChild(new TiXmlComment(kFileComment));
    TiXmlElement* root = new TiXmlElement(kSettingsRoot);
    document.LinkEndChild(root);
    for (const StoredValue& stored : kStoredValues) AddSetting(*root, stored.id, values.*stored.field);
    AddSetting(*root, kFullScreenSetting, values.fullScreen ? 1 : 0);
    AddSetting(*root, kScreenWidthSetting, values.screenWidth);
    AddSetting(*root, kScreenHeightSetting, values.screenHeight);
    TiXmlPrinter printer;
    document.Accept(&printer);
    return printer.Str();
}

bool SaveSettingsFile(System& system, const SettingsValues& values) {
    system.Log("SAVING");
    const std::string path = platform::ProfileFilePath(System::kSettingsFile);
    system.Log("profileDir = " + path);
    const std::string folder = platform::ProfileFolder();
    if (folder.empty() || !platform::IsFolder(folder)) {
        const std::string missing =
            folder.empty() ? std::string("no user profile folder is known") : "there is no folder " + folder;
        system.Warning(SOURCE_POS + missing + "; the settings are not saved");
        return false;
    }
    std::string reason;
    if (!platform::WriteFileAtomically(path, SettingsFileText(values), reason)) {
        system.Error(SOURCE_POS + "the settings were not saved to " + path + ": " + reason);
        return false;
    }
    return true;
}

bool ReadSettingsFile(System& system, const std::string& path, SettingsValues& values) {
    std::vector<SettingEntry> entries;
    if (!ReadSettingEntries(system, path, entries)) return false;
    for (const SettingEntry& entry : entries) {
        // Other IDs, the screen values among them, belong to other readers.
        if (const StoredValue* stored = FindStoredValue(entry.id)) ReadValue(system, path, entry, *stored, values);
    }
    return true;
}

void ApplySettings(const SettingsValues& values, InputManager& input, SoundManager& sound) {
    input.forward = values.forward;
    input.back = values.back;
    input.left = values.left;
    input.right = values.right;
    input.dash = values.dash;
    input.jump = values.jump;
    input.laser = values.laser;
    input.missile = values.missile;
    sound.musicVolume = values.musicVolume;
    sound.soundVolume = values.soundVolume;
}

void LoadSettingsIntoModules() {
    System& system = *Module<System>::Instance();
    InputManager& input = *Module<InputManager>::Instance();
    SoundManager& sound = *Module<SoundManager>::Instance();
    SettingsValues values = CurrentSettings(input, sound, system);
    if (ReadSettingsFile(system, platform::ProfileFilePath(System::kSettingsFile), values))
        ApplySettings(values, input, sound);
}

void SaveModuleSettings(int sentMusicPercent, int sentSoundPercent) {
    System& system = *Module<System>::Instance();
    SettingsValues values =
        CurrentSettings(*Module<InputManager>::Instance(), *Module<SoundManager>::Instance(), system);
    ApplySentVolumes(values, sentMusicPercent, sentSoundPercent);
    SaveSettingsFile(system, values);
}
