#include "level/reader.h"

#include <tinyxml.h>

#include "object_pattern.h"
#include "system.h"
#include "xml_file/text_numbers.h"

namespace level_reader {

namespace {

const char* const kStringTag = "string";
const char* const kObjectTag = "GameObject";

void ReportBad(const TiXmlElement& element, const std::string& what) {
    Module<System>::Instance()->Error(SOURCE_POS + "level file line " + std::to_string(element.Row()) +
                                      ": <" + element.ValueStr() + "> " + what + "\n");
}

// The n-th (0-based) child element of that tag, or null.
const TiXmlElement* NthChild(const TiXmlElement& parent, const char* tag, int n) {
    const TiXmlElement* child = parent.FirstChildElement(tag);
    for (int i = 0; child && i < n; ++i) child = child->NextSiblingElement(tag);
    return child;
}

// The attribute of the n-th "string" child; false when either is missing.
bool ReadStringAttr(const TiXmlElement& parent, int n, const char* name, std::string& value) {
    const TiXmlElement* holder = NthChild(parent, kStringTag, n);
    const char* text = holder ? holder->Attribute(name) : nullptr;
    if (!text) return false;
    value = text;
    return true;
}

bool ReadChildVector(const TiXmlElement& parent, const char* tag, Vector& value) {
    const TiXmlElement* child = parent.FirstChildElement(tag);
    return child && ReadVector(*child, value);
}

void ReadHandle(const TiXmlElement& ground, int n, const char* name, Handle& handle) {
    if (!ReadStringAttr(ground, n, name, handle.id))
        ReportBad(ground, std::string("lacks the string \"") + name + "\"; the ground has none");
}

void ReadPlacement(const TiXmlElement& ground, const char* tag, Vector& value) {
    if (!ReadChildVector(ground, tag, value))
        ReportBad(ground, std::string("lacks <") + tag + " v=\"...\">; it reads as zero");
}

// The four numbers of "v" go to s, then x, y, z; the vector part's w stays 0.
Quaternion ToRotation(const Vector& numbers) {
    return Quaternion(numbers.x, Vector(numbers.y, numbers.z, numbers.w, 0.0f));
}

bool ReadObjectRecord(const TiXmlElement& element, LevelObjectRecord& record) {
    if (!ReadStringAttr(element, 0, "name", record.name) ||
        !ReadStringAttr(element, 1, "patternName", record.patternName)) {
        ReportBad(element, "lacks its name or pattern name; skipped");
        return false;
    }
    if (!ReadChildVector(element, "trans", record.trans)) {
        ReportBad(element, "(" + record.name + ") lacks <trans v=\"...\">; skipped");
        return false;
    }
    std::string levelFlag;
    record.isLevelObject = ReadStringAttr(element, 2, "isLevelObject", levelFlag) && levelFlag == "t";
    Vector rotation;
    if (ReadChildVector(element, "Quaternion", rotation)) record.rot = ToRotation(rotation);
    return true;
}

}  // namespace

bool ReadVector(const TiXmlElement& element, Vector& value) {
    const char* text = element.Attribute("v");
    if (!text) return false;
    value = StringToVector(text);
    return true;
}

bool ReadInt(const TiXmlElement& element, const char* name, int& value) {
    const char* text = element.Attribute(name);
    return text && ParseIntText(text, value);
}

std::string ReadLevelName(const TiXmlElement& root) {
    std::string name;
    if (!ReadStringAttr(root, 0, "name", name))
        Module<System>::Instance()->Warning(SOURCE_POS + "level file has no <string name=\"...\">\n");
    return name;
}

void ReadGroundPlane(const TiXmlElement& ground, GroundPlaneObject& plane) {
    ReadHandle(ground, 0, "meshHandle", plane.meshHandle);
    ReadHandle(ground, 1, "heightMapHandle", plane.heightMapHandle);
    ReadHandle(ground, 2, "colorMapHandle", plane.colorMapHandle);
    ReadPlacement(ground, "position", plane.pos);
    ReadPlacement(ground, "scale", plane.scale);
}

std::vector<LevelObjectRecord> ReadObjectRun(const TiXmlElement& root) {
    std::vector<LevelObjectRecord> records;
    for (const TiXmlElement* element = root.FirstChildElement(kObjectTag);
         element && element->ValueStr() == kObjectTag; element = element->NextSiblingElement()) {
        LevelObjectRecord record;
        if (ReadObjectRecord(*element, record)) records.push_back(record);
    }
    return records;
}

}  // namespace level_reader
