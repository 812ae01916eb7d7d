// PatternReader's access to attribute and text values, with the logging rules
// of pattern_reader.h.
#include <tinyxml.h>

#include "module.h"
#include "objects/collision_comp.h"
#include "object_pattern/pattern_reader.h"
#include "system/source_position.h"
#include "system.h"
#include "xml_file/text_numbers.h"
#include "xml_file/xml_text.h"

namespace {

std::string Describe(const TiXmlElement& element, const char* attribute) {
    std::string where = "<" + std::string(element.Value()) + ">";
    if (attribute) where += " attribute \"" + std::string(attribute) + "\"";
    return where;
}

}  // namespace

void PatternReader::WarnMissing(const TiXmlElement& element, const char* name) {
    Module<System>::Instance()->Warning(SOURCE_POS + fileName + ": " + Describe(element, name) +
                                        " is missing; read as empty or 0");
}

void PatternReader::ReportMalformed(const TiXmlElement& element, const char* name, const std::string& text) {
    Module<System>::Instance()->Error(SOURCE_POS + fileName + ": " + Describe(element, name) +
                                      " is not a valid value: \"" + text + "\"");
}

std::string PatternReader::StringAttr(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    if (!value) {
        WarnMissing(element, name);
        return std::string();
    }
    return value;
}

float PatternReader::FloatAttr(const TiXmlElement& element, const char* name) {
    float value = 0.0f;
    const char* text = element.Attribute(name);
    if (!text) {
        WarnMissing(element, name);
    } else if (!ParseFloatText(text, value)) {
        ReportMalformed(element, name, text);
    }
    return value;
}

int PatternReader::IntAttr(const TiXmlElement& element, const char* name) {
    int value = 0;
    const char* text = element.Attribute(name);
    if (!text) {
        WarnMissing(element, name);
    } else if (!ParseIntText(text, value)) {
        ReportMalformed(element, name, text);
    }
    return value;
}

Vector PatternReader::VectorAttr(const TiXmlElement& element, const char* name, const Vector& fallback) {
    const char* text = element.Attribute(name);
    if (!text) {
        WarnMissing(element, name);
        return fallback;
    }
    float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    bool wellFormed = false;
    ReadFloatList(text, values, 4, &wellFormed);
    if (!wellFormed) {
        ReportMalformed(element, name, text);
        return fallback;
    }
    return Vector(values[0], values[1], values[2], values[3]);
}

Quaternion PatternReader::RotationAttr(const TiXmlElement& element, const char* name,
                                       const Quaternion& fallback) {
    const char* text = element.Attribute(name);
    if (!text) {
        WarnMissing(element, name);
        return fallback;
    }
    float values[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    bool wellFormed = false;
    ReadFloatList(text, values, 5, &wellFormed);
    if (!wellFormed) {
        ReportMalformed(element, name, text);
        return fallback;
    }
    return Quaternion(values[0], Vector(values[1], values[2], values[3], values[4]));
}

float PatternReader::FloatText(const TiXmlElement& element) {
    float value = 0.0f;
    std::string text = ElementText(element);
    if (!ParseFloatText(text, value)) ReportMalformed(element, nullptr, text);
    return value;
}

int PatternReader::IntText(const TiXmlElement& element) {
    int value = 0;
    std::string text = ElementText(element);
    if (!ParseIntText(text, value)) ReportMalformed(element, nullptr, text);
    return value;
}

bool PatternReader::GroupText(const TiXmlElement& element, int& group) {
    std::string text = ElementText(element);
    int value = 0;
    if (!ParseIntText(text, value) || value < 0 || value >= CollisionComp::kGroupCount) {
        Module<System>::Instance()->Error(SOURCE_POS + fileName + ": " + Describe(element, nullptr) +
                                          " refused: collision groups run from 0 to " +
                                          std::to_string(CollisionComp::kGroupCount - 1) + ", not \"" + text +
                                          "\"");
        return false;
    }
    group = value;
    return true;
}
