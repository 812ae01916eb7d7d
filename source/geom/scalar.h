// Scalar helpers: random floats from the project-wide generator, sign and
// clamp, range overlap and bit flags. No state of their own; any thread.
#pragma once

// platform::Rand() / 32767: always within [0, 1]. Never seeds the generator.
float RandFloat();
// 1 when a draw is even, -1 when odd.
float RandSign();
// A sign from one draw (even gives +) times a second draw / 32767: [-1, 1].
float RandSignedFloat();

// 1 for x >= 0 (zero included), else -1.
float SignFloat(float x);
// max(value, min), then min(that, max): max wins when min > max.
float ClampFloat(float value, float min, float max);
// True when [aMin, aMax] and [bMin, bMax] overlap by more than a point.
bool RangeIntersect(float aMin, float aMax, float bMin, float bMax);

// Set / clear bit (n mod 32) of flags in place and return the new flags.
unsigned SetBit(unsigned& flags, unsigned n);
unsigned UnsetBit(unsigned& flags, unsigned n);
// 1 when bit n of flags is set, else 0; n of 32 or more is never set.
int CheckBit(unsigned flags, unsigned n);
