// The source prefix that begins most error messages: the reporting file's path
// after the folder "source/", ":", the line number and a blank.
#pragma once

#include <string>

std::string SourcePosition(const char* file, int line);

#define SOURCE_POS SourcePosition(__FILE__, __LINE__)
