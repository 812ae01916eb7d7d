// The game's sound effects, synthesized: each returns a finished mono
// signal at synth::kRate (normalised, clickless ends; the boost a seamless
// loop).
#pragma once

#include "synth_kit.h"

namespace effects {

synth::Signal Laser1();
synth::Signal Laser2();
synth::Signal MissileLaunch();
synth::Signal ExplosionShort();
synth::Signal ExplosionLong();
synth::Signal ShieldHit(int variant);  // 1..3
synth::Signal HullHit();
synth::Signal Step();
synth::Signal Landing();
synth::Signal BoostLoop();
synth::Signal HealthPickup();
synth::Signal ShieldRecharge();

}  // namespace effects
