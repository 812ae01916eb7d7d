#include "system/source_position.h"

std::string SourcePosition(const char* file, int line) {
    std::string path = file ? file : "";
    const std::string marker = "source/";
    std::string::size_type at = path.rfind(marker);
    if (at != std::string::npos) path = path.substr(at + marker.size());
    return path + ":" + std::to_string(line) + " ";
}
