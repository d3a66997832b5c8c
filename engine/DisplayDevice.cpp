#include "DisplayDevice.h"

#include <utility>

namespace vexel {

TTexture::TTexture(int32_t width, int32_t height, std::vector<uint32_t> texels)
    : Width_(width), Height_(height), Texels_(std::move(texels)), TexelsHeld_(true) {}

TTexture::TTexture(int32_t width, int32_t height)
    : Width_(width), Height_(height), TexelsHeld_(false) {}

const std::vector<uint32_t>& TTexture::Texels() const {
  if (!TexelsHeld_) {
    Texels_ = ReadTexels();
    TexelsHeld_ = true;
  }
  return Texels_;
}

}  // namespace vexel
