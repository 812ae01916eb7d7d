// The player's settings file "settings.xml" in the profile folder: the eight
// key bindings, the two volumes and the screen mode. The interface writes it
// whole when the player confirms the controls or the options, and reads the
// bindings and volumes back once at start-up; the System reads the screen
// mode itself before the window opens (system/settings_entries.h).
//
// A damaged file never costs the player a working key: a key that is not a
// decimal integer, a key code that no key or button produces and a volume
// outside 0..255 each keep the value in force, with a warning naming the
// file, the ID and the text. Saves go to a temporary file renamed over the
// old one, so a failed save leaves the old file whole, and are logged.
//
// Main thread: the values are read from and written to the modules' fields.
#pragma once

#include <string>

class InputManager;
class SoundManager;
class System;

// Everything the file keeps, in the file's order.
struct SettingsValues {
    int forward = 0, back = 0, left = 0, right = 0;  // key codes of the actions
    int dash = 0, jump = 0, laser = 0, missile = 0;
    int musicVolume = 0, soundVolume = 0;  // 0..255
    bool fullScreen = false;
    int screenWidth = 0, screenHeight = 0;
};

// The values in force in the three modules.
SettingsValues CurrentSettings(const InputManager& input, const SoundManager& sound, const System& system);

// The volumes the sound module keeps once it has taken in the "Music Volume"
// and "Sound Volume" percentages just sent to it (at its next update); a
// negative percentage means that volume was not sent.
void ApplySentVolumes(SettingsValues& values, int sentMusicPercent, int sentSoundPercent);

// The whole file: the XML declaration, the comment, and the root holding the
// thirteen Setting elements.
std::string SettingsFileText(const SettingsValues& values);

// Logs "SAVING" and "profileDir = " with the path, then writes the file
// atomically. Without a profile folder nothing is written and a warning says
// so; a failed write logs an error naming the path and the reason, and the
// old file stays. True when the file now holds the values.
bool SaveSettingsFile(System& system, const SettingsValues& values);

// Reads the bindings and volumes of the file at path into values; missing and
// invalid ones (warned) and the screen values are left alone. A later valid
// Setting of the same ID wins. False, values unchanged, when the file cannot
// be used (logged by ReadSettingEntries).
bool ReadSettingsFile(System& system, const std::string& path, SettingsValues& values);

// Sets the eight bindings and the two volumes; the screen values are not
// touched (the running mode changes only through the options screen).
void ApplySettings(const SettingsValues& values, InputManager& input, SoundManager& sound);

// The interface module's LoadSettings and SaveSettings over the modules'
// instances and the profile's settings file.
void LoadSettingsIntoModules();
void SaveModuleSettings(int sentMusicPercent, int sentSoundPercent);
