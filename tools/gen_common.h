// Shared by the generator steps: where generated files go.
#pragma once

#include <string>

// runDir + "/" + relative, after making its parent folders; empty (with a
// message on standard error) when a folder cannot be made.
std::string OutputPath(const std::string& runDir, const std::string& relative);
