// Numbers read from text (pattern, level and registry files, which are
// untrusted). Every reader says whether the whole text was a well-formed
// value, so the caller can log an error naming its file; none of them throws,
// and none yields a value that is not finite or out of its type's range.
#pragma once

#include <string>

// Reads up to maxCount comma-separated numbers ("%f,%f,..." style: blanks
// before a number are skipped) into out[0..], stopping at the first item that
// is missing or not a finite float; the entries not read are left alone.
// Returns how many were read. wellFormed (optional) is set to whether the
// text held 1..maxCount numbers and nothing else but trailing blanks.
int ReadFloatList(const std::string& text, float* out, int maxCount, bool* wellFormed = nullptr);

// One finite float; false (out unchanged) when the text is anything else.
bool ParseFloatText(const std::string& text, float& out);
// One decimal integer in int range; false (out unchanged) otherwise.
bool ParseIntText(const std::string& text, int& out);
// The C library's atoi, defined for every text: leading blanks, a sign and
// the digits up to the first other character; 0 when there are none. A
// number beyond int range gives the nearest int limit.
int StringToInt(const std::string& text);
// A decimal number truncated toward zero; false when it is not finite or
// outside int range.
bool ParseTruncatedIntText(const std::string& text, int& out);

// Truncation toward zero that is defined for every input: values beyond int
// range clamp to it, not-a-number gives 0.
int TruncateToInt(double value);
