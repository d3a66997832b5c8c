#include "VexelGUI.h"

#include <algorithm>
#include <cmath>

#include "VexelImageListItem.h"
#include "VexelScreen.h"

namespace vexel {
namespace {

// Mouse moves closer together than this are left to the form.
constexpr uint32_t kMoveInterval = 10;

int32_t ScaledCoordinate(int32_t value, float scale) {
  const auto position = static_cast<uint16_t>(value);
  return static_cast<int32_t>(std::nearbyint(static_cast<double>(position) * scale));
}

float ScaleOf(int32_t deviceSide, int32_t eventSide) {
  if (deviceSide == 0 || eventSide <= 0) return 1;
  return static_cast<float>(static_cast<double>(deviceSide) / eventSide);
}

}  // namespace

/// Marks the time an event is being dispatched; when the outermost one ends, the lists and
/// widgets freed meanwhile are released.
class TVexelGUI::TDispatchScope {
 public:
  explicit TDispatchScope(TVexelGUI& gui) : GUI_(gui) { ++GUI_.DispatchDepth_; }
  ~TDispatchScope() {
    if (--GUI_.DispatchDepth_ == 0) GUI_.PurgeFreed();
  }
  TDispatchScope(const TDispatchScope&) = delete;
  TDispatchScope& operator=(const TDispatchScope&) = delete;

 private:
  TVexelGUI& GUI_;
};

TVexelGUI::TVexelGUI() : Widgets_(1, nullptr) {}

TVexelGUI::~TVexelGUI() {
  while (!Lists_.empty()) Lists_.pop_back();
  SetVexelScreen(nullptr);
}

void TVexelGUI::SetVexelScreen(TVexelScreen* screen) {
  if (screen == VexelScreen_) return;
  if (VexelScreen_) VexelScreen_->RemoveClient(this);
  VexelScreen_ = screen;
  if (VexelScreen_) VexelScreen_->AddClient(this);
}

void TVexelGUI::Initialize() {
  if (!VexelScreen_) return;
  Hooked_ = true;
  MeasureScale();
}

void TVexelGUI::Finalize() {
  Hooked_ = false;
}

void TVexelGUI::DeviceRestore() {
  MeasureScale();
}

void TVexelGUI::MeasureScale() {
  if (!VexelScreen_) return;
  // Events already come in back-buffer pixels, so both sizes are the back buffer's.
  const TPresentParams& params = VexelScreen_->PresentParams();
  MouseScaleX_ = ScaleOf(VexelScreen_->Width, params.BackBufferWidth);
  MouseScaleY_ = ScaleOf(VexelScreen_->Height, params.BackBufferHeight);
}

bool TVexelGUI::HandleEvent(const platform::TPlatformEvent& event, uint32_t nowMilliseconds) {
  if (!Hooked_) return false;
  using T = platform::TPlatformEvent::TType;
  const TDispatchScope scope(*this);
  if (event.Type == T::MouseMove || event.Type == T::MouseDown || event.Type == T::MouseUp) {
    HighlightID = 0;
  }
  switch (event.Type) {
    case T::MouseMove:
      return AcceptMove(event, nowMilliseconds);
    case T::MouseDown:
    case T::MouseUp:
      ButtonEvent(event, event.Type == T::MouseDown);
      return true;
    case T::Char:
      DispatchKey(true, event.Char);
      return true;
    case T::KeyDown:
      DispatchKey(false, event.Key);
      return false;
    default:
      return false;
  }
}

bool TVexelGUI::AcceptMove(const platform::TPlatformEvent& event, uint32_t nowMilliseconds) {
  if (MoveSeen_ && nowMilliseconds - LastMoveTime_ < kMoveInterval) return false;
  MoveSeen_ = true;
  LastMoveTime_ = nowMilliseconds;
  CopyMouseState();
  MeasureScale();
  MouseX = ScaledCoordinate(event.X, MouseScaleX_);
  MouseY = ScaledCoordinate(event.Y, MouseScaleY_);
  HoverID = 0;
  // By index: a handler may add lists while they are being tested.
  for (size_t i = 0; i < Lists_.size(); ++i) Lists_[i]->MouseMove();
  return true;
}

void TVexelGUI::ButtonEvent(const platform::TPlatformEvent& event, bool down) {
  using B = platform::TPlatformEvent::TButton;
  CopyMouseState();
  switch (event.Button) {
    case B::Left:
      LeftDown = down;
      if (down) PressedID = HoverID;
      DispatchMouse(TMouseButton::mbLeft, down);
      if (!down) PressedID = -1;
      break;
    case B::Right:
      RightDown = down;
      DispatchMouse(TMouseButton::mbRight, down);
      break;
    case B::Middle:
      MiddleDown = down;
      DispatchMouse(TMouseButton::mbMiddle, down);
      break;
  }
}

void TVexelGUI::DispatchMouse(TMouseButton button, bool down) {
  if (HoverID <= 0 || Lists_.empty()) return;
  TVexelGUIComponent* widget = WidgetByID(HoverID);
  // A widget hidden, disabled or freed since the last accepted move takes no clicks.
  if (!widget || !widget->TakesMouse()) return;
  const TShiftState shift = MouseShift();
  if (down) {
    if (widget->OnMouseDown) {
      const auto handler = widget->OnMouseDown;
      handler(*this, button, shift, MouseX, MouseY);
    }
    return;
  }
  if (button == TMouseButton::mbLeft && PressedID == HoverID) {
    widget->Click();
  } else if (widget->OnMouseUp) {
    const auto handler = widget->OnMouseUp;
    handler(*this, button, shift, MouseX, MouseY);
  }
}

void TVexelGUI::DispatchKey(bool isChar, int32_t key) {
  if (FocusID < 1) return;
  TVexelGUIComponent* widget = WidgetByID(FocusID);
  if (!widget || !widget->List().Enabled || !widget->List().Alive()) return;
  widget->KeyEvent(isChar, key, 0);
}

TShiftState TVexelGUI::MouseShift() const {
  return (LeftDown ? ssLeft : 0) | (RightDown ? ssRight : 0) | (MiddleDown ? ssMiddle : 0);
}

void TVexelGUI::CopyMouseState() {
  Previous = {MouseX, MouseY, HoverID, LeftDown, RightDown, MiddleDown};
}

void TVexelGUI::Draw() {
  if (Image) Image->Draw(0, 0, -1);
  for (size_t i = 0; i < Lists_.size(); ++i) Lists_[i]->Draw();
}

bool TVexelGUI::ClickWidget(int32_t id) {
  TVexelGUIComponent* widget = WidgetByID(id);
  if (!widget || !widget->TakesMouse()) return false;
  const TDispatchScope scope(*this);
  widget->Click();
  return true;
}

TVexelGUIList& TVexelGUI::AddList(const std::string& name) {
  Lists_.push_back(std::make_unique<TVexelGUIList>(*this, name));
  return *Lists_.back();
}

void TVexelGUI::FreeList(TVexelGUIList& list) {
  if (&list.GUI() != this) return;
  list.Retire();
  if (!Dispatching()) PurgeFreed();
}

void TVexelGUI::MoveToEnd(const TVexelGUIList& list) {
  const auto found = std::find_if(Lists_.begin(), Lists_.end(),
                                  [&list](const auto& l) { return l.get() == &list; });
  if (found != Lists_.end()) std::rotate(found, found + 1, Lists_.end());
}

TVexelGUIList* TVexelGUI::FindList(const std::string& name) const {
  for (const auto& list : Lists_) {
    if (list->Alive() && list->Name == name) return list.get();
  }
  return nullptr;
}

TVexelGUIComponent* TVexelGUI::WidgetByID(int32_t id) const {
  if (id <= 0 || id >= IDTableSize()) return nullptr;
  return Widgets_[static_cast<size_t>(id)];
}

int32_t TVexelGUI::RegisterWidget(TVexelGUIComponent& widget) {
  Widgets_.push_back(&widget);
  return NextID_++;
}

void TVexelGUI::UnregisterWidget(int32_t id) {
  if (id > 0 && id < IDTableSize()) Widgets_[static_cast<size_t>(id)] = nullptr;
}

void TVexelGUI::PurgeFreed() {
  // Moved out first: freeing a list runs widget destructors that look into the ID table.
  std::vector<std::unique_ptr<TVexelGUIList>> freed;
  for (auto& list : Lists_) {
    if (!list->Alive()) freed.push_back(std::move(list));
  }
  std::erase(Lists_, nullptr);
  for (const auto& list : Lists_) list->PurgeFreed();
  freed.clear();
}

}  // namespace vexel
