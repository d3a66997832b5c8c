#include "FuzzScreen.h"

namespace fuzz {

TFuzzScreen& TFuzzScreen::Instance() {
  static TFuzzScreen screen;
  return screen;
}

TFuzzScreen::TFuzzScreen() : Screen_(std::make_unique<vexel::TRecordingSystem>()) {
  Screen_.Initialize();
  Device_ = static_cast<vexel::TRecordingSystem*>(Screen_.System())->LastDevice;
}

void TFuzzScreen::ForgetCalls() {
  if (Device_) Device_->Calls.clear();
}

}  // namespace fuzz
