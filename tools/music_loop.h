// The background music: a 64-second procedural piece in A minor (pad, bass,
// arpeggio, drums and a lead over three eight-bar phrases), stereo, whose
// end runs seamlessly into its start.
#pragma once

#include "synth_kit.h"

namespace music {

struct StereoSignal {
    synth::Signal left;
    synth::Signal right;
};

StereoSignal BackgroundLoop();

}  // namespace music
