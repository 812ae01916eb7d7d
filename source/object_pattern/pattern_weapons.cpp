// PatternReader's weapon elements ("primary" and "secondary" of a pattern's
// "weapons" section): enemy weapons with their fixed bullet effects.
#include <memory>

#include <tinyxml.h>

#include "module.h"
#include "object_pattern/pattern_reader.h"
#include "system/source_position.h"
#include "system.h"
#include "xml_file/text_numbers.h"
#include "weapons.h"
#include "xml_file/xml_text.h"

namespace {

// A larger fan per pull would flood the object table.
const int kMostProjectilesPerPull = 100;
const int32_t kEnemyFaction = 1;

// An effect's type and size; a size below 0 keeps the one the bullet was built with.
struct EffectSetting {
    int32_t type;
    float size;
};

// The enemies' two weapon kinds with their fixed bullets: the effects on the
// ground, on a mech, on expiry and on a building.
const struct {
    const char* type;
    const char* bulletName;
    Weapon* (*make)();
    EffectSetting effects[4];
} kEnemyWeapons[] = {
    {"SimpleSpread", "enemyBullet", [] { return static_cast<Weapon*>(new SimpleSpread()); },
     {{13, 0.9f}, {2, 0.9f}, {19, -1.0f}, {14, 1.2f}}},
    {"Missile", "enemyMissile", [] { return static_cast<Weapon*>(new Missile()); },
     {{7, 6.0f}, {8, 6.0f}, {8, 6.0f}, {8, 6.0f}}},
};

// A new weapon of the named kind with its bullet set up; null for an unknown kind.
Weapon* MakeEnemyWeapon(const std::string& type) {
    for (const auto& kind : kEnemyWeapons) {
        if (type != kind.type) continue;
        Weapon* weapon = kind.make();
        weapon->bulletName = kind.bulletName;
        BulletComp& bullet = weapon->bulletPrototype;
        effectData* effects[4] = {&bullet.groundEffect, &bullet.mechEffect, &bullet.expireEffect, &bullet.buildingEffect};
        for (int i = 0; i < 4; ++i) {
            effects[i]->effectType = kind.effects[i].type;
            if (kind.effects[i].size >= 0.0f) effects[i]->effectSize = kind.effects[i].size;
        }
        return weapon;
    }
    return nullptr;
}

}  // namespace

Weapon* PatternReader::ReadWeapon(const TiXmlElement& element) {
    std::unique_ptr<Weapon> weapon(MakeEnemyWeapon(StringAttr(element, "type")));
    if (!weapon) return nullptr;
    weapon->bulletPrototype.faction = kEnemyFaction;
    ReadWeaponNumbers(element, *weapon);
    ReadHotSpots(element, *weapon);
    BulletComp& bullet = weapon->bulletPrototype;
    bullet.damage = TruncateToInt(weapon->baseDamage);
    bullet.splash = IntAttr(element, "splash");
    bullet.radius = static_cast<float>(IntAttr(element, "radius"));
    return weapon.release();
}

void PatternReader::ReadWeaponNumbers(const TiXmlElement& element, Weapon& weapon) {
    weapon.baseDamage = static_cast<float>(IntAttr(element, "damage"));
    weapon.alternate = TFlagAttribute(element, "alternate");
    weapon.rate = FloatAttr(element, "rate");
    weapon.expire = FloatAttr(element, "expire");
    weapon.speed = FloatAttr(element, "speed");
    int num = IntAttr(element, "num");
    if (num < 0 || num > kMostProjectilesPerPull) {
        Module<System>::Instance()->Error(SOURCE_POS + fileName + ": <" + element.Value() +
                                          "> attribute \"num\" refused: " + std::to_string(num) +
                                          " is outside 0 to " + std::to_string(kMostProjectilesPerPull));
        num = 0;
    }
    weapon.num = num;
    weapon.spreadHorizontal = FloatAttr(element, "spread");
}

void PatternReader::ReadHotSpots(const TiXmlElement& element, Weapon& weapon) {
    // From the first "hotSpot" on, every following element is a hot spot.
    for (const TiXmlElement* spot = element.FirstChildElement("hotSpot"); spot; spot = spot->NextSiblingElement()) {
        Vector trans = VectorAttr(*spot, "trans", Vector());
        weapon.AddHotSpot(trans.x, trans.y, trans.z, StringAttr(*spot, "bone"));
    }
}
