#include "xml_file/text_numbers.h"

#include <cctype>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

bool OnlyBlanksFrom(const char* p) {
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    return *p == '\0';
}

// A finite double that fits a float, read at p; end is set past it.
bool ReadOneFloat(const char* p, const char** end, float& out) {
    char* stop = nullptr;
    double value = std::strtod(p, &stop);
    *end = stop;
    if (stop == p || !std::isfinite(value) || std::fabs(value) > FLT_MAX) return false;
    out = static_cast<float>(value);
    return true;
}

}  // namespace

int ReadFloatList(const std::string& text, float* out, int maxCount, bool* wellFormed) {
    const char* p = text.c_str();
    int count = 0;
    bool clean = maxCount > 0;
    while (count < maxCount) {
        const char* end = p;
        float value = 0.0f;
        if (!ReadOneFloat(p, &end, value)) {
            clean = false;
            break;
        }
        out[count++] = value;
        p = end;
        if (count == maxCount || *p != ',') break;
        ++p;
    }
    if (wellFormed) *wellFormed = clean && OnlyBlanksFrom(p);
    return count;
}

bool ParseFloatText(const std::string& text, float& out) {
    float value = 0.0f;
    bool clean = false;
    if (ReadFloatList(text, &value, 1, &clean) != 1 || !clean) return false;
    out = value;
    return true;
}

bool ParseIntText(const std::string& text, int& out) {
    const char* p = text.c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || value < INT_MIN || value > INT_MAX || !OnlyBlanksFrom(end))
        return false;
    out = static_cast<int>(value);
    return true;
}

int StringToInt(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);  // clamps to long's range itself
    if (value < INT_MIN) return INT_MIN;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

bool ParseTruncatedIntText(const std::string& text, int& out) {
    const char* p = text.c_str();
    char* end = nullptr;
    double value = std::strtod(p, &end);
    if (end == p || !std::isfinite(value) || !OnlyBlanksFrom(end)) return false;
    double truncated = std::trunc(value);
    if (truncated < INT_MIN || truncated > INT_MAX) return false;
    out = static_cast<int>(truncated);
    return true;
}

int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(value);
}
