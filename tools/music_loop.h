// The background music: a short procedural loop in A minor (pad, bass,
// arpeggio and light drums), stereo, whose end runs seamlessly into its
// start.
#pragma once

#include "synth_kit.h"

namespace music {

struct StereoSignal {
    synth::Signal left;
    synth::Signal right;
};

StereoSignal BackgroundLoop();

}  // namespace music
