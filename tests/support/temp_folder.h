// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
#pragma once

#include <string>

namespace test_support {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }
    // Writes `content` to Path()/relative, making the folders on the way.
    void WriteFile(const std::string& relative, const std::string& content) const;

private:
    std::string path;
};

// Reads a whole file; empty when it cannot be opened.
std::string ReadFile(const std::string& path);

}  // namespace test_support
