#include "platform/profile.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace platform {
namespace {

const char* NonEmptyEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return (value && *value) ? value : nullptr;
}

// The home folder the user database gives the running user; empty when it
// has none.
std::string HomeFromUserDatabase() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return "";
    return found->pw_dir ? found->pw_dir : "";
}

}  // namespace

std::string GetUserProfile() {
    if (const char* profile = NonEmptyEnvironment("UserProfile")) return profile;
    if (const char* home = NonEmptyEnvironment("HOME")) return home;
    return HomeFromUserDatabase();
}

std::string ProfileFolder() {
    const std::string profile = GetUserProfile();
    return profile.empty() ? profile : profile + "/" + kProfileFolderName;
}

std::string ProfileFilePath(const std::string& fileName) {
    const std::string folder = ProfileFolder();
    return folder.empty() ? folder : folder + "/" + fileName;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

bool MakeFolderIn(const std::string& parent, const std::string& name) {
    if (!IsFolder(parent)) return false;
    const std::string path = parent + "/" + name;
    std::error_code error;
    std::filesystem::create_directory(path, error);
    return IsFolder(path);
}

}  // namespace platform
