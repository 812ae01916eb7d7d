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

template <class T>
T PatternReader::NumberAttr(const TiXmlElement& element, const char* name, NumberParser<T> parse) {
    T value = 0;
    const char* text = element.Attribute(name);
    if (!text) {
        WarnMissing(element, name);
    } else if (!parse(text, value)) {
        ReportMalformed(element, name, text);
    }
    return value;
}

float PatternReader::FloatAttr(const TiXmlElement& element, const char* name) {
    return NumberAttr<float>(element, name, ParseFloatText);
}

int PatternReader::IntAttr(const TiXmlElement& element, const char* name) {
    return NumberAttr<int>(element, name, ParseIntText);
}

bool PatternReader::FloatListAttr(const TiXmlElement& element, const char* name, float* values, int count) {
    const char* text = element.Attribute(name);
    if (!text) {
        WarnMissing(element, name);
        return false;
    }
    bool wellFormed = false;
    ReadFloatList(text, values, count, &wellFormed);
    if (!wellFormed) ReportMalformed(element, name, text);
    return wellFormed;
}

Vector PatternReader::VectorAttr(const TiXmlElement& element, const char* name, const Vector& fallback) {
    float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    return FloatListAttr(element, name, v, 4) ? Vector(v[0], v[1], v[2], v[3]) : fallback;
}

Quaternion PatternReader::RotationAttr(const TiXmlElement& element, const char* name,
                                       const Quaternion& fallback) {
    float v[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    return FloatListAttr(element, name, v, 5) ? Quaternion(v[0], Vector(v[1], v[2], v[3], v[4])) : fallback;
}

template <class T>
T PatternReader::NumberText(const TiXmlElement& element, NumberParser<T> parse) {
    T value = 0;
    const std::string text = ElementText(element);
    if (!parse(text, value)) ReportMalformed(element, nullptr, text);
    return value;
}

float PatternReader::FloatText(const TiXmlElement& element) { return NumberText<float>(element, ParseFloatText); }

int PatternReader::IntText(const TiXmlElement& element) { return NumberText<int>(element, ParseIntText); }

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
