#pragma once
// Image lists: named pictures with animation cells, made into textures and drawn as quads.

#include <functional>
#include <string>

#include "DeviceClient.h"
#include "VexelImageListCollection.h"
#include "VexelImageListItem.h"
#include "VexelRenderer.h"

namespace vexel {

class TVexelScreen;

/// An image-list component: a collection of named pictures, bound to a display device that
/// makes their textures; entries are found by name and drawn through the list's renderer.
/// A list registered with a screen must be destroyed, or given no screen, before that screen.
class TVexelImageList : public TDeviceClient {
 public:
  TVexelImageList() = default;
  ~TVexelImageList() override;
  TVexelImageList(const TVexelImageList&) = delete;
  TVexelImageList& operator=(const TVexelImageList&) = delete;

  /// Binds the renderer to the screen and, with a device, restores every entry in order.
  void Prepare();
  /// Unbinds every entry; releases the textures too when asked.
  void Unprepare(bool releaseTextures);
  /// Gives back the textures of the entries whose names `unused` accepts; each is made again
  /// from its picture when next drawn.
  void ReleaseTextures(const std::function<bool(const std::string& name)>& unused);
  /// Brackets direct drawing (nothing to do on this platform).
  void BeginBatch() {}
  /// Closes the bracket of BeginBatch (nothing to do on this platform).
  void EndBatch() {}
  /// Sets the display device (registering with it and leaving the previous one) or none.
  void SetVexelScreen(TVexelScreen* screen);

  TDeviceClientKind DeviceClientKind() const override { return TDeviceClientKind::ImageList; }
  void DeviceRestore() override { Prepare(); }
  void DeviceInvalidate() override { Unprepare(false); }

  TImageListCollection ImageList{this};
  TVexelScreen* VexelScreen = nullptr;
  TVexelRenderer Renderer;
  /// Called when an entry's texture cannot be made: the game ends the application.
  std::function<void()> OnTerminateRequest;
};

}  // namespace vexel
