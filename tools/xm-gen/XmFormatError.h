#pragma once

#include <stdexcept>
#include <string>

namespace xm {

/// Raised when a module cannot be written as a valid XM file; the message says which part is
/// wrong and why.
class TXmFormatError : public std::invalid_argument {
 public:
  /// Makes an error with a plain-language message.
  explicit TXmFormatError(const std::string& message) : std::invalid_argument(message) {}
};

}  // namespace xm
