#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

/// Writes `bytes` to `path` through a temporary file that is renamed into place, so a failed run
/// never leaves a half-written output behind; throws std::runtime_error naming the path.
void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace synth
