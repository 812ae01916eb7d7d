// The per-user profile folder "The Quellbrand", where the settings file, the
// score file and the error logs live. Its parent comes from the environment
// variable "UserProfile"; where that is unset (as on Linux) from HOME, and
// failing both, from the user database. Paths are native ("/"-separated).
//
// Any thread may call these; they read the environment on every call, so a
// test can point them at a temporary folder with setenv("UserProfile", ...).
#pragma once

#include <string>

namespace platform {

constexpr const char* kProfileFolderName = "The Quellbrand";

// The folder that holds the profile folder (without the game's folder);
// empty when neither the environment nor the user database names one.
std::string GetUserProfile();

// GetUserProfile() + "/" + kProfileFolderName; empty with no user profile.
std::string ProfileFolder();

// A file inside the profile folder, such as "settings.xml" or "score.bin";
// empty with no user profile.
std::string ProfileFilePath(const std::string& fileName);

// Whether path names an existing folder.
bool IsFolder(const std::string& path);

// Makes the folder `name` inside the existing folder `parent`, and nothing
// else: never a missing parent or a chain of them. True when the folder
// exists afterwards; never throws.
bool MakeFolderIn(const std::string& parent, const std::string& name);

}  // namespace platform
