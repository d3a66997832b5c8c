#pragma once

#include <string_view>

#include "effect_description.h"

namespace sfx {

/// Reads an effect source: effect settings first, then one "voice" block per sound source.
/// Throws synth::SourceError with the line number on any mistake.
EffectDescription ParseEffect(std::string_view text);

}  // namespace sfx
