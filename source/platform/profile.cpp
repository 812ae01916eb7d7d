#include "platform/profile.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

const char* NonEmptyEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return (value && *value) ? value : nullptr;
}

}  // namespace

std::string GetUserProfile() {
    if (const char* profile = NonEmptyEnvironment("UserProfile")) return profile;
    if (const char* home = NonEmptyEnvironment("HOME")) return home;
    return ".";
}

std::string ProfileFolder() { return GetUserProfile() + "/" + kProfileFolderName; }

std::string ProfileFilePath(const std::string& fileName) {
    return ProfileFolder() + "/" + fileName;
}

bool MakeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

}  // namespace platform
