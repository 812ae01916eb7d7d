#include "support/own_pictures.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>

namespace test_support {

namespace {

namespace fs = std::filesystem;

std::string Be32(uint32_t value) { return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)}; }

std::string Chunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    return Be32(uint32_t(data.size())) + body +
           Be32(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

bool Within(const fs::path& path, const fs::path& folder) {
    auto [end, unused] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    (void)unused;
    return end == folder.end();
}

void LinkFolder(const fs::path& from, const fs::path& to, const fs::path& here, const std::vector<fs::path>& skipped) {
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        const fs::path relative = here / entry.path().filename();
        const bool left = std::find(skipped.begin(), skipped.end(), relative) != skipped.end();
        const bool onTheWay = std::any_of(skipped.begin(), skipped.end(), [&](const fs::path& s) { return Within(s, relative); });
        if (left) continue;
        if (!onTheWay) {
            fs::create_symlink(entry.path(), to / relative);
            continue;
        }
        fs::create_directory(to / relative);
        LinkFolder(entry.path(), to, relative, skipped);
    }
}

}  // namespace

std::string QuadrantPng(unsigned width, unsigned height, const uint32_t (&quadrants)[4]) {
    std::string rows;
    for (unsigned y = 0; y < height; ++y) {
        rows += '\0';  // no filter
        for (unsigned x = 0; x < width; ++x) {
            const uint32_t c = quadrants[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            rows += {char(c), char(c >> 8), char(c >> 16), char(c >> 24)};
        }
    }
    uLongf size = compressBound(uLong(rows.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(rows.data()), uLong(rows.size()));
    packed.resize(size);
    const std::string header = Be32(width) + Be32(height) + std::string{8, 6, 0, 0, 0};  // 8-bit RGBA
    return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header) + Chunk("IDAT", packed) + Chunk("IEND", "");
}

void LinkTreeExcept(const std::string& from, const std::string& to, const std::vector<std::string>& skipped) {
    LinkFolder(from, to, fs::path(), std::vector<fs::path>(skipped.begin(), skipped.end()));
}

RunFolderWith::RunFolderWith(const std::string& runFolder, const std::map<std::string, std::string>& files) {
    std::vector<std::string> replaced;
    for (const auto& file : files) replaced.push_back(file.first);
    LinkTreeExcept(runFolder, Path(), replaced);
    for (const auto& [relative, bytes] : files) WriteFile(relative, bytes);
}

WorkingIn::WorkingIn(const std::string& folder) : home(fs::current_path().string()) { fs::current_path(folder); }

WorkingIn::~WorkingIn() {
    std::error_code ignored;
    fs::current_path(home, ignored);
}

}  // namespace test_support
