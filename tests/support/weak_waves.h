// Test content for a bounded run of the real game: the waves' machines have
// one hit point, stand still, do no harm and are wide enough that a row of
// them leaves no gap for a shot; the level scripts set the spawn points in a
// row in front of the player; level 2 starts a few steps to the right of its
// goal and level 3 inside its arena. Laid out by a test or benchmark over a copy of the run
// folder (RunFolderWith); the game's own content stays as it is.
#pragma once

#include <map>
#include <string>

namespace test_support {

// Relative path -> bytes, for RunFolderWith, made from the files of `runFolder`.
std::map<std::string, std::string> WeakWaves(const std::string& runFolder);

}  // namespace test_support
