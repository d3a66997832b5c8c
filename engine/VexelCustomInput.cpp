#include "VexelCustomInput.h"

#include "VexelInput.h"

namespace vexel {

void TCustomInput::Finalize() {
  if (Device_) Device_->Unacquire();
  Device_.reset();
  Initialized_ = false;
}

void TCustomInput::Acquire() {
  if (Device_) Device_->Acquire();
}

void TCustomInput::SetEnabled(bool value) {
  if (value) {
    Enabled_ = true;
    if (!Initialized_ && Owner_.Initialized()) {
      Initialize();
      Acquire();
    }
    return;
  }
  if (Initialized_) Finalize();
  Enabled_ = false;
}

void TCustomInput::SetForegroundOnly(bool value) {
  if (value == ForegroundOnly_) return;
  ForegroundOnly_ = value;
  Reinitialize();
}

void TCustomInput::SetExclusive(bool value) {
  if (value == Exclusive_) return;
  Exclusive_ = value;
  Reinitialize();
}

void TCustomInput::Reinitialize() {
  if (!Initialized_) return;
  Initialize();
  Acquire();
}

void TCustomInput::CopyInputSettings(const TCustomInput& other) {
  Enabled_ = other.Enabled_;
  ForegroundOnly_ = other.ForegroundOnly_;
  Exclusive_ = other.Exclusive_;
}

}  // namespace vexel
