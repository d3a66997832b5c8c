#pragma once

#include <stdexcept>
#include <string>

namespace synth {

/// A mistake in a text source file, reported with the line it was found on.
class TSourceError : public std::runtime_error {
 public:
  /// Makes an error for line `line` (1-based) with a plain-language message.
  TSourceError(int line, const std::string& message);

  /// The 1-based line number the error refers to.
  int Line() const { return Line_; }

 private:
  int Line_;
};

}  // namespace synth
