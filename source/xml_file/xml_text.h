// Small readers over TinyXML elements shared by the content readers.
// Comments and other non-text nodes inside an element are passed over.
#pragma once

#include <string>

class TiXmlElement;

// The text directly inside element (its text children joined); empty when it
// has none.
std::string ElementText(const TiXmlElement& element);

// A "t-flag": true when the attribute is present and its first character is
// a lower-case t.
bool TFlagAttribute(const TiXmlElement& element, const char* name);
