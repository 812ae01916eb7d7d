// Trigger pulls of the firing weapons. Projectile spawning, the behaviour
// queue and the firing sounds arrive together with the weapons module; until
// then a pull of a SimpleSpread or a Missile fires nothing and changes
// nothing, so objects built from patterns can already carry their weapons.
#include "weapons.h"

void SimpleSpread::Fire(Vector) {}

void Missile::Fire(Vector) {}
