#pragma once

#include <string_view>

#include "EffectDescription.h"

namespace sfx {

/// Reads an effect source: effect settings first, then one "voice" block per sound source.
/// Throws synth::TSourceError with the line number on any mistake.
TEffectDescription ParseEffect(std::string_view text);

}  // namespace sfx
