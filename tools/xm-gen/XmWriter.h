#pragma once

#include <cstdint>
#include <vector>

#include "XmModule.h"

namespace xm {

/// Serialises `module` as an XM file (version 0x0104, packed patterns, delta-coded 16-bit
/// samples). Validates it first and throws TXmFormatError when it cannot be stored.
std::vector<std::uint8_t> WriteXm(const TModule& module);

}  // namespace xm
