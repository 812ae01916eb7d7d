// The settings file "settings.xml" in the profile folder, as its two readers
// see it: the System at start-up takes the screen mode from it, the interface
// the key bindings and the volumes. The file is a root element "Settings"
// holding "Setting" elements, each naming its value in "ID" and giving it as
// a decimal integer in "key"; the interface writes it.
// Any thread; no shared state. Logs through the System it is given.
#pragma once

#include <string>
#include <vector>

class System;

// The element and attribute names of the file, and the IDs of the three
// screen values (the interface's IDs are its own).
constexpr const char* kSettingsRoot = "Settings";
constexpr const char* kSettingElement = "Setting";
constexpr const char* kSettingIdAttribute = "ID";
constexpr const char* kSettingKeyAttribute = "key";
constexpr const char* kFullScreenSetting = "full_screen";
constexpr const char* kScreenWidthSetting = "screen_width";
constexpr const char* kScreenHeightSetting = "screen_height";

// One "Setting" element that has both its attributes, as written.
struct SettingEntry {
    std::string id;
    std::string keyText;
};

// The Setting elements of the file at path, in document order; elements of
// another name and Settings without "ID" or "key" are left out. When the
// file cannot be read or parsed, logs "Failed to load settings file" (and,
// when the file exists, a warning naming it and the reason: the player's
// settings are then lost for this run); when its first element is not
// "Settings", logs "Invalid XML file". Both return false with no entries.
bool ReadSettingEntries(System& system, const std::string& path, std::vector<SettingEntry>& entries);

// The entry's key as an int: false (key unchanged) unless the text is one
// decimal integer in int range.
bool ReadSettingKey(const SettingEntry& entry, int& key);
