// LoadXmlFile: reads one of the game's XML content files (registry, pattern
// list, patterns, levels) into a TinyXML document without trusting it.
//
// TinyXML 2.6 parses nested elements by recursion, reads whole files into
// memory and, in UTF-8 mode, steps over a multi-byte character without
// looking for the end of the text. So before parsing, a file is refused when
// it is larger than kMaxXmlFileBytes, is not well-formed UTF-8, or does not
// follow TinyXML's grammar with elements nested at most kMaxXmlDepth deep.
// Any thread; no shared state; never logs (the caller names the file in its
// own message).
#pragma once

#include <cstddef>
#include <string>

class TiXmlDocument;

const size_t kMaxXmlFileBytes = size_t(16) << 20;
const int kMaxXmlDepth = 256;

// True when the file was read and parsed; otherwise false with a short reason
// (for the log line) and the document left empty or partly filled.
bool LoadXmlFile(TiXmlDocument& document, const std::string& path, std::string& reason);

// True when text is well-formed UTF-8 (an optional leading byte-order mark)
// with no zero byte and no byte-order mark or U+FFFE/U+FFFF further on;
// otherwise false with the reason.
bool CheckXmlEncoding(const std::string& text, std::string& reason);

// Walks text (already checked by CheckXmlEncoding, line ends as TinyXML sees
// them) the way TinyXML will parse it: declarations, comments, CDATA,
// unknown "<!...>" and "<?...>" nodes, attributes quoted or not, character
// references. False with the reason and line at the first byte it cannot
// place, at a closing tag that does not match, or when elements nest deeper
// than depthLimit. Never recurses.
bool CheckXmlStructure(const std::string& text, int depthLimit, std::string& reason);
