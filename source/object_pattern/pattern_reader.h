// PatternReader: fills an ObjectPattern from the "object" element of one
// pattern file, section by section. Used only by ObjectFactory's
// LoadObjectPattern.
//
// Missing values that the file format leaves open read as empty or 0 with a
// warning naming the file; values that are present but malformed give an
// error naming the file and the field's default. Nothing here throws.
#pragma once

#include <string>

#include "geom/geom.h"
#include "object_pattern.h"

class TiXmlElement;
class Weapon;

class PatternReader {
public:
    PatternReader(ObjectPattern& pattern, const std::string& fileName);

    // Reads the first element of each known section name, in a fixed order.
    void ReadObject(const TiXmlElement& object);

private:
    void ReadType(const TiXmlElement& section);
    void ReadResources(const TiXmlElement& section);
    void ReadScale(const TiXmlElement& section);
    void ReadPosition(const TiXmlElement& section);
    void ReadPhysics(const TiXmlElement& section);
    void ReadStats(const TiXmlElement& section);
    void ReadWeapons(const TiXmlElement& section);
    void ReadCollision(const TiXmlElement& section);
    void ReadBehavior(const TiXmlElement& section);
    void ReadHeight(const TiXmlElement& section);
    void ReadSpawn(const TiXmlElement& section);
    void ReadPickup(const TiXmlElement& section);

    void ReadCollisionGroups(const TiXmlElement& section);
    void ReadVolumes(const TiXmlElement& section);
    void ReadParam(const TiXmlElement& param);
    // A new weapon of the element's type, or null for an unknown type.
    Weapon* ReadWeapon(const TiXmlElement& element);
    void ReadWeaponNumbers(const TiXmlElement& element, Weapon& weapon);
    void ReadHotSpots(const TiXmlElement& element, Weapon& weapon);

    // Attribute and text access with the logging rules of the file comment.
    template <class T>
    using NumberParser = bool (*)(const std::string&, T&);
    template <class T>
    T NumberAttr(const TiXmlElement& element, const char* name, NumberParser<T> parse);
    template <class T>
    T NumberText(const TiXmlElement& element, NumberParser<T> parse);
    // Up to `count` numbers of a comma-separated list; false (with the
    // warning or error) when the attribute is missing or malformed.
    bool FloatListAttr(const TiXmlElement& element, const char* name, float* values, int count);
    std::string StringAttr(const TiXmlElement& element, const char* name);
    float FloatAttr(const TiXmlElement& element, const char* name);
    int IntAttr(const TiXmlElement& element, const char* name);
    Vector VectorAttr(const TiXmlElement& element, const char* name, const Vector& fallback);
    Quaternion RotationAttr(const TiXmlElement& element, const char* name, const Quaternion& fallback);
    float FloatText(const TiXmlElement& element);
    int IntText(const TiXmlElement& element);
    // A collision group number (0..31) from the element's text; false, with
    // an error, for anything else.
    bool GroupText(const TiXmlElement& element, int& group);

    void WarnMissing(const TiXmlElement& element, const char* name);
    void ReportMalformed(const TiXmlElement& element, const char* name, const std::string& text);

    ObjectPattern& pattern;
    std::string fileName;
};
