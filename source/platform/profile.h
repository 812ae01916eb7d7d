// The per-user profile folder "The Quellbrand", where the settings file, the
// score file and the error logs live. Its parent comes from the environment
// variable "UserProfile"; where that is unset (as on Linux) from HOME, and
// failing both, the working folder. Paths are native ("/"-separated).
//
// Any thread may call these; they read the environment on every call, so a
// test can point them at a temporary folder with setenv("UserProfile", ...).
#pragma once

#include <string>

namespace platform {

constexpr const char* kProfileFolderName = "The Quellbrand";

// The folder that holds the profile folder (without the game's folder).
std::string GetUserProfile();

// GetUserProfile() + "/" + kProfileFolderName.
std::string ProfileFolder();

// A file inside the profile folder, such as "settings.xml" or "score.bin".
std::string ProfileFilePath(const std::string& fileName);

// Makes the folder and any missing parents, without a shell. True when the
// folder exists afterwards; never throws.
bool MakeFolder(const std::string& path);

}  // namespace platform
