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

void SetEffect(effectData& effect, int32_t type, float size) {
    effect.effectType = type;
    effect.effectSize = size;
}

Weapon* MakeSimpleSpread() {
    Weapon* weapon = new SimpleSpread();
    weapon->bulletName = "enemyBullet";
    BulletComp& bullet = weapon->bulletPrototype;
    SetEffect(bullet.groundEffect, 13, 0.9f);
    SetEffect(bullet.mechEffect, 2, 0.9f);
    bullet.expireEffect.effectType = 19;  // its size stays as constructed
    SetEffect(bullet.buildingEffect, 14, 1.2f);
    return weapon;
}

Weapon* MakeMissile() {
    Weapon* weapon = new Missile();
    weapon->bulletName = "enemyMissile";
    BulletComp& bullet = weapon->bulletPrototype;
    SetEffect(bullet.groundEffect, 7, 6.0f);
    SetEffect(bullet.mechEffect, 8, 6.0f);
    SetEffect(bullet.expireEffect, 8, 6.0f);
    SetEffect(bullet.buildingEffect, 8, 6.0f);
    return weapon;
}

}  // namespace

Weapon* PatternReader::ReadWeapon(const TiXmlElement& element) {
    const std::string type = StringAttr(element, "type");
    std::unique_ptr<Weapon> weapon;
    if (type == "SimpleSpread") {
        weapon.reset(MakeSimpleSpread());
    } else if (type == "Missile") {
        weapon.reset(MakeMissile());
    } else {
        return nullptr;
    }
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
