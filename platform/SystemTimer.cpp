#include "SystemTimer.h"

namespace platform {

void TSystemTimer::SetEnabled(bool value) {
  if (value == Enabled()) return;
  if (value) {
    Id_ = Application_.StartTimer(Interval_, [this] {
      if (OnTimer) OnTimer();
    });
  } else {
    Application_.KillTimer(Id_);
    Id_ = 0;
  }
}

}  // namespace platform
