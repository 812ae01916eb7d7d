// The contact sheet: one picture of every texture the registry names, each
// drawn small over a checkerboard (so that transparency shows) and labelled
// with its registry name and size, in the order the game loads them
// (start-up categories, "all", then the levels'). Written by the build into
// its own folder, beside the run folder, for anyone to judge the look at a
// glance; the game never reads it.
#pragma once

#include <string>

// Reads "<runDir>/resource/registry.xml" and the pictures it names; false
// (with a message) when the registry cannot be read or the sheet written.
bool WriteContactSheet(const std::string& runDir, const std::string& sheetPath);
