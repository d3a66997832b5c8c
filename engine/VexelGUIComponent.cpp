#include "VexelGUIComponent.h"

#include "VexelBitmapFont.h"
#include "VexelGUI.h"
#include "VexelGUIList.h"
#include "VexelImageListItem.h"

namespace vexel {
namespace {

// A highlighted widget without a hover picture gets its normal picture added over itself at
// this colour with the additive blending mode: it lights up.
constexpr uint32_t kGlowColor = 0xC0FFFFFF;
constexpr int32_t kGlowBlendMode = 2;

uint32_t TintOf(const TVexelBitmapFont& font) {
  const auto byte = [](int32_t v) { return static_cast<uint32_t>(v & 0xFF); };
  return byte(font.Alpha()) << 24 | byte(font.Red()) << 16 | byte(font.Green()) << 8 |
         byte(font.Blue());
}

// Calls a handler through a copy, so the handler may replace itself or free its widget.
template <class THandler, class... TArgs>
void Fire(const THandler& handler, TArgs&&... args) {
  if (!handler) return;
  const THandler call = handler;
  call(std::forward<TArgs>(args)...);
}

}  // namespace

TVexelGUIComponent::TVexelGUIComponent(TVexelGUIList& list)
    : Font(list.GUI().VexelBitmapFont), List_(list), ID_(list.GUI().RegisterWidget(*this)) {
  if (!Font) return;
  TextColor = TintOf(*Font);
  TextScaleX = Font->ScaleX;
  TextScaleY = Font->ScaleY;
}

TVexelGUIComponent::~TVexelGUIComponent() {
  GUI().UnregisterWidget(ID_);
}

TVexelGUI& TVexelGUIComponent::GUI() const {
  return List_.GUI();
}

void TVexelGUIComponent::BringToFront() {
  List_.MoveToEnd(*this);
}

void TVexelGUIComponent::SetImage(int32_t state, TImageListItem* image) {
  if (ValidState(state)) States[static_cast<size_t>(state)].Image = image;
}

TImageListItem* TVexelGUIComponent::GetImage(int32_t state) const {
  return ValidState(state) ? States[static_cast<size_t>(state)].Image : nullptr;
}

void TVexelGUIComponent::SetPatternIndex(int32_t state, int32_t index) {
  if (!ValidState(state)) return;
  States[static_cast<size_t>(state)].PatternIndex = index;
  States[static_cast<size_t>(state)].FirstPattern = index;
}

int32_t TVexelGUIComponent::GetPatternIndex(int32_t state) const {
  return ValidState(state) ? States[static_cast<size_t>(state)].PatternIndex : -1;
}

bool TVexelGUIComponent::GetAnimate(int32_t state) const {
  return ValidState(state) && States[static_cast<size_t>(state)].Animate;
}

int32_t TVexelGUIComponent::GetBlendMode(int32_t state) const {
  return ValidState(state) ? States[static_cast<size_t>(state)].BlendMode : 0;
}

uint32_t TVexelGUIComponent::GetColor(int32_t state) const {
  return ValidState(state) ? States[static_cast<size_t>(state)].Color : 0xFFFFFFFF;
}

void TVexelGUIComponent::Click() {
  Fire(OnClick, *this);
}

void TVexelGUIComponent::KeyEvent(bool, int32_t& key, TShiftState shift) {
  Fire(OnKey, *this, key, shift);
}

void TVexelGUIComponent::MouseEnter() {
  Fire(OnMouseEnter, *this);
  for (int32_t state = 0; state < 4; ++state) ResetAnimation(state);
}

void TVexelGUIComponent::MouseLeave() {
  Fire(OnMouseLeave, *this);
  for (int32_t state = 0; state < 4; ++state) ResetAnimation(state);
}

void TVexelGUIComponent::DblClick() {
  Fire(OnDblClick, *this);
}

void TVexelGUIComponent::Draw() {
  const int32_t state = DrawnState();
  DrawStateStretched(state, Rotation);
  if (state == gsNormal && Highlighted()) DrawGlow(Rotation);
  AdvanceAnimation(state);
}

int32_t TVexelGUIComponent::DrawnState() const {
  const TVexelGUI& gui = GUI();
  const int32_t shown = gui.HighlightID > 0 ? gui.HighlightID : gui.HoverID;
  if (shown != ID_) return gsNormal;
  const int32_t state = gui.LeftDown && gui.HoverID == ID_ ? gsPressed : gsHover;
  return States[static_cast<size_t>(state)].Image ? state : gsNormal;
}

bool TVexelGUIComponent::Highlighted() const {
  return GUI().HighlightID > 0 && GUI().HighlightID == ID_;
}

bool TVexelGUIComponent::Contains(int32_t x, int32_t y) const {
  const int64_t right = int64_t{Left} + Width;
  const int64_t bottom = int64_t{Top} + Height;
  return x >= Left && x <= right && y >= Top && y <= bottom;
}

bool TVexelGUIComponent::TakesMouse() const {
  return Visible && Enabled && List_.Visible && List_.Enabled && List_.Alive() && Alive();
}

bool TVexelGUIComponent::Alive() const {
  return GUI().WidgetByID(ID_) == this;
}

void TVexelGUIComponent::DrawStateStretched(int32_t state, float rotation) {
  const TVexelGUIState& s = States[static_cast<size_t>(state)];
  DrawStretched(s, rotation, s.Color, s.BlendMode);
}

void TVexelGUIComponent::DrawGlow(float rotation) {
  DrawStretched(States[gsNormal], rotation, kGlowColor, kGlowBlendMode);
}

void TVexelGUIComponent::DrawStretched(const TVexelGUIState& s, float rotation, uint32_t color,
                                       int32_t blendMode) {
  if (!s.Image) return;
  const auto right = static_cast<int32_t>(int64_t{Left} + Width);
  const auto bottom = static_cast<int32_t>(int64_t{Top} + Height);
  s.Image->DrawQuad(Left, Top, right, Top, right, bottom, Left, bottom, rotation, 0.5f, 0.5f, 1, 1,
                    color, color, color, color, MirrorY, MirrorX, s.PatternIndex, blendMode);
}

void TVexelGUIComponent::DrawOverlay(float rotation) {
  const TVexelGUIState& s = States[gsOverlay];
  if (!s.Image) return;
  s.Image->DrawColored(Left, Top, rotation, 0.5f, 0.5f, 1, 1, s.Color, MirrorY, MirrorX,
                       s.PatternIndex, s.BlendMode);
  AdvanceAnimation(gsOverlay);
}

void TVexelGUIComponent::AdvanceAnimation(int32_t state) {
  TVexelGUIState& s = States[static_cast<size_t>(state)];
  if (!s.Animate || s.AnimDone) return;
  ++AnimTick;
  if (AnimTick < s.AnimSpeed / 10) return;
  AnimTick = 0;
  const int32_t last = s.FirstPattern + s.PatternCount;
  if (!s.AnimReverse) {
    ++s.PatternIndex;
    if (s.PatternIndex <= last) return;
    s.PatternIndex = s.AnimLoop ? s.FirstPattern : last;
    s.AnimDone = !s.AnimLoop;
    return;
  }
  --s.PatternIndex;
  if (s.PatternIndex > s.FirstPattern) return;
  s.PatternIndex = s.AnimLoop ? last : s.FirstPattern;
  s.AnimDone = !s.AnimLoop;
}

void TVexelGUIComponent::ResetAnimation(int32_t state) {
  TVexelGUIState& s = States[static_cast<size_t>(state)];
  // A still state keeps the cell it was given, however it was given.
  if (!s.Animate) return;
  s.PatternIndex = s.AnimReverse ? s.FirstPattern + s.PatternCount : s.FirstPattern;
  s.AnimDone = false;
}

}  // namespace vexel
