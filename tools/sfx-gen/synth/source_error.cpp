#include "synth/source_error.h"

namespace synth {

SourceError::SourceError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}

}  // namespace synth
