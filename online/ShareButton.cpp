#include "ShareButton.h"

#include "GoToLink.h"

namespace online {

bool TButton::Contains(int32_t x, int32_t y) const {
  const int64_t right = static_cast<int64_t>(NormalX) + ButtonWidth;
  const int64_t bottom = static_cast<int64_t>(NormalY) + ButtonHeight;
  return NormalX <= x && x <= right && NormalY <= y && y <= bottom;
}

void TButton::Click(const TGoToLink& links, const std::function<void()>& requestClose) const {
  if (IsExit()) {
    if (requestClose) requestClose();
    return;
  }
  links.OpenLinkFile(Action);
}

}  // namespace online
