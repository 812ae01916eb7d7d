// The object-pattern reader on sample files (tests/objects/fixtures): every
// section of a rich file, the meanings of absent attributes, and broken files,
// which must be logged with their file name and never crash.
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
using ObjectFactory::LoadObjectPattern;
using ObjectFactory::SetParameter;

std::string Fixture(const std::string& name) {
    return std::string(QUELL_SOURCE_DIR) + "/tests/objects/fixtures/" + name;
}

ObjectPattern Load(const std::string& path) { return LoadObjectPattern(path.c_str()); }

float F(const ObjectPattern& p, const std::string& name) { return GetParameter<float>(p, name); }
int I(const ObjectPattern& p, const std::string& name) { return GetParameter<int>(p, name); }
bool B(const ObjectPattern& p, const std::string& name) { return GetParameter<bool>(p, name); }
std::string S(const ObjectPattern& p, const std::string& name) { return GetParameter<std::string>(p, name); }

// Every WARNING and ERROR line of the log text.
std::vector<std::string> ProblemLines(const std::string& log) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("WARNING:", 0) == 0 || line.rfind("ERROR:", 0) == 0) lines.push_back(line);
    return lines;
}

class RichPattern : public ::testing::Test {
protected:
    void SetUp() override { pattern = Load(path); }

    LogCapture log;
    const std::string path = Fixture("rich_pattern.xml");
    ObjectPattern pattern;
};

TEST_F(RichPattern, OnlyTheUnknownParamTypeIsReported) {
    std::vector<std::string> problems = ProblemLines(log.Text());
    ASSERT_EQ(1u, problems.size()) << log.Text();
    EXPECT_NE(std::string::npos, problems[0].find(path + ": error double invalid type"));
    EXPECT_EQ(path, S(pattern, "fileName"));
}

TEST_F(RichPattern, TypeResourcesAndPlacement) {
    EXPECT_EQ("ammo", S(pattern, "type")) << "the pickup type replaces the type section";
    EXPECT_TRUE(B(pattern, "isLevelObject")) << "only the first type section is read";
    EXPECT_TRUE(B(pattern, "graphics"));
    EXPECT_EQ("mesh_medium_mech", S(pattern, "mesh"));
    EXPECT_EQ("tex_medium_mech", S(pattern, "texture"));
    EXPECT_TRUE(B(pattern, "hasSkeleton"));
    EXPECT_EQ("skel_medium_mech", S(pattern, "skeleton"));
    EXPECT_EQ((std::vector<std::string>{"anim_medium_mech_walk", "anim_medium_mech_idle"}), pattern.animNames);
    EXPECT_FLOAT_EQ(1.5f, F(pattern, "scale"));
    EXPECT_FLOAT_EQ(1.0f, F(pattern, "x"));
    EXPECT_FLOAT_EQ(2.0f, F(pattern, "y"));
    EXPECT_FLOAT_EQ(-3.5f, F(pattern, "z"));
    EXPECT_FLOAT_EQ(0.75f, F(pattern, "offset"));
}

TEST_F(RichPattern, PhysicsAndStats) {
    EXPECT_TRUE(B(pattern, "physics"));
    EXPECT_FLOAT_EQ(12.5f, F(pattern, "mass")) << "a later behavior param of that name wins";
    EXPECT_TRUE(B(pattern, "infMass")) << "present, whatever its value";
    EXPECT_TRUE(B(pattern, "stats"));
    EXPECT_EQ(99, I(pattern, "healthMax")) << "99.9 truncated";
    EXPECT_FLOAT_EQ(5.0f, F(pattern, "speed"));
    EXPECT_FLOAT_EQ(2.0f, F(pattern, "armor"));
    EXPECT_FLOAT_EQ(50.0f, F(pattern, "boost"));
    EXPECT_EQ(3, I(pattern, "magic"));
}

TEST_F(RichPattern, WeaponsWithTheirHotSpotsAndBulletEffects) {
    EXPECT_TRUE(B(pattern, "weapon"));
    WeaponComp weapons = GetParameter<WeaponComp>(pattern, "weaponComp");

    auto* laser = dynamic_cast<SimpleSpread*>(weapons.primary);
    ASSERT_NE(nullptr, laser);
    EXPECT_EQ("enemyBullet", laser->bulletName);
    EXPECT_FLOAT_EQ(10.0f, laser->baseDamage);
    EXPECT_TRUE(laser->alternate);
    EXPECT_FLOAT_EQ(0.25f, laser->rate);
    EXPECT_DOUBLE_EQ(static_cast<double>(1.1f), laser->expire);
    EXPECT_FLOAT_EQ(60.0f, laser->speed);
    EXPECT_EQ(3, laser->num);
    EXPECT_FLOAT_EQ(0.2f, laser->spreadHorizontal);
    EXPECT_FLOAT_EQ(0.0f, laser->spreadVertical);
    EXPECT_TRUE(laser->uniformSpread);
    ASSERT_EQ(2u, laser->hotspots.size());
    EXPECT_EQ(2, laser->hotSpotCount);
    EXPECT_EQ("arm_right", laser->hotspots[1].boneName);
    EXPECT_FLOAT_EQ(-0.5f, laser->hotspots[1].offset.x);
    EXPECT_FLOAT_EQ(2.0f, laser->hotspots[1].offset.z);
    const BulletComp& shot = laser->bulletPrototype;
    EXPECT_EQ(10, shot.damage);
    EXPECT_EQ(5, shot.splash);
    EXPECT_FLOAT_EQ(4.0f, shot.radius);
    EXPECT_EQ(1, shot.faction);
    EXPECT_EQ(13, shot.groundEffect.effectType);
    EXPECT_FLOAT_EQ(0.9f, shot.groundEffect.effectSize);
    EXPECT_EQ(2, shot.mechEffect.effectType);
    EXPECT_EQ(19, shot.expireEffect.effectType);
    EXPECT_EQ(14, shot.buildingEffect.effectType);
    EXPECT_FLOAT_EQ(1.2f, shot.buildingEffect.effectSize);

    auto* launcher = dynamic_cast<Missile*>(weapons.secondary);
    ASSERT_NE(nullptr, launcher);
    EXPECT_EQ("enemyMissile", launcher->bulletName);
    EXPECT_FALSE(launcher->alternate);
    EXPECT_EQ(40, launcher->bulletPrototype.damage);
    EXPECT_EQ(7, launcher->bulletPrototype.groundEffect.effectType);
    for (const effectData* effect : {&launcher->bulletPrototype.mechEffect, &launcher->bulletPrototype.expireEffect,
                                     &launcher->bulletPrototype.buildingEffect}) {
        EXPECT_EQ(8, effect->effectType);
        EXPECT_FLOAT_EQ(6.0f, effect->effectSize);
    }
}

TEST_F(RichPattern, CollisionGroupsAndVolumes) {
    EXPECT_TRUE(B(pattern, "collision"));
    EXPECT_FALSE(B(pattern, "autoGenerate")) << "autoGenerate=\"no\"";
    EXPECT_EQ(2, I(pattern, "group"));
    EXPECT_EQ((std::vector<int>{1, 3}), pattern.collidesWithList);
    EXPECT_FALSE(HasParam(pattern.paramList, "collidesWith"));

    ASSERT_TRUE(B(pattern, "hasOBB"));
    OBB obb = GetParameter<OBB>(pattern, "obb");
    EXPECT_FLOAT_EQ(1.0f, obb.center.y);
    EXPECT_FLOAT_EQ(3.0f, obb.extents.z);
    EXPECT_FLOAT_EQ(1.0f, obb.rot.s);
    EXPECT_FLOAT_EQ(0.0f, obb.rot.v.x);
    EXPECT_FLOAT_EQ(0.0f, obb.rot.v.w);

    ASSERT_TRUE(B(pattern, "hasAABB"));
    EXPECT_FLOAT_EQ(1.5f, GetParameter<AABB>(pattern, "aabb").center.y);
    ASSERT_TRUE(B(pattern, "hasSphere"));
    BoundingSphere sphere = GetParameter<BoundingSphere>(pattern, "sphere");
    EXPECT_FLOAT_EQ(2.5f, sphere.radius);
    EXPECT_FLOAT_EQ(1.0f, sphere.center.y);
}

TEST_F(RichPattern, BehaviourParamsSpawnAndPickup) {
    EXPECT_TRUE(B(pattern, "behavior"));
    EXPECT_EQ("inactive", S(pattern, "state"));
    EXPECT_EQ("player", S(pattern, "target"));
    EXPECT_EQ(7, I(pattern, "count"));
    EXPECT_TRUE(B(pattern, "aggressive"));
    EXPECT_FALSE(B(pattern, "shy")) << "only the exact text true is true";
    EXPECT_FALSE(HasParam(pattern.paramList, "precise"));
    EXPECT_FLOAT_EQ(2.0f, F(pattern, "after")) << "reading goes on after a bad param";

    EXPECT_TRUE(B(pattern, "spawn"));
    EXPECT_FLOAT_EQ(4.5f, F(pattern, "delay"));
    EXPECT_FLOAT_EQ(1.0f, GetParameter<Vector>(pattern, "spawnDir").z);
    EXPECT_TRUE(B(pattern, "pickup"));
    EXPECT_EQ(25, I(pattern, "value"));
}

TEST(PatternAbsentValues, AbsentAttributesWithAMeaningTakeItSilently) {
    LogCapture log;
    ObjectPattern mech = Load(Fixture("enemy_mech.xml"));
    EXPECT_TRUE(ProblemLines(log.Text()).empty()) << log.Text();
    EXPECT_FALSE(B(mech, "isLevelObject"));
    EXPECT_FALSE(B(mech, "infMass"));
    EXPECT_TRUE(B(mech, "autoGenerate"));
    EXPECT_FALSE(B(mech, "hasOBB"));
    EXPECT_FALSE(B(mech, "hasAABB"));
    EXPECT_FALSE(B(mech, "hasSphere"));
    EXPECT_FALSE(HasParam(mech.paramList, "hasSkeleton"));
    EXPECT_TRUE(mech.animNames.empty());
    WeaponComp weapons = GetParameter<WeaponComp>(mech, "weaponComp");
    ASSERT_NE(nullptr, dynamic_cast<Missile*>(weapons.primary));
    EXPECT_FALSE(weapons.primary->alternate);
    EXPECT_EQ(nullptr, weapons.secondary);
    EXPECT_EQ(0, I(mech, "group"));

    ObjectPattern spawn = Load(Fixture("spawn_point.xml"));
    EXPECT_TRUE(ProblemLines(log.Text()).empty()) << log.Text();
    EXPECT_FALSE(B(spawn, "isLevelObject")) << "TRUE is not a t-flag";
    EXPECT_FLOAT_EQ(2.0f, F(spawn, "delay"));
    EXPECT_FALSE(HasParam(spawn.paramList, "spawnDir"));
    EXPECT_FALSE(HasParam(spawn.paramList, "graphics"));
    EXPECT_FALSE(HasParam(spawn.paramList, "physics"));
}

TEST(PatternBrokenFiles, AnUnreadableFileLeavesOnlyTheFileName) {
    for (const std::string& path : {Fixture("no_such_pattern.xml"), Fixture("not_xml.xml")}) {
        LogCapture log;
        ObjectPattern pattern = Load(path);
        EXPECT_TRUE(log.Has("can't load file " + path + "\n")) << path;
        ASSERT_EQ(1u, pattern.paramList.size()) << path;
        EXPECT_EQ(path, S(pattern, "fileName"));
    }
    LogCapture log;
    ObjectPattern unnamed = LoadObjectPattern(nullptr);
    EXPECT_TRUE(log.Has("can't load file "));
    EXPECT_EQ("", S(unnamed, "fileName"));
}

TEST(PatternBrokenFiles, DeeplyNestedXmlIsRefusedBeforeParsing) {
    // TinyXML recurses per nesting level; a hostile file must not reach it.
    const std::string path = ::testing::TempDir() + "deep_pattern.xml";
    {
        std::ofstream out(path);
        out << "<object>";
        for (int i = 0; i < 100000; ++i) out << "<a>";
        out << "</object>";
    }
    LogCapture log;
    ObjectPattern pattern = Load(path);
    EXPECT_TRUE(log.Has("can't load file " + path + "\n")) << log.Text();
    EXPECT_EQ(1u, pattern.paramList.size());
}

TEST(PatternBrokenFiles, AFileWithoutAnObjectElementHoldsOnlyItsName) {
    ObjectPattern pattern = Load(Fixture("other_root.xml"));
    EXPECT_EQ(1u, pattern.paramList.size());
    EXPECT_TRUE(pattern.animNames.empty());
}

class BadValues : public ::testing::Test {
protected:
    void SetUp() override { pattern = Load(path); }

    LogCapture log;
    const std::string path = Fixture("bad_values.xml");
    ObjectPattern pattern;
};

TEST_F(BadValues, EveryProblemIsLoggedWithTheFileName) {
    std::vector<std::string> problems = ProblemLines(log.Text());
    EXPECT_GE(problems.size(), 20u) << log.Text();
    for (const std::string& line : problems) EXPECT_NE(std::string::npos, line.find(path)) << line;
}

TEST_F(BadValues, MalformedAndMissingNumbersReadAsZero) {
    EXPECT_FLOAT_EQ(0.0f, F(pattern, "scale"));
    EXPECT_FLOAT_EQ(0.0f, F(pattern, "x")) << "1e999 is out of float range";
    EXPECT_FLOAT_EQ(0.0f, F(pattern, "y")) << "missing";
    EXPECT_FLOAT_EQ(0.0f, F(pattern, "z")) << "nan";
    EXPECT_FLOAT_EQ(0.0f, F(pattern, "mass"));
    EXPECT_FALSE(B(pattern, "infMass"));
    EXPECT_EQ(0, I(pattern, "healthMax"));
    EXPECT_FLOAT_EQ(0.0f, F(pattern, "speed"));
    EXPECT_EQ(0, I(pattern, "magic")) << "2.5 is not an integer";
    EXPECT_FALSE(HasParam(pattern.paramList, "armor"));
    EXPECT_FLOAT_EQ(0.0f, F(pattern, "delay"));
    EXPECT_EQ(0, I(pattern, "value"));
    EXPECT_EQ("", S(pattern, "type")) << "a pickup without type reads as empty";
    EXPECT_EQ((std::vector<std::string>{""}), pattern.animNames);
    EXPECT_TRUE(log.Has("<scale> attribute \"value\""));
    EXPECT_TRUE(log.Has("<position> attribute \"y\" is missing"));
}

TEST_F(BadValues, CollisionGroupsOutsideTheMaskAreRefused) {
    EXPECT_FALSE(HasParam(pattern.paramList, "group")) << "group 40 refused";
    EXPECT_EQ((std::vector<int>{7}), pattern.collidesWithList);
    EXPECT_EQ(4, log.Count("collision groups run from 0 to 31"));

    OBB obb = GetParameter<OBB>(pattern, "obb");
    EXPECT_FLOAT_EQ(0.0f, obb.center.x) << "a malformed vector keeps the default";
    EXPECT_FLOAT_EQ(1.0f, obb.extents.x);
    EXPECT_FLOAT_EQ(1.0f, obb.rot.s) << "a missing rot keeps the identity";
    EXPECT_FALSE(B(pattern, "hasAABB"));
    EXPECT_FLOAT_EQ(0.0f, GetParameter<BoundingSphere>(pattern, "sphere").radius);
}

TEST_F(BadValues, WeaponsAndParamsDegradeSafely) {
    WeaponComp weapons = GetParameter<WeaponComp>(pattern, "weaponComp");
    EXPECT_EQ(nullptr, weapons.primary) << "no type, no weapon";
    ASSERT_NE(nullptr, weapons.secondary);
    EXPECT_EQ(0, weapons.secondary->num) << "100000 projectiles per pull refused";
    ASSERT_EQ(1u, weapons.secondary->hotspots.size());
    EXPECT_EQ("", weapons.secondary->hotspots[0].boneName);
    EXPECT_FLOAT_EQ(1.0f, weapons.secondary->hotspots[0].offset.y);

    EXPECT_TRUE(log.Has(path + ": error  invalid type")) << "a param without type";
    EXPECT_EQ(0, I(pattern, "count"));
    EXPECT_FLOAT_EQ(1.0f, GetParameter<Vector>(pattern, "spawnDir").y) << "two numbers are enough";
}

TEST(PatternParameters, SetReplacesSilentlyAndGetChecksTheType) {
    ObjectPattern pattern;
    SetParameter(pattern, "mass", 1.5f);
    SetParameter(pattern, "mass", std::string("heavy"));
    EXPECT_EQ("heavy", S(pattern, "mass"));
    EXPECT_TRUE(HasParam(pattern.paramList, "mass"));
    EXPECT_FALSE(HasParam(pattern.paramList, "Mass"));

    EXPECT_THROW(GetParameter<float>(pattern, "mass"), boost::bad_any_cast);
    try {
        GetParameter<int>(pattern, "missing");
        FAIL() << "a missing name must throw";
    } catch (const ParamTypeError& error) {
        EXPECT_EQ("missing", error.ParamKey());
    }
    SetParameter(pattern, "count", 3);
    EXPECT_THROW(GetParameter<float>(pattern, "count"), boost::bad_any_cast) << "an int is not a float";
}

TEST(PatternParameters, CopiedPatternsOwnTheirOwnWeapons) {
    ObjectPattern original;
    WeaponComp weapons;
    weapons.primary = new SimpleSpread();
    weapons.primary->owner = "first";
    SetParameter(original, "weaponComp", weapons);

    ObjectPattern copy(original);
    WeaponComp fromCopy = GetParameter<WeaponComp>(copy, "weaponComp");
    WeaponComp fromOriginal = GetParameter<WeaponComp>(original, "weaponComp");
    ASSERT_NE(nullptr, fromCopy.primary);
    EXPECT_NE(fromOriginal.primary, fromCopy.primary);
    EXPECT_EQ("first", fromCopy.primary->owner);
}

TEST(PatternText, ParseFloatListFillsSThenTheVector) {
    Quaternion q = ObjectFactory::ParseFloatList("1,0,0");
    EXPECT_FLOAT_EQ(1.0f, q.s);
    EXPECT_FLOAT_EQ(0.0f, q.v.x);
    EXPECT_FLOAT_EQ(0.0f, q.v.w);

    q = ObjectFactory::ParseFloatList("0.5,1,2,3,4,99");
    EXPECT_FLOAT_EQ(0.5f, q.s);
    EXPECT_FLOAT_EQ(3.0f, q.v.z);
    EXPECT_FLOAT_EQ(4.0f, q.v.w) << "a sixth number is ignored";

    q = ObjectFactory::ParseFloatList("");
    EXPECT_FLOAT_EQ(0.0f, q.s) << "nothing read: all zero, not the identity";
}

TEST(PatternText, StringToVectorStopsAtTheFirstGap) {
    Vector v = StringToVector("1,2,3");
    EXPECT_FLOAT_EQ(3.0f, v.z);
    EXPECT_FLOAT_EQ(0.0f, v.w);
    EXPECT_FLOAT_EQ(4.0f, StringToVector("1,2,3,4").w);

    v = StringToVector("1,,3");
    EXPECT_FLOAT_EQ(1.0f, v.x);
    EXPECT_FLOAT_EQ(0.0f, v.z) << "reading stops at the empty item";

    v = StringToVector(" -1.5e2, 0.25 ,9");
    EXPECT_FLOAT_EQ(-150.0f, v.x);
    EXPECT_FLOAT_EQ(0.25f, v.y);
    EXPECT_FLOAT_EQ(0.0f, v.z) << "a blank before the comma ends the list";

    v = StringToVector("nan,1,2");
    EXPECT_FLOAT_EQ(0.0f, v.x);
    EXPECT_FLOAT_EQ(0.0f, v.y) << "a value that is not finite ends the list";
    EXPECT_FLOAT_EQ(2.0f, StringToVector("2,1e40,3").x);
    EXPECT_FLOAT_EQ(0.0f, StringToVector("2,1e40,3").y);
    EXPECT_FLOAT_EQ(0.0f, StringToVector("garbage").x);
}

}  // namespace
