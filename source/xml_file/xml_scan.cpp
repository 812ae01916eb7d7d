// The pre-parse check of LoadXmlFile. TinyXML 2.6 recurses once per nested
// element and trusts its text to end where a character says it ends, so a
// guard that merely looks for '<' can be led astray (a quote inside an
// unknown node, a quoted '>' in a declaration, stray closing tags) and let a
// stack-breaking file through. This walk follows TinyXML's own grammar step
// by step, iteratively, and refuses the text at the first byte it cannot
// place; where it accepts, TinyXML nests exactly as deep as it counted.
#include "xml_file.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

// TinyXML's white space (isspace in the C locale).
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// TinyXML takes every byte from 127 up as a letter.
bool IsNameStart(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 127 || IsAsciiLetter(u) || c == '_';
}

bool IsNameChar(char c) {
    return IsNameStart(c) || IsDigit(c) || c == '-' || c == '.' || c == ':';
}

bool SameNoCase(const std::string& text, size_t at, const char* word) {
    const size_t length = std::strlen(word);
    if (text.size() - at < length) return false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[at + i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

// Length of the UTF-8 sequence at text[at], or 0 when it is not well formed
// (overlong forms, surrogates and values past U+10FFFF included).
size_t Utf8SequenceLength(const std::string& text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[at + i]);
        if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF)) return 0;
    }
    return length;
}

// U+FEFF, U+FFFE and U+FFFF: TinyXML skips these as white space in UTF-8
// mode only, so past the leading byte-order mark they would make its reading
// depend on the declared encoding.
bool IsByteOrderMarkLike(const std::string& text, size_t at) {
    if (text[at] != '\xEF') return false;
    return text.compare(at, 3, "\xEF\xBB\xBF") == 0 || text.compare(at, 3, "\xEF\xBF\xBE") == 0 ||
           text.compare(at, 3, "\xEF\xBF\xBF") == 0;
}

class XmlScanner {
public:
    XmlScanner(const std::string& text, int depthLimit) : text(text), depthLimit(depthLimit) {}

    bool Run(std::string& reason) {
        const bool ok = Document();
        if (!ok) reason = "line " + std::to_string(LineAt(at)) + ": " + problem;
        return ok;
    }

private:
    char Peek(size_t ahead = 0) const { return at + ahead < text.size() ? text[at + ahead] : '\0'; }
    bool At(const char* piece) const { return text.compare(at, std::strlen(piece), piece) == 0; }
    void SkipSpace() {
        while (IsSpace(Peek())) ++at;
    }
    bool Fail(const std::string& what) {
        problem = what;
        return false;
    }
    int LineAt(size_t position) const {
        int line = 1;
        for (size_t i = 0; i < position && i < text.size(); ++i) line += text[i] == '\n';
        return line;
    }

    bool Document() {
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) at = 3;
        for (SkipSpace(); at < text.size(); SkipSpace()) {
            if (open.empty()) {
                if (Peek() != '<') return Fail("text outside the root element");
                if (At("</")) return Fail("closing tag with no open element");
                if (!Node()) return false;
            } else if (At("</")) {
                if (!EndTag()) return false;
            } else if (Peek() == '<') {
                if (!Node()) return false;
            } else if (!Characters()) {
                return false;
            }
        }
        if (!open.empty()) return Fail("element <" + OpenName() + "> is not closed");
        return true;
    }

    std::string OpenName() const { return text.substr(open.back().first, open.back().second); }

    // At a '<' that does not close an element; TinyXML's order of tests.
    bool Node() {
        if (SameNoCase(text, at, "<?xml")) return Declaration();
        if (At("<!--")) return SkipPast(4, "-->", "comment");
        if (At("<![CDATA[")) return SkipPast(9, "]]>", "CDATA section");
        if (At("<!") || At("<?")) return SkipPast(1, ">", "markup");
        if (IsNameStart(Peek(1))) return StartTag();
        return Fail("'<' that starts no element");
    }

    bool SkipPast(size_t from, const char* terminator, const char* what) {
        const size_t end = text.find(terminator, at + from);
        if (end == std::string::npos) return Fail(std::string("unterminated ") + what);
        at = end + std::strlen(terminator);
        return true;
    }

    // TinyXML reads version, encoding and standalone as attributes and steps
    // over anything else up to white space or '>', quotes included.
    bool Declaration() {
        at += 5;
        while (Peek() != '>') {
            if (Peek() == '\0') return Fail("unterminated declaration");
            SkipSpace();
            if (SameNoCase(text, at, "version") || SameNoCase(text, at, "encoding") ||
                SameNoCase(text, at, "standalone")) {
                if (!Attribute()) return false;
            } else {
                while (Peek() != '\0' && Peek() != '>' && !IsSpace(Peek())) ++at;
            }
        }
        ++at;
        return true;
    }

    bool StartTag() {
        const size_t nameStart = ++at;
        while (IsNameChar(Peek())) ++at;
        const std::pair<size_t, size_t> name(nameStart, at - nameStart);
        for (;;) {
            SkipSpace();
            if (Peek() == '/') {
                ++at;
                if (Peek() != '>') return Fail("'/' not followed by '>' in a tag");
                ++at;
                return true;
            }
            if (Peek() == '>') {
                ++at;
                open.push_back(name);
                if (int(open.size()) > depthLimit)
                    return Fail("elements nested deeper than " + std::to_string(depthLimit));
                return true;
            }
            if (Peek() == '\0') return Fail("unterminated tag");
            if (!Attribute()) return false;
        }
    }

    bool EndTag() {
        const std::string name = OpenName();
        if (text.compare(at + 2, name.size(), name) != 0)
            return Fail("closing tag does not match <" + name + ">");
        at += 2 + name.size();
        SkipSpace();
        if (Peek() != '>') return Fail("closing tag does not match <" + name + ">");
        ++at;
        open.pop_back();
        return true;
    }

    bool Attribute() {
        if (!IsNameStart(Peek())) return Fail("bad attribute name");
        while (IsNameChar(Peek())) ++at;
        SkipSpace();
        if (Peek() != '=') return Fail("attribute without '='");
        ++at;
        SkipSpace();
        const char quote = Peek();
        if (quote == '"' || quote == '\'') {
            ++at;
            return TextUntil(quote, "unterminated attribute value");
        }
        if (quote == '\0') return Fail("attribute without a value");
        for (char c = Peek(); c != '\0' && !IsSpace(c) && c != '/' && c != '>'; c = Peek()) {
            if (c == '"' || c == '\'') return Fail("quote inside an unquoted attribute value");
            ++at;
        }
        return true;
    }

    // Text inside an element, up to the '<' that ends it.
    bool Characters() { return TextUntil('<', "element text runs to the end of the file"); }

    // Steps as TinyXML's text reader does: byte by byte (the text is valid
    // UTF-8, so no multi-byte character hides an ASCII byte), but a numeric
    // character reference is taken whole, however far it reaches.
    bool TextUntil(char end, const char* unterminated) {
        for (char c = Peek(); c != end; c = Peek()) {
            if (c == '\0') return Fail(unterminated);
            if (c == '&' && Peek(1) == '#' && Peek(2) != '\0') {
                if (!NumericReference()) return false;
            } else {
                ++at;
            }
        }
        if (end != '<') ++at;
        return true;
    }

    // TinyXML finds the ';' first, then reads digits backwards to the nearest
    // 'x' (or '#'): whatever lies before that, quotes and tags included,
    // belongs to the reference.
    bool NumericReference() {
        const bool hex = Peek(2) == 'x';
        if (hex && Peek(3) == '\0') return Fail("bad character reference");
        const size_t semicolon = text.find(';', at + (hex ? 3 : 2));
        if (semicolon == std::string::npos) return Fail("bad character reference");
        for (size_t q = semicolon - 1; text[q] != (hex ? 'x' : '#'); --q) {
            if (!(hex ? IsHexDigit(text[q]) : IsDigit(text[q]))) return Fail("bad character reference");
        }
        at = semicolon + 1;
        return true;
    }

    const std::string& text;
    const int depthLimit;
    size_t at = 0;
    std::vector<std::pair<size_t, size_t>> open;  // names of the open elements
    std::string problem;
};

}  // namespace

bool CheckXmlEncoding(const std::string& text, std::string& reason) {
    for (size_t at = 0; at < text.size();) {
        if (text[at] == '\0') {
            reason = "a zero byte at offset " + std::to_string(at);
            return false;
        }
        const size_t length = Utf8SequenceLength(text, at);
        if (length == 0 || (at > 0 && IsByteOrderMarkLike(text, at))) {
            reason = "not well-formed UTF-8 at offset " + std::to_string(at);
            return false;
        }
        at += length;
    }
    return true;
}

bool CheckXmlStructure(const std::string& text, int depthLimit, std::string& reason) {
    return XmlScanner(text, depthLimit).Run(reason);
}
