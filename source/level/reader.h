// The element readers of a level file, used by Level::LoadFromXML. Each reads
// one part of the document into level data, logging and skipping what is
// missing or malformed. Nothing here throws or touches the object table.
#pragma once

#include <string>
#include <vector>

#include "level.h"

class TiXmlElement;

namespace level_reader {

// The "name" of root's first "string" child; empty, with a warning, when
// there is none.
std::string ReadLevelName(const TiXmlElement& root);

// The three handles (1st, 2nd, 3rd "string" child), "position" and "scale".
// A missing part is reported and stays empty or zero, which the ground
// treats as off the map.
void ReadGroundPlane(const TiXmlElement& ground, GroundPlaneObject& plane);

// The run of "GameObject" elements that begins at root's first one and ends
// at the first sibling with another name. A record without its name, pattern
// name or position is reported and skipped.
std::vector<LevelObjectRecord> ReadObjectRun(const TiXmlElement& root);

// The element's "v" attribute read as up to four numbers; false when the
// attribute is missing.
bool ReadVector(const TiXmlElement& element, Vector& value);

// A whole decimal integer in int's range (blanks around it allowed); false
// for a missing attribute or any other text.
bool ReadInt(const TiXmlElement& element, const char* name, int& value);

}  // namespace level_reader
