#pragma once
// The base of every menu widget: position, state images, text settings and events.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vexel {

class TImageListItem;
class TVexelBitmapFont;
class TVexelGUI;
class TVexelGUIList;

/// Mouse buttons as the widget events name them.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

/// Keys and mouse buttons held during a widget event: a set of the ss... flags below.
using TShiftState = uint32_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;
inline constexpr TShiftState ssDouble = 64;

/// Index of a widget's visual state in States.
enum TGUIStateIndex : int32_t { gsNormal = 0, gsHover = 1, gsPressed = 2, gsOverlay = 3 };

/// One visual state of a widget: the image (or one of its cells) and how it animates and blends.
struct TVexelGUIState {
  TImageListItem* Image = nullptr;
  int32_t PatternIndex = -1;
  bool Animate = false;
  int32_t FirstPattern = -1;
  int32_t PatternCount = 0;
  int32_t AnimSpeed = 0;
  bool AnimLoop = true;
  bool AnimReverse = false;
  bool AnimDone = false;
  uint32_t Color = 0xFFFFFFFF;
  int32_t BlendMode = 0;
};

/// A widget of a widget list: a box on the back buffer drawn with one image per visual state
/// (normal, hover, pressed, overlay), hit-tested by the GUI and told about clicks, keys and
/// the mouse entering or leaving it. Owned by its list; the list makes it with Add<T>().
class TVexelGUIComponent {
 public:
  /// Click, double click, mouse enter and leave; the sender is the widget.
  using TNotifyEvent = std::function<void(TVexelGUIComponent& sender)>;
  /// Mouse press and release over the widget; the sender is the GUI, X and Y in back-buffer
  /// pixels.
  using TMouseEvent = std::function<void(TVexelGUI& sender, TMouseButton button, TShiftState shift,
                                         int32_t x, int32_t y)>;
  /// A key or character for the focused widget; the handler may change the key.
  using TKeyEvent = std::function<void(TVexelGUIComponent& sender, int32_t& key, TShiftState)>;

  /// Takes the GUI's next ID, enters the GUI's ID table and copies the GUI font's colour and
  /// scale. Called by TVexelGUIList::Add, which then owns the widget.
  explicit TVexelGUIComponent(TVexelGUIList& list);
  /// Leaves the GUI's ID table (the slot stays, empty).
  virtual ~TVexelGUIComponent();
  TVexelGUIComponent(const TVexelGUIComponent&) = delete;
  TVexelGUIComponent& operator=(const TVexelGUIComponent&) = delete;

  /// The widget's number in the GUI's ID table (never reused).
  int32_t ID() const { return ID_; }
  /// The owning list.
  TVexelGUIList& List() const { return List_; }
  /// The GUI of the owning list.
  TVexelGUI& GUI() const;

  /// Moves the widget to the end of its list: drawn last, hit-tested last.
  void BringToFront();
  /// Sets the image of a state (0..3; other states are ignored).
  void SetImage(int32_t state, TImageListItem* image);
  /// The image of a state, or none.
  TImageListItem* GetImage(int32_t state) const;
  /// Sets a state's PatternIndex and FirstPattern.
  void SetPatternIndex(int32_t state, int32_t index);
  /// A state's current cell (-1: the whole picture; also for states out of range).
  int32_t GetPatternIndex(int32_t state) const;
  /// Whether a state animates.
  bool GetAnimate(int32_t state) const;
  /// A state's blending mode.
  int32_t GetBlendMode(int32_t state) const;
  /// A state's colour.
  uint32_t GetColor(int32_t state) const;

  /// Fires OnClick.
  virtual void Click();
  /// A key (IsChar false: a virtual-key code of a key press) or a character (IsChar true: a code
  /// page 1251 byte) for the focused widget; fires OnKey.
  virtual void KeyEvent(bool isChar, int32_t& key, TShiftState shift);
  /// Called on every accepted mouse move over the widget; does nothing here.
  virtual void MouseOver() {}
  /// Fires OnMouseEnter, then restarts the four state animations.
  virtual void MouseEnter();
  /// Fires OnMouseLeave, then restarts the four state animations.
  virtual void MouseLeave();
  /// Fires OnDblClick.
  virtual void DblClick();
  /// Draws the state image for the hover and press state (see DrawnState); a highlighted
  /// widget without a hover image is drawn lit up instead.
  virtual void Draw();

  /// The state drawn now: 0 unless highlighted or (with no highlight) hovered, 2 hovered with
  /// the left button down, else 1; a state without an image falls back to 0.
  int32_t DrawnState() const;
  /// Whether the GUI's HighlightID is this widget.
  bool Highlighted() const;
  /// Whether the box (edges included) holds the point.
  bool Contains(int32_t x, int32_t y) const;
  /// Whether the widget takes the mouse: it and its list are visible and enabled, and it is
  /// still in the GUI's ID table.
  bool TakesMouse() const;

  std::string Name;
  bool Visible = true;
  bool Enabled = true;
  int32_t Left = 0;
  int32_t Top = 0;
  uint32_t Width = 20;
  uint32_t Height = 15;
  std::array<TVexelGUIState, 4> States{};
  bool MirrorY = false;
  bool MirrorX = false;
  /// Font of the text (the GUI's VexelBitmapFont at creation; may be none).
  TVexelBitmapFont* Font = nullptr;
  /// ARGB text colour (the font's tint at creation).
  uint32_t TextColor = 0xFFFFFFFF;
  /// Rotation of every character of an edit box's text, in degrees.
  float CharRotation = 0;
  float TextScaleX = 1;
  float TextScaleY = 1;
  /// Degrees; turns the state image and an edit box's text.
  float Rotation = 0;
  /// Shows the overlay state.
  bool Selected = false;
  /// Frame counter shared by the four state animations.
  int32_t AnimTick = 0;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TKeyEvent OnKey;

 protected:
  /// Draws a state's image stretched into the box with the given rotation.
  void DrawStateStretched(int32_t state, float rotation);
  /// Draws the normal state's image once more over itself, added: the highlight of a widget
  /// without a hover image.
  void DrawGlow(float rotation);
  /// Draws the overlay state's image at (Left, Top) in its own size.
  void DrawOverlay(float rotation);
  /// One animation step of a state, when it animates.
  void AdvanceAnimation(int32_t state);
  /// Restarts a state's animation at its first (or, reversed, last) cell.
  void ResetAnimation(int32_t state);
  /// Whether the widget is still in the GUI's ID table (not freed, not waiting to be freed).
  bool Alive() const;

 private:
  static bool ValidState(int32_t state) { return state >= 0 && state <= 3; }
  void DrawStretched(const TVexelGUIState& state, float rotation, uint32_t color,
                     int32_t blendMode);

  TVexelGUIList& List_;
  int32_t ID_;
};

}  // namespace vexel
