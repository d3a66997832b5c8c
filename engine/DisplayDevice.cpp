#include "DisplayDevice.h"

#include <utility>

namespace vexel {

TTexture::TTexture(int32_t width, int32_t height, std::vector<uint32_t> texels)
    : Width_(width), Height_(height), Texels_(std::move(texels)) {}

}  // namespace vexel
