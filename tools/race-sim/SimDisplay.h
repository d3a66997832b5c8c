#pragma once
// The display device and race pictures of the simulator.

#include <memory>
#include <string>

#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "platform/PlatformWindow.h"

namespace racesim {

/// The display device the simulated race draws on, with the race image list loaded from the
/// game's race pictures: the recording back end (no GPU), or real OpenGL in a window of its own
/// when pictures are wanted.
class TSimDisplay {
 public:
  /// Loads the race pictures from imageFile; with real, draws through OpenGL. Throws
  /// std::runtime_error naming the file when the pictures cannot be loaded.
  TSimDisplay(bool real, const std::string& imageFile);
  ~TSimDisplay();
  TSimDisplay(const TSimDisplay&) = delete;
  TSimDisplay& operator=(const TSimDisplay&) = delete;

  /// The display device.
  vexel::TVexelScreen& Screen() { return *Screen_; }
  /// The race image list.
  vexel::TVexelImageList& Images() { return Images_; }

 private:
  std::unique_ptr<platform::TPlatformWindow> Window_;
  std::unique_ptr<vexel::TVexelScreen> Screen_;
  vexel::TVexelImageList Images_;
};

}  // namespace racesim
