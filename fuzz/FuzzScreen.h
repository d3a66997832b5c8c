#pragma once
// The display device of the fuzz targets that make textures.

#include <memory>

#include "engine/RecordingDevice.h"
#include "engine/VexelScreen.h"

namespace fuzz {

/// A screen on the recording back end (no GPU) that image lists can make their textures on;
/// made once per fuzz process and shared by its inputs.
class TFuzzScreen {
 public:
  /// The process's screen, initialised on first use.
  static TFuzzScreen& Instance();

  /// The screen image lists bind to.
  vexel::TVexelScreen& Screen() { return Screen_; }
  /// Forgets the calls recorded for the previous input.
  void ForgetCalls();

 private:
  TFuzzScreen();

  vexel::TVexelScreen Screen_;
  vexel::TRecordingDevice* Device_ = nullptr;
};

}  // namespace fuzz
