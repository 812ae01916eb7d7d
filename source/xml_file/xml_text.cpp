#include "xml_file/xml_text.h"

#include <tinyxml.h>

std::string ElementText(const TiXmlElement& element) {
    std::string text;
    for (const TiXmlNode* child = element.FirstChild(); child; child = child->NextSibling()) {
        if (const TiXmlText* piece = child->ToText()) text += piece->Value();
    }
    return text;
}

bool TFlagAttribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value && value[0] == 't';
}
