#include "system/settings_entries.h"

#include <filesystem>

#include <tinyxml.h>

#include "system.h"
#include "xml_file.h"
#include "xml_file/text_numbers.h"

bool ReadSettingEntries(System& system, const std::string& path, std::vector<SettingEntry>& entries) {
    entries.clear();
    TiXmlDocument document;
    std::string reason;
    if (!LoadXmlFile(document, path, reason)) {
        system.Log("Failed to load settings file");
        // A first run has no file; one that exists but cannot be read is worth
        // a reason, since the player's settings are then replaced by defaults.
        std::error_code error;
        if (std::filesystem::exists(path, error)) system.Warning(path + ": " + reason + "; the defaults are used");
        return false;
    }
    const TiXmlElement* root = document.FirstChildElement();
    if (!root || root->ValueStr() != kSettingsRoot) {
        system.Log("Invalid XML file");
        return false;
    }
    for (const TiXmlElement* setting = root->FirstChildElement(kSettingElement); setting;
         setting = setting->NextSiblingElement(kSettingElement)) {
        const char* id = setting->Attribute(kSettingIdAttribute);
        const char* key = setting->Attribute(kSettingKeyAttribute);
        if (id && key) entries.push_back(SettingEntry{id, key});
    }
    return true;
}

bool ReadSettingKey(const SettingEntry& entry, int& key) { return ParseIntText(entry.keyText, key); }
