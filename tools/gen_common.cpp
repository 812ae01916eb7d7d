#include "gen_common.h"

#include <filesystem>
#include <iostream>
#include <system_error>

std::string OutputPath(const std::string& runDir, const std::string& relative) {
    std::filesystem::path path = std::filesystem::path(runDir) / relative;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        std::cerr << "content_gen: cannot make " << path.parent_path() << ": " << error.message()
                  << std::endl;
        return "";
    }
    return path.string();
}
