#include "SimDisplay.h"

#include <stdexcept>

#include "engine/RecordingDevice.h"
#include "platform/GlDevice.h"

namespace racesim {

TSimDisplay::TSimDisplay(bool real, const std::string& imageFile) {
  std::unique_ptr<vexel::TDisplaySystem> system;
  if (real) {
    Window_ = std::make_unique<platform::TPlatformWindow>("race-sim", 800, 600);
    system = std::make_unique<platform::TGlSystem>(*Window_);
  } else {
    system = std::make_unique<vexel::TRecordingSystem>();
  }
  Screen_ = std::make_unique<vexel::TVexelScreen>(std::move(system));
  Screen_->Width = 800;
  Screen_->Height = 600;
  Screen_->CenterX = 400;
  Screen_->CenterY = 300;
  Screen_->SetBpp(32);
  Screen_->Initialize();
  Screen_->SetFiltering(true);
  Images_.SetVexelScreen(Screen_.get());
  if (!Images_.ImageList.LoadFromFile(imageFile)) {
    const std::string why = Images_.ImageList.LoadError();
    throw std::runtime_error("cannot load the race pictures " + imageFile +
                             (why.empty() ? "" : ": " + why));
  }
  Images_.Prepare();
}

TSimDisplay::~TSimDisplay() {
  Images_.SetVexelScreen(nullptr);
}

}  // namespace racesim
