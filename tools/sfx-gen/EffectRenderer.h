#pragma once

#include <vector>

#include "EffectDescription.h"

namespace sfx {

/// Renders `effect` to mono samples in [-1, 1] at kEffectSampleRate: the voices are mixed, the
/// echo applied, the edges faded (or, for a loop, the tail cross-faded into the start, which
/// makes the result shorter by the cross-fade) and the result scaled to the effect's peak level.
/// Throws std::runtime_error when the mix is silent.
std::vector<double> RenderEffect(const TEffectDescription& effect);

/// Amplitude of voice `voice` at `time` seconds after its start (attack, decay, sustain, release).
double EnvelopeLevel(const TVoiceDescription& voice, double time);

}  // namespace sfx
