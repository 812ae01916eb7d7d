#include "xml_file.h"

#include <algorithm>
#include <fstream>

#include <tinyxml.h>

namespace {

// Position just past the first `terminator` at or after from; npos if none.
size_t SkipPast(const std::string& text, size_t from, const char* terminator) {
    const size_t at = text.find(terminator, from);
    return at == std::string::npos ? at : at + std::char_traits<char>::length(terminator);
}

// Position of the '>' closing the tag that starts at from, honouring quotes.
size_t TagEnd(const std::string& text, size_t from) {
    char quote = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return std::string::npos;
}

bool ReadWholeFile(const std::string& path, std::string& text, std::string& reason) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        reason = "cannot open it";
        return false;
    }
    const std::streamoff size = file.tellg();
    if (size < 0 || size_t(size) > kMaxXmlFileBytes) {
        reason = "larger than " + std::to_string(kMaxXmlFileBytes) + " bytes";
        return false;
    }
    text.resize(size_t(size));
    file.seekg(0);
    if (size > 0 && !file.read(&text[0], size)) {
        reason = "read failed";
        return false;
    }
    return true;
}

// TinyXML's own file loader turns CR LF into LF before parsing; Parse alone
// does not, and row numbers in its messages would drift.
void NormaliseLineEnds(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    text.swap(out);
}

}  // namespace

int XmlNestingDepth(const std::string& text, int limit) {
    int depth = 0, deepest = 0;
    size_t at = text.find('<');
    while (at != std::string::npos && deepest <= limit) {
        size_t next;
        if (text.compare(at, 4, "<!--") == 0) {
            next = SkipPast(text, at + 4, "-->");
        } else if (text.compare(at, 9, "<![CDATA[") == 0) {
            next = SkipPast(text, at + 9, "]]>");
        } else if (text.compare(at, 2, "<?") == 0 || text.compare(at, 2, "<!") == 0) {
            next = SkipPast(text, at + 2, ">");
        } else if (text.compare(at, 2, "</") == 0) {
            --depth;
            next = SkipPast(text, at + 2, ">");
        } else {
            const size_t end = TagEnd(text, at + 1);
            if (end == std::string::npos) break;
            if (text[end - 1] != '/') deepest = std::max(deepest, ++depth);
            next = end + 1;
        }
        if (next == std::string::npos) break;
        at = text.find('<', next);
    }
    return deepest;
}

bool LoadXmlFile(TiXmlDocument& document, const std::string& path, std::string& reason) {
    std::string text;
    if (!ReadWholeFile(path, text, reason)) return false;
    if (XmlNestingDepth(text, kMaxXmlDepth) > kMaxXmlDepth) {
        reason = "elements nested deeper than " + std::to_string(kMaxXmlDepth);
        return false;
    }
    NormaliseLineEnds(text);
    document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    if (!document.Error()) return true;
    reason = "line " + std::to_string(document.ErrorRow()) + ": " + document.ErrorDesc();
    return false;
}
