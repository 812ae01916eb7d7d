#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

namespace test_support {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quell_test_XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
    path = buffer.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void TempFolder::WriteFile(const std::string& relative, const std::string& content) const {
    const std::filesystem::path file = std::filesystem::path(path) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

SavedVariable::SavedVariable(std::string variable) : name(std::move(variable)) {
    if (const char* current = std::getenv(name.c_str())) {
        wasSet = true;
        value = current;
    }
}

SavedVariable::~SavedVariable() {
    if (wasSet) {
        setenv(name.c_str(), value.c_str(), 1);
    } else {
        unsetenv(name.c_str());
    }
}

TempProfile::TempProfile() { setenv("UserProfile", Path().c_str(), 1); }

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace test_support
