// Tests that read colours back from the screen never depend on the game's
// art: they run on a copy of the run folder made of links, in which their
// own flat pictures stand in for the real picture files.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace test_support {

// The bytes of an opaque 8-bit RGBA PNG, width x height, in four flat
// quadrants (each colour RGBA with red in the low byte): top left, top
// right, bottom left, bottom right.
std::string QuadrantPng(unsigned width, unsigned height, const uint32_t (&quadrants)[4]);

// Fills `to` with links to everything in `from`, except the listed paths
// (relative to `from`): the folders on their way become real folders, the
// paths themselves are left out.
void LinkTreeExcept(const std::string& from, const std::string& to, const std::vector<std::string>& skipped);

// A temporary run folder: links to the real one, `runFolder`, with the
// given files (relative path -> bytes) in place of the real ones.
class RunFolderWith : public TempFolder {
public:
    RunFolderWith(const std::string& runFolder, const std::map<std::string, std::string>& files);
};

// Makes `folder` the working folder while it lives, then goes back.
class WorkingIn {
public:
    explicit WorkingIn(const std::string& folder);
    ~WorkingIn();
    WorkingIn(const WorkingIn&) = delete;
    WorkingIn& operator=(const WorkingIn&) = delete;

private:
    std::string home;
};

}  // namespace test_support
