// The object-pattern reader on the sample files in fixtures/: a rich file,
// absent attributes, broken files and bad values (logged, never a crash).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "object_pattern.h"
#include "support/log_capture.h"
#include "weapons.h"

namespace {

using test_support::LogCapture;
using ObjectFactory::GetParameter;

std::string Fixture(const std::string& name) { return std::string(QUELL_SOURCE_DIR) + "/tests/objects/fixtures/" + name; }
ObjectPattern Load(const std::string& path) { return ObjectFactory::LoadObjectPattern(path.c_str()); }

// A stored value as text ("-" when missing), whatever its type.
std::string Shown(const ObjectPattern& p, const std::string& name) {
    const auto found = p.paramList.find(name);
    if (found == p.paramList.end()) return "-";
    std::ostringstream text;
    const boost::any& value = found->second;
    if (const float* f = boost::any_cast<float>(&value)) text << *f;
    if (const int* i = boost::any_cast<int>(&value)) text << *i;
    if (const bool* b = boost::any_cast<bool>(&value)) text << (*b ? "true" : "false");
    if (const std::string* s = boost::any_cast<std::string>(&value)) text << *s;
    if (const Vector* v = boost::any_cast<Vector>(&value)) text << v->x << "," << v->y << "," << v->z;
    if (const OBB* o = boost::any_cast<OBB>(&value)) text << "c" << o->center.x << " e" << o->extents.z << " s" << o->rot.s;
    if (const AABB* a = boost::any_cast<AABB>(&value)) text << "c" << a->center.y;
    if (const BoundingSphere* s = boost::any_cast<BoundingSphere>(&value)) text << "r" << s->radius;
    return text.str();
}

void ExpectShown(const ObjectPattern& p, std::initializer_list<std::pair<const char*, const char*>> expected) {
    for (const auto& [name, text] : expected) EXPECT_EQ(Shown(p, name), text) << name;
}

std::vector<std::string> ProblemLines(const std::string& log) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("WARNING:", 0) == 0 || line.rfind("ERROR:", 0) == 0) lines.push_back(line);
    return lines;
}

TEST(RichPattern, EverySectionIsReadAndOnlyTheUnknownParamTypeIsReported) {
    LogCapture log;
    const std::string path = Fixture("rich_pattern.xml");
    ObjectPattern p = Load(path);
    std::vector<std::string> problems = ProblemLines(log.Text());
    ASSERT_EQ(1u, problems.size()) << log.Text();
    EXPECT_NE(std::string::npos, problems[0].find(path + ": error double invalid type"));
    EXPECT_TRUE((std::vector<std::string>{"anim_medium_mech_walk", "anim_medium_mech_idle"}) == p.animNames &&
                (std::vector<int>{1, 3}) == p.collidesWithList);
    ExpectShown(p, {{"type", "ammo"},               // the pickup type replaces the type section
                    {"isLevelObject", "true"},      // only the first type section is read
                    {"graphics", "true"}, {"hasSkeleton", "true"}, {"scale", "1.5"}, {"offset", "0.75"},
                    {"mass", "12.5"},               // a later behavior param of that name wins
                    {"infMass", "true"},            // present, whatever its value
                    {"healthMax", "99"},            // 99.9 truncated
                    {"autoGenerate", "false"},      // "no"
                    {"group", "2"}, {"obb", "c0 e3 s1"}, {"aabb", "c1.5"}, {"sphere", "r2.5"},
                    {"state", "inactive"}, {"target", "player"}, {"count", "7"}, {"aggressive", "true"},
                    {"shy", "false"},               // only the exact text true is true
                    {"precise", "-"}, {"after", "2"},  // reading goes on after a bad param
                    {"delay", "4.5"}, {"spawnDir", "0,0,1"}});
}

TEST(RichPattern, WeaponsWithTheirHotSpotsAndBulletEffects) {
    WeaponComp weapons = GetParameter<WeaponComp>(Load(Fixture("rich_pattern.xml")), "weaponComp");
    auto* laser = dynamic_cast<SimpleSpread*>(weapons.primary);
    ASSERT_TRUE(laser && laser->hotspots.size() == 2u);
    EXPECT_TRUE(laser->bulletName == "enemyBullet" && laser->alternate && laser->expire == double(1.1f));
    EXPECT_TRUE(laser->hotspots[1].boneName == "arm_right" && laser->hotspots[1].offset.x == -0.5f);
    const BulletComp& shot = laser->bulletPrototype;
    EXPECT_TRUE(shot.damage == 10 && shot.faction == 1 && shot.groundEffect.effectType == 13 &&
                shot.groundEffect.effectSize == 0.9f && shot.mechEffect.effectType == 2 &&
                shot.buildingEffect.effectSize == 1.2f);
    const auto* launcher = dynamic_cast<Missile*>(weapons.secondary);
    ASSERT_NE(nullptr, launcher);
    const BulletComp& missile = launcher->bulletPrototype;
    EXPECT_TRUE(launcher->bulletName == "enemyMissile" && missile.groundEffect.effectType == 7 &&
                missile.buildingEffect.effectType == 8 && missile.mechEffect.effectSize == 6.0f);
}

TEST(PatternAbsentValues, AbsentAttributesWithAMeaningTakeItSilently) {
    LogCapture log;
    ObjectPattern p = Load(Fixture("plain_pattern.xml"));
    EXPECT_TRUE(ProblemLines(log.Text()).empty()) << log.Text();
    ExpectShown(p, {{"isLevelObject", "false"},  // TRUE is not a t-flag
                    {"infMass", "false"}, {"autoGenerate", "true"}, {"hasOBB", "false"}, {"hasAABB", "false"},
                    {"hasSphere", "false"}, {"hasSkeleton", "-"}, {"spawnDir", "-"}, {"stats", "-"}});
    WeaponComp weapons = GetParameter<WeaponComp>(p, "weaponComp");
    ASSERT_NE(nullptr, dynamic_cast<Missile*>(weapons.primary));
    EXPECT_TRUE(!weapons.primary->alternate && !weapons.secondary && p.animNames.empty());
}

TEST(PatternBrokenFiles, UnreadableDeepOrForeignFilesLeaveOnlyTheFileName) {
    const std::string deep = ::testing::TempDir() + "deep_pattern.xml";
    {
        std::ofstream out(deep);  // TinyXML recurses per level; a hostile file must not reach it
        out << "<object>";
        for (int i = 0; i < 100000; ++i) out << "<a>";
        out << "</object>";
    }
    for (const std::string& path : {Fixture("no_such_pattern.xml"), Fixture("not_xml.xml"), deep, std::string()}) {
        LogCapture log;
        ObjectPattern p = path.empty() ? ObjectFactory::LoadObjectPattern(nullptr) : Load(path);
        EXPECT_TRUE(log.Has("can't load file " + path)) << path;
        EXPECT_TRUE(p.paramList.size() == 1u && Shown(p, "fileName") == path) << path;
    }
    EXPECT_EQ(1u, Load(Fixture("other_root.xml")).paramList.size());
}

TEST(PatternBadValues, EveryProblemIsLoggedWithTheFileNameAndDegradesSafely) {
    LogCapture log;
    const std::string path = Fixture("bad_values.xml");
    ObjectPattern p = Load(path);
    std::vector<std::string> problems = ProblemLines(log.Text());
    EXPECT_GE(problems.size(), 20u) << log.Text();
    for (const std::string& line : problems) EXPECT_NE(std::string::npos, line.find(path)) << line;
    // A param without a type among them.
    EXPECT_TRUE(log.Has("<position> attribute \"y\" is missing") && log.Has(path + ": error  invalid type"));
    EXPECT_EQ(4, log.Count("collision groups run from 0 to 31"));
    ExpectShown(p, {{"scale", "0"}, {"x", "0"}, {"y", "0"}, {"z", "0"}, {"mass", "0"}, {"speed", "0"}, {"delay", "0"},
                    {"healthMax", "0"}, {"magic", "0"}, {"value", "0"}, {"count", "0"}, {"armor", "-"},
                    {"type", ""},          // a pickup without type reads as empty
                    {"group", "-"},        // group 40 refused
                    {"obb", "c0 e1 s1"},   // a malformed vector keeps the default; a missing rot the identity
                    {"sphere", "r0"}, {"spawnDir", "0,1,0"}});  // two numbers are enough
    EXPECT_TRUE((std::vector<std::string>{""}) == p.animNames && (std::vector<int>{7}) == p.collidesWithList);
    // No type, no weapon; 100000 projectiles per pull refused.
    WeaponComp weapons = GetParameter<WeaponComp>(p, "weaponComp");
    ASSERT_TRUE(!weapons.primary && weapons.secondary && weapons.secondary->hotspots.size() == 1u);
    EXPECT_TRUE(weapons.secondary->num == 0 && weapons.secondary->hotspots[0].offset.y == 1.0f);
}

TEST(PatternParameters, CopiedPatternsOwnTheirWeapons) {
    ObjectPattern original;
    WeaponComp weapons;
    weapons.primary = new SimpleSpread();
    weapons.primary->owner = "first";
    ObjectFactory::SetParameter(original, "weaponComp", weapons);
    ObjectPattern copy(original);
    WeaponComp fromCopy = GetParameter<WeaponComp>(copy, "weaponComp");
    ASSERT_NE(nullptr, fromCopy.primary);
    EXPECT_TRUE(GetParameter<WeaponComp>(original, "weaponComp").primary != fromCopy.primary &&
                fromCopy.primary->owner == "first");
}

}  // namespace
