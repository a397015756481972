// The base of every control of a form model: plain data (kind, visibility,
// enabled state, position and size in twips, tooltip, colours, font) plus
// the observer that mirrors it onto a real window. Knows nothing of the
// program or the platform.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvane::forms {

// What changed, so an observer can push just that to the real control.
// ItemAdded: one item (or row) appended at the end of a list; Items: the
// list changed otherwise. Tabs: a tab was added or renamed; Columns: a list
// view column was added; Range: a scroll bar's Min or Max; Bars: a chart's contents.
enum class Prop {
  Text,
  Visible,
  Enabled,
  Bounds,
  ToolTip,
  Items,
  ItemAdded,
  ListIndex,
  Value,
  Picture,
  Timer,
  Focus,
  Selection,
  Tabs,
  SelectedTab,
  Columns,
  Range,
  ForeColor,
  BackColor,
  Font,
  Bars,
};

// Every kind of control the model knows; the binder keeps one binding class
// per kind.
enum class ControlKind {
  Label,
  Frame,
  CommandButton,
  TextBox,
  ComboBox,
  ListBox,
  CheckBox,
  OptionButton,
  Image,
  Timer,
  MenuItem,
  TabStrip,
  ListView,
  VScrollBar,
  Chart,
};

using Event = std::function<void()>;
// Button: 1 left, 2 right, 4 middle (or-ed); shift: 1 Shift, 2 Ctrl;
// x and y in twips from the control's (or form's) top left corner.
using MouseEvent = std::function<void(int16_t button, int16_t shift, float x, float y)>;

// Raises `event` when a handler is connected.
inline void Raise(const Event& event) {
  if (event) event();
}

// A colour as the classic form runtimes wrote it (OLE_COLOR): 0x00BBGGRR
// for a plain colour (255 is pure red), or 0x80000000 + index for the
// system colour of that index (GetSysColor's, e.g. &H8000000F for the
// button face). kDefaultColor leaves the control's own colour.
using Color = uint32_t;
inline constexpr Color kDefaultColor = 0xFFFFFFFFu;
constexpr Color Rgb(int red, int green, int blue) {
  return static_cast<Color>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr Color SystemColor(int index) { return 0x80000000u | static_cast<Color>(index & 0xFF); }
constexpr bool IsSystemColor(Color color) { return color != kDefaultColor && (color & 0x80000000u) != 0; }
constexpr int SystemColorIndex(Color color) { return static_cast<int>(color & 0xFFu); }
// The system colours the windows name.
inline constexpr Color kColorMenu = SystemColor(4);                // COLOR_MENU
inline constexpr Color kColorWindow = SystemColor(5);              // COLOR_WINDOW, a text box's background
inline constexpr Color kColorWindowText = SystemColor(8);          // COLOR_WINDOWTEXT
inline constexpr Color kColorButtonFace = SystemColor(15);         // COLOR_BTNFACE
inline constexpr Color kColorInactiveCaptionText = SystemColor(19);  // COLOR_INACTIVECAPTIONTEXT

// A control's font; an empty name keeps the window template's font.
struct Font {
  std::string name;
  float size = 8.0f;  // points
  bool bold = false;
  bool operator==(const Font&) const = default;
};

class Form;

class Control {
 public:
  // `id` is the control's identifier in the window's resource template; a
  // control inside a frame (or tab strip) has `container` set and positions
  // relative to it. Hiding, disabling or moving a container does the same
  // to everything inside it.
  Control(std::string name, int id, Control* container = nullptr);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual ControlKind Kind() const = 0;

  const std::string& Name() const { return name_; }
  int Id() const { return id_; }
  Control* Container() const { return container_; }
  // True when `ancestor` contains this control, directly or through frames.
  bool IsInside(const Control& ancestor) const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Moves and sizes the control, twips relative to its container.
  void Move(int left, int top, int width, int height);
  void SetLeft(int left) { Move(left, top_, width_, height_); }
  void SetTop(int top) { Move(left_, top, width_, height_); }
  void SetWidth(int width) { Move(left_, top_, width, height_); }
  void SetHeight(int height) { Move(left_, top_, width_, height); }

  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(const std::string& text);

  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color);
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color);

  const forms::Font& Font() const { return font_; }
  void SetFont(const forms::Font& font);

  // Gives this control the input focus; the form remembers it as its
  // active control.
  void SetFocus();

  // The mouse moved over the control (the binder reports it).
  void OnUserMouseMove(int16_t button, int16_t shift, float x, float y) {
    if (MouseMove) MouseMove(button, shift, x, y);
  }
  MouseEvent MouseMove;

  // Called by the form that registers the control.
  void SetForm(Form* form) { form_ = form; }

 protected:
  // Tells the form's observer (the binder) that the program changed `property`.
  void Notify(Prop property);
  Form* OwnerForm() const { return form_; }

 private:
  std::string name_;
  int id_;
  Control* container_;
  bool visible_ = true;
  bool enabled_ = true;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string toolTip_;
  Color foreColor_ = kDefaultColor;
  Color backColor_ = kDefaultColor;
  forms::Font font_;
  Form* form_ = nullptr;
};

}  // namespace corvane::forms
