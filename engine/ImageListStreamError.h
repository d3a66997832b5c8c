#pragma once
// The error raised while an image-list stream is read.

#include <stdexcept>

namespace vexel {

/// A damaged or unreadable image-list stream; the message says where and why.
class TStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vexel
