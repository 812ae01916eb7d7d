// The System's file services: the profile folder, the path text for logs, the
// version text, whole text files and the start-up settings reader.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/profile.h"
#include "system.h"
#include "system/settings_entries.h"

namespace {

// Larger than any display; a bigger size in a settings file is damage.
const int kMaxScreenSize = 16384;

// A screen size that is not positive (or absurdly large) is ignored, so the
// video-mode choice stands instead of a window that cannot open.
void ReadScreenSize(System& system, const SettingEntry& setting, int& size) {
    int key = 0;
    if (!ReadSettingKey(setting, key)) return;
    if (key <= 0 || key > kMaxScreenSize) {
        system.Warning("ignoring screen size " + std::to_string(key) + " in settings file");
        return;
    }
    size = key;
}

void ApplySetting(System& system, const SettingEntry& setting) {
    int key = 0;
    if (setting.id == kFullScreenSetting) {
        if (!ReadSettingKey(setting, key)) return;
        system.fullScreen = key != 0;
        system.Log(std::string("fullScreen = ") + (system.fullScreen ? "1" : "0") + "\n");
    } else if (setting.id == kScreenWidthSetting) {
        ReadScreenSize(system, setting, system.width);
    } else if (setting.id == kScreenHeightSetting) {
        ReadScreenSize(system, setting, system.height);
    }
}

}  // namespace

std::string System::GetUserProfile() const { return platform::GetUserProfile(); }

std::string System::ToWindowsPath(const std::string& path) {
    std::string converted = path;
    for (char& c : converted) {
        if (c == '/') c = '\\';
    }
    return converted;
}

void System::MakeDir(const std::string& name) {
    // The folder command is logged in its traditional form; the folder itself
    // is made through the file system, with native separators.
    const std::string profile = GetUserProfile();
    const std::string shown = profile + ToWindowsPath("/" + name);
    const std::string command = "IF NOT EXIST \"" + shown + "\" MKDIR \"" + shown + "\"";
    if (profile.empty()) {
        Warning("no user profile folder: UserProfile and HOME are unset and the user database names no "
                "home folder; settings, scores and error logs are not kept");
    } else if (!platform::IsFolder(profile)) {
        Warning("the user profile folder " + profile + " does not exist; " + name +
                " is not made, so settings, scores and error logs are not kept");
    } else if (!platform::MakeFolderIn(profile, name)) {
        Warning("could not make the folder " + profile + "/" + name);
    }
    Log("makeDirCommand = " + command + "\n");
}

std::string System::GetVersionString() { return "version 1.01, svn rev 2291"; }

std::string System::ReadTextFile(const std::string& path) const {
    std::error_code error;
    // A folder opens like a file here but throws on the first read.
    if (!std::filesystem::is_regular_file(path, error)) return std::string();
    std::ifstream file(path);
    if (!file) return std::string();
    try {
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        return std::string();
    }
}

void System::LoadSettings() {
    const std::string path = platform::ProfileFilePath(kSettingsFile);
    std::vector<SettingEntry> settings;
    if (!ReadSettingEntries(*this, path, settings)) return;
    const int oldWidth = width, oldHeight = height;
    for (const SettingEntry& setting : settings) ApplySetting(*this, setting);
    // A window larger than the desktop opens slowly, eats memory and cannot
    // be seen whole: refused like any other bad size. (A full-screen mode is
    // judged by SDL when it is set.)
    const bool tooLarge = width > desktopWidth || height > desktopHeight;
    if (!fullScreen && desktopWidth > 0 && desktopHeight > 0 && tooLarge) {
        Warning("ignoring window size " + std::to_string(width) + "x" + std::to_string(height) + " in " +
                path + ": larger than the " + std::to_string(desktopWidth) + "x" +
                std::to_string(desktopHeight) + " desktop");
        width = oldWidth;
        height = oldHeight;
    }
}
