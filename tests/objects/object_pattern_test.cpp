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
using ObjectFactory::SetParameter;

std::string Fixture(const std::string& name) {
    return std::string(QUELL_SOURCE_DIR) + "/tests/objects/fixtures/" + name;
}
ObjectPattern Load(const std::string& path) { return ObjectFactory::LoadObjectPattern(path.c_str()); }
float F(const ObjectPattern& p, const std::string& name) { return GetParameter<float>(p, name); }
int I(const ObjectPattern& p, const std::string& name) { return GetParameter<int>(p, name); }
bool B(const ObjectPattern& p, const std::string& name) { return GetParameter<bool>(p, name); }
std::string S(const ObjectPattern& p, const std::string& name) { return GetParameter<std::string>(p, name); }
bool Has(const ObjectPattern& p, const std::string& name) { return HasParam(p.paramList, name); }

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
    EXPECT_EQ("ammo", S(p, "type")) << "the pickup type replaces the type section";
    EXPECT_TRUE(B(p, "isLevelObject")) << "only the first type section is read";
    EXPECT_TRUE(B(p, "graphics") && B(p, "hasSkeleton"));
    EXPECT_EQ((std::vector<std::string>{"anim_medium_mech_walk", "anim_medium_mech_idle"}), p.animNames);
    EXPECT_FLOAT_EQ(1.5f, F(p, "scale"));
    EXPECT_FLOAT_EQ(0.75f, F(p, "offset"));
    EXPECT_FLOAT_EQ(12.5f, F(p, "mass")) << "a later behavior param of that name wins";
    EXPECT_TRUE(B(p, "infMass")) << "present, whatever its value";
    EXPECT_EQ(99, I(p, "healthMax")) << "99.9 truncated";
    EXPECT_FALSE(B(p, "autoGenerate")) << "autoGenerate=\"no\"";
    EXPECT_EQ(2, I(p, "group"));
    EXPECT_EQ((std::vector<int>{1, 3}), p.collidesWithList);
    OBB obb = GetParameter<OBB>(p, "obb");
    EXPECT_FLOAT_EQ(3.0f, obb.extents.z);
    EXPECT_FLOAT_EQ(0.0f, obb.rot.v.w);
    EXPECT_FLOAT_EQ(1.5f, GetParameter<AABB>(p, "aabb").center.y);
    EXPECT_FLOAT_EQ(2.5f, GetParameter<BoundingSphere>(p, "sphere").radius);
    EXPECT_EQ("inactive", S(p, "state"));
    EXPECT_EQ("player", S(p, "target"));
    EXPECT_EQ(7, I(p, "count"));
    EXPECT_TRUE(B(p, "aggressive"));
    EXPECT_FALSE(B(p, "shy")) << "only the exact text true is true";
    EXPECT_FALSE(Has(p, "precise"));
    EXPECT_FLOAT_EQ(2.0f, F(p, "after")) << "reading goes on after a bad param";
    EXPECT_FLOAT_EQ(4.5f, F(p, "delay"));
    EXPECT_FLOAT_EQ(1.0f, GetParameter<Vector>(p, "spawnDir").z);
}

TEST(RichPattern, WeaponsWithTheirHotSpotsAndBulletEffects) {
    WeaponComp weapons = GetParameter<WeaponComp>(Load(Fixture("rich_pattern.xml")), "weaponComp");
    auto* laser = dynamic_cast<SimpleSpread*>(weapons.primary);
    ASSERT_NE(nullptr, laser);
    EXPECT_EQ("enemyBullet", laser->bulletName);
    EXPECT_TRUE(laser->alternate);
    EXPECT_DOUBLE_EQ(static_cast<double>(1.1f), laser->expire);
    ASSERT_EQ(2u, laser->hotspots.size());
    EXPECT_EQ("arm_right", laser->hotspots[1].boneName);
    EXPECT_FLOAT_EQ(-0.5f, laser->hotspots[1].offset.x);
    const BulletComp& shot = laser->bulletPrototype;
    EXPECT_EQ(10, shot.damage);
    EXPECT_EQ(1, shot.faction);
    EXPECT_EQ(13, shot.groundEffect.effectType);
    EXPECT_FLOAT_EQ(0.9f, shot.groundEffect.effectSize);
    EXPECT_EQ(2, shot.mechEffect.effectType);
    EXPECT_FLOAT_EQ(1.2f, shot.buildingEffect.effectSize);
    auto* launcher = dynamic_cast<Missile*>(weapons.secondary);
    ASSERT_NE(nullptr, launcher);
    EXPECT_EQ("enemyMissile", launcher->bulletName);
    EXPECT_EQ(7, launcher->bulletPrototype.groundEffect.effectType);
    EXPECT_EQ(8, launcher->bulletPrototype.buildingEffect.effectType);
    EXPECT_FLOAT_EQ(6.0f, launcher->bulletPrototype.mechEffect.effectSize);
}

TEST(PatternAbsentValues, AbsentAttributesWithAMeaningTakeItSilently) {
    LogCapture log;
    ObjectPattern p = Load(Fixture("plain_pattern.xml"));
    EXPECT_TRUE(ProblemLines(log.Text()).empty()) << log.Text();
    EXPECT_FALSE(B(p, "isLevelObject")) << "TRUE is not a t-flag";
    EXPECT_FALSE(B(p, "infMass"));
    EXPECT_TRUE(B(p, "autoGenerate"));
    EXPECT_FALSE(B(p, "hasOBB") || B(p, "hasAABB") || B(p, "hasSphere"));
    EXPECT_FALSE(Has(p, "hasSkeleton") || Has(p, "spawnDir") || Has(p, "stats"));
    EXPECT_TRUE(p.animNames.empty());
    WeaponComp weapons = GetParameter<WeaponComp>(p, "weaponComp");
    ASSERT_NE(nullptr, dynamic_cast<Missile*>(weapons.primary));
    EXPECT_FALSE(weapons.primary->alternate);
    EXPECT_EQ(nullptr, weapons.secondary);
}

TEST(PatternBrokenFiles, UnreadableDeepOrForeignFilesLeaveOnlyTheFileName) {
    const std::string deep = ::testing::TempDir() + "deep_pattern.xml";
    {
        std::ofstream out(deep);  // TinyXML recurses per level; a hostile file must not reach it
        out << "<object>";
        for (int i = 0; i < 100000; ++i) out << "<a>";
        out << "</object>";
    }
    for (const std::string& path : {Fixture("no_such_pattern.xml"), Fixture("not_xml.xml"), deep}) {
        LogCapture log;
        ObjectPattern p = Load(path);
        EXPECT_TRUE(log.Has("can't load file " + path + "\n")) << path;
        ASSERT_EQ(1u, p.paramList.size()) << path;
        EXPECT_EQ(path, S(p, "fileName"));
    }
    EXPECT_EQ(1u, Load(Fixture("other_root.xml")).paramList.size());
    LogCapture log;
    EXPECT_EQ("", S(ObjectFactory::LoadObjectPattern(nullptr), "fileName"));
    EXPECT_TRUE(log.Has("can't load file "));
}

TEST(PatternBadValues, EveryProblemIsLoggedWithTheFileNameAndDegradesSafely) {
    LogCapture log;
    const std::string path = Fixture("bad_values.xml");
    ObjectPattern p = Load(path);
    std::vector<std::string> problems = ProblemLines(log.Text());
    EXPECT_GE(problems.size(), 20u) << log.Text();
    for (const std::string& line : problems) EXPECT_NE(std::string::npos, line.find(path)) << line;
    EXPECT_TRUE(log.Has("<position> attribute \"y\" is missing"));
    EXPECT_TRUE(log.Has(path + ": error  invalid type")) << "a param without type";
    EXPECT_EQ(4, log.Count("collision groups run from 0 to 31"));
    for (const char* zero : {"scale", "x", "y", "z", "mass", "speed", "delay"})
        EXPECT_FLOAT_EQ(0.0f, F(p, zero)) << zero;
    for (const char* zero : {"healthMax", "magic", "value", "count"}) EXPECT_EQ(0, I(p, zero)) << zero;
    EXPECT_FALSE(Has(p, "armor"));
    EXPECT_EQ("", S(p, "type")) << "a pickup without type reads as empty";
    EXPECT_EQ((std::vector<std::string>{""}), p.animNames);
    EXPECT_FALSE(Has(p, "group")) << "group 40 refused";
    EXPECT_EQ((std::vector<int>{7}), p.collidesWithList);
    OBB obb = GetParameter<OBB>(p, "obb");
    EXPECT_FLOAT_EQ(0.0f, obb.center.x) << "a malformed vector keeps the default";
    EXPECT_FLOAT_EQ(1.0f, obb.rot.s) << "a missing rot keeps the identity";
    EXPECT_FLOAT_EQ(0.0f, GetParameter<BoundingSphere>(p, "sphere").radius);
    EXPECT_FLOAT_EQ(1.0f, GetParameter<Vector>(p, "spawnDir").y) << "two numbers are enough";
    WeaponComp weapons = GetParameter<WeaponComp>(p, "weaponComp");
    EXPECT_EQ(nullptr, weapons.primary) << "no type, no weapon";
    ASSERT_NE(nullptr, weapons.secondary);
    EXPECT_EQ(0, weapons.secondary->num) << "100000 projectiles per pull refused";
    ASSERT_EQ(1u, weapons.secondary->hotspots.size());
    EXPECT_FLOAT_EQ(1.0f, weapons.secondary->hotspots[0].offset.y);
}

TEST(PatternParameters, CopiedPatternsOwnTheirWeapons) {
    ObjectPattern original;
    WeaponComp weapons;
    weapons.primary = new SimpleSpread();
    weapons.primary->owner = "first";
    SetParameter(original, "weaponComp", weapons);
    ObjectPattern copy(original);
    WeaponComp fromCopy = GetParameter<WeaponComp>(copy, "weaponComp");
    ASSERT_NE(nullptr, fromCopy.primary);
    EXPECT_NE(GetParameter<WeaponComp>(original, "weaponComp").primary, fromCopy.primary);
    EXPECT_EQ("first", fromCopy.primary->owner);
}

}  // namespace
