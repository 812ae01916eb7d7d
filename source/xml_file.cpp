#include "xml_file.h"

#include <tinyxml.h>

#include "platform/file_bytes.h"

namespace {

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

bool LoadXmlFile(TiXmlDocument& document, const std::string& path, std::string& reason) {
    std::string text;
    if (!platform::ReadFileBytes(path, kMaxXmlFileBytes, text, reason)) return false;
    if (!CheckXmlEncoding(text, reason)) return false;
    NormaliseLineEnds(text);
    if (!CheckXmlStructure(text, kMaxXmlDepth, reason)) return false;
    document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    if (!document.Error()) return true;
    reason = "line " + std::to_string(document.ErrorRow()) + ": " + document.ErrorDesc();
    return false;
}
