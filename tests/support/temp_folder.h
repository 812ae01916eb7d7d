// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes; the same standing in as the user's
// profile folder; and an environment variable put back as it was.
#pragma once

#include <string>

namespace test_support {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();

    const std::string& Path() const { return path; }
    // Writes `content` to Path()/relative, making the folders on the way.
    void WriteFile(const std::string& relative, const std::string& content) const;

    // One owner removes the folder.
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

private:
    std::string path;
};

// Remembers an environment variable's value, or that it was unset, and puts
// that back when the object goes, whatever the test set meanwhile.
class SavedVariable {
public:
    explicit SavedVariable(std::string name);
    ~SavedVariable();
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    std::string name;
    bool wasSet = false;
    std::string value;
};

// A TempFolder that is the user-profile folder ("UserProfile") while it
// lives, so that settings and error-log files never reach the real one.
class TempProfile : public TempFolder {
public:
    TempProfile();

private:
    SavedVariable saved{"UserProfile"};
};

// Reads a whole file; empty when it cannot be opened.
std::string ReadFile(const std::string& path);

}  // namespace test_support
