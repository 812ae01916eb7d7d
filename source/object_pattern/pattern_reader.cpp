#include "object_pattern/pattern_reader.h"

#include <tinyxml.h>

#include "module.h"
#include "objects/combat_comps.h"
#include "system/source_position.h"
#include "xml_file/text_numbers.h"
#include "system.h"
#include "weapons.h"
#include "xml_file/xml_text.h"

using ObjectFactory::SetParameter;

PatternReader::PatternReader(ObjectPattern& pattern, const std::string& fileName)
    : pattern(pattern), fileName(fileName) {}

void PatternReader::ReadObject(const TiXmlElement& object) {
    using SectionReader = void (PatternReader::*)(const TiXmlElement&);
    static const struct {
        const char* name;
        SectionReader read;
    } kSections[] = {
        {"type", &PatternReader::ReadType},         {"resources", &PatternReader::ReadResources},
        {"scale", &PatternReader::ReadScale},       {"position", &PatternReader::ReadPosition},
        {"physics", &PatternReader::ReadPhysics},   {"stats", &PatternReader::ReadStats},
        {"weapons", &PatternReader::ReadWeapons},   {"collision", &PatternReader::ReadCollision},
        {"behavior", &PatternReader::ReadBehavior}, {"height", &PatternReader::ReadHeight},
        {"spawn", &PatternReader::ReadSpawn},       {"pickup", &PatternReader::ReadPickup},
    };
    for (const auto& section : kSections) {
        if (const TiXmlElement* element = object.FirstChildElement(section.name)) (this->*section.read)(*element);
    }
}

void PatternReader::ReadType(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kType, ElementText(section));
    SetParameter(pattern, PatternParam::kIsLevelObject, TFlagAttribute(section, "levelObj"));
}

void PatternReader::ReadResources(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kGraphics, true);
    if (const TiXmlElement* mesh = section.FirstChildElement("mesh"))
        SetParameter(pattern, PatternParam::kMesh, ElementText(*mesh));
    if (const TiXmlElement* texture = section.FirstChildElement("texture"))
        SetParameter(pattern, PatternParam::kTexture, ElementText(*texture));
    if (const TiXmlElement* skeleton = section.FirstChildElement("skeleton")) {
        SetParameter(pattern, PatternParam::kHasSkeleton, true);
        SetParameter(pattern, PatternParam::kSkeleton, ElementText(*skeleton));
    }
    const TiXmlElement* animationSet = section.FirstChildElement("animationSet");
    if (!animationSet) return;
    // From the first "anim" on, every following element names an animation.
    for (const TiXmlElement* anim = animationSet->FirstChildElement("anim"); anim;
         anim = anim->NextSiblingElement()) {
        pattern.animNames.push_back(StringAttr(*anim, "name"));
    }
}

void PatternReader::ReadScale(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kScale, FloatAttr(section, "value"));
}

void PatternReader::ReadPosition(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kX, FloatAttr(section, "x"));
    SetParameter(pattern, PatternParam::kY, FloatAttr(section, "y"));
    SetParameter(pattern, PatternParam::kZ, FloatAttr(section, "z"));
}

void PatternReader::ReadPhysics(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kPhysics, true);
    SetParameter(pattern, PatternParam::kMass, FloatAttr(section, "mass"));
    // Presence alone makes the mass infinite, whatever the value says.
    SetParameter(pattern, PatternParam::kInfMass, section.Attribute("infMass") != nullptr);
}

void PatternReader::ReadStats(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kStats, true);
    if (const TiXmlElement* health = section.FirstChildElement("health")) {
        int healthMax = 0;
        std::string text = ElementText(*health);
        if (!ParseTruncatedIntText(text, healthMax)) ReportMalformed(*health, nullptr, text);
        SetParameter(pattern, PatternParam::kHealthMax, healthMax);
    }
    static const struct {
        const char* element;
        const char* param;
    } kFloatStats[] = {
        {"speed", PatternParam::kSpeed}, {"armor", PatternParam::kArmor}, {"boost", PatternParam::kBoost}};
    for (const auto& stat : kFloatStats) {
        if (const TiXmlElement* element = section.FirstChildElement(stat.element))
            SetParameter(pattern, stat.param, FloatText(*element));
    }
    if (const TiXmlElement* magic = section.FirstChildElement("magic"))
        SetParameter(pattern, PatternParam::kMagic, IntText(*magic));
}

void PatternReader::ReadWeapons(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kWeapon, true);
    WeaponComp weapons;
    if (const TiXmlElement* primary = section.FirstChildElement("primary")) weapons.primary = ReadWeapon(*primary);
    if (const TiXmlElement* secondary = section.FirstChildElement("secondary"))
        weapons.secondary = ReadWeapon(*secondary);
    SetParameter(pattern, PatternParam::kWeaponComp, weapons);
}

void PatternReader::ReadCollision(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kCollision, true);
    bool autoGenerate = section.Attribute("autoGenerate") ? TFlagAttribute(section, "autoGenerate") : true;
    SetParameter(pattern, PatternParam::kAutoGenerate, autoGenerate);
    ReadCollisionGroups(section);
    ReadVolumes(section);
}

void PatternReader::ReadCollisionGroups(const TiXmlElement& section) {
    for (const TiXmlElement* with = section.FirstChildElement("collidesWith"); with;
         with = with->NextSiblingElement("collidesWith")) {
        int group = 0;
        if (GroupText(*with, group)) pattern.collidesWithList.push_back(group);
    }
    if (const TiXmlElement* groupElement = section.FirstChildElement("collisionGroup")) {
        int group = 0;
        if (GroupText(*groupElement, group)) SetParameter(pattern, PatternParam::kGroup, group);
    }
}

namespace {

// Sets hasParam, and when the section holds the element, param to what `read` makes of it.
template <class Read>
void ReadVolume(ObjectPattern& pattern, const TiXmlElement& section, const char* name, const char* hasParam,
                const char* param, Read read) {
    const TiXmlElement* element = section.FirstChildElement(name);
    SetParameter(pattern, hasParam, element != nullptr);
    if (element) SetParameter(pattern, param, read(*element));
}

}  // namespace

void PatternReader::ReadVolumes(const TiXmlElement& section) {
    ReadVolume(pattern, section, "obb", PatternParam::kHasOBB, PatternParam::kObb, [this](const TiXmlElement& e) {
        OBB obb;
        obb.extents = VectorAttr(e, "extents", obb.extents);
        obb.center = VectorAttr(e, "center", obb.center);
        obb.rot = RotationAttr(e, "rot", obb.rot);
        return obb;
    });
    ReadVolume(pattern, section, "aabb", PatternParam::kHasAABB, PatternParam::kAabb, [this](const TiXmlElement& e) {
        AABB aabb;
        aabb.center = VectorAttr(e, "center", aabb.center);
        aabb.extents = VectorAttr(e, "extents", aabb.extents);
        return aabb;
    });
    ReadVolume(pattern, section, "sphere", PatternParam::kHasSphere, PatternParam::kSphere,
               [this](const TiXmlElement& e) {
                   BoundingSphere sphere;
                   sphere.center = VectorAttr(e, "center", sphere.center);
                   sphere.radius = FloatAttr(e, "radius");
                   return sphere;
               });
}

void PatternReader::ReadBehavior(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kBehavior, true);
    if (const TiXmlElement* state = section.FirstChildElement("state"))
        SetParameter(pattern, PatternParam::kState, ElementText(*state));
    for (const TiXmlElement* param = section.FirstChildElement("param"); param;
         param = param->NextSiblingElement("param")) {
        ReadParam(*param);
    }
}

// A typed parameter of the behaviour; an unknown type is reported and skipped.
void PatternReader::ReadParam(const TiXmlElement& param) {
    const std::string type = StringAttr(param, "type");
    const std::string name = StringAttr(param, "name");
    const bool hasData = param.Attribute("data") != nullptr;
    const std::string data = StringAttr(param, "data");
    if (type == "string") {
        SetParameter(pattern, name, data);
    } else if (type == "int") {
        int value = 0;
        if (hasData && !ParseIntText(data, value)) ReportMalformed(param, "data", data);
        SetParameter(pattern, name, value);
    } else if (type == "float") {
        float value = 0.0f;
        if (hasData && !ParseFloatText(data, value)) ReportMalformed(param, "data", data);
        SetParameter(pattern, name, value);
    } else if (type == "bool") {
        SetParameter(pattern, name, data == "true");
    } else {
        Module<System>::Instance()->Error(SOURCE_POS + fileName + ": error " + type + " invalid type");
    }
}

void PatternReader::ReadHeight(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kOffset, FloatAttr(section, "value"));
}

void PatternReader::ReadSpawn(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kSpawn, true);
    SetParameter(pattern, PatternParam::kDelay, FloatAttr(section, "delay"));
    if (section.Attribute("dir"))
        SetParameter(pattern, PatternParam::kSpawnDir, VectorAttr(section, "dir", Vector()));
}

void PatternReader::ReadPickup(const TiXmlElement& section) {
    SetParameter(pattern, PatternParam::kPickup, true);
    SetParameter(pattern, PatternParam::kType, StringAttr(section, "type"));
    if (section.Attribute("value"))
        SetParameter(pattern, PatternParam::kValue, IntAttr(section, "value"));
}
