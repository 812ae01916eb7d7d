// LoadXmlFile: reads one of the game's XML content files (registry, pattern
// list, patterns, levels) into a TinyXML document without trusting it.
//
// TinyXML parses nested elements by recursion and reads whole files into
// memory, so a hostile file could exhaust the stack or the heap: files past
// kMaxXmlFileBytes or nested deeper than kMaxXmlDepth are refused before
// parsing. Any thread; no shared state; never logs (the caller names the
// file in its own message).
#pragma once

#include <cstddef>
#include <string>

class TiXmlDocument;

const size_t kMaxXmlFileBytes = size_t(16) << 20;
const int kMaxXmlDepth = 256;

// True when the file was read and parsed; otherwise false with a short reason
// (for the log line) and the document left empty or partly filled.
bool LoadXmlFile(TiXmlDocument& document, const std::string& path, std::string& reason);

// The deepest element nesting in text, counted the way a parser would nest
// (comments, CDATA, declarations and quoted attribute values skipped).
// Stops counting once limit is passed and returns a value above it.
int XmlNestingDepth(const std::string& text, int limit);
