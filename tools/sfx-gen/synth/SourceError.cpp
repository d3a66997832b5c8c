#include "synth/SourceError.h"

namespace synth {

TSourceError::TSourceError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), Line_(line) {}

}  // namespace synth
