#include "object_pattern.h"

#include <tinyxml.h>

#include "module.h"
#include "object_pattern/pattern_reader.h"
#include "system/source_position.h"
#include "system.h"
#include "xml_file/text_numbers.h"
#include "xml_file.h"

bool HasParam(const ObjectPattern::ParamMap& paramList, const std::string& name) {
    return paramList.find(name) != paramList.end();
}

Vector StringToVector(const std::string& text) {
    float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    ReadFloatList(text, values, 4);
    return Vector(values[0], values[1], values[2], values[3]);
}

namespace ObjectFactory {

Quaternion ParseFloatList(const std::string& text) {
    float values[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    ReadFloatList(text, values, 5);
    return Quaternion(values[0], Vector(values[1], values[2], values[3], values[4]));
}

ObjectPattern LoadObjectPattern(const char* fileName) {
    const std::string name = fileName ? fileName : "";
    ObjectPattern pattern;
    TiXmlDocument document;
    std::string reason = "no file name";
    const bool loaded = !name.empty() && LoadXmlFile(document, name, reason);
    if (!loaded) {
        // The why on its own line first: the error keeps its fixed text.
        Module<System>::Instance()->Log(name + ": " + reason);
        Module<System>::Instance()->Error(SOURCE_POS + "can't load file " + name);
    }
    SetParameter(pattern, PatternParam::kFileName, name);
    if (!loaded) return pattern;
    if (const TiXmlElement* object = document.FirstChildElement("object")) {
        PatternReader reader(pattern, name);
        reader.ReadObject(*object);
    }
    return pattern;
}

}  // namespace ObjectFactory
