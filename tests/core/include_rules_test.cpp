// The layers under the game stay under it: math and the platform layers never
// include a game header, so they can be built and tested on their own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

// Every quoted include in the files below `folder` that reaches outside math
// and the platform layers, as "file: include" lines.
std::string IncludesLeaving(const std::string& folder) {
    static const std::regex quotedInclude(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::string offenders;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(QUELL_SOURCE_DIR) / "source" / folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(in, line)) {
            if (!std::regex_search(line, match, quotedInclude)) continue;
            const std::string target = match[1];
            if (target.rfind("geom/", 0) == 0 || target.rfind("platform/", 0) == 0) continue;
            offenders += entry.path().filename().string() + ": " + target + "\n";
        }
    }
    return offenders;
}

}  // namespace

TEST(IncludeRules, MathAndPlatformIncludeNothingOfTheGame) {
    EXPECT_EQ("", IncludesLeaving("geom"));
    EXPECT_EQ("", IncludesLeaving("platform"));
}
