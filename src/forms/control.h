// The base of every control of a form model: plain data (visibility,
// enabled state, position and size in twips, tooltip) plus the observer that
// mirrors it onto a real window. Knows nothing of the program or the platform.
#pragma once

#include <string>

namespace corvane::forms {

// What changed, so an observer can push just that to the real control.
// ItemAdded: one item appended at the end of a list; Items: the list changed
// otherwise.
enum class Prop { Text, Visible, Enabled, Bounds, ToolTip, Items, ItemAdded, ListIndex, Value, Picture, Timer, Focus, Selection };

class Form;

class Control {
 public:
  // `id` is the control's identifier in the window's resource template; a
  // control inside a frame has `container` set and positions relative to it.
  Control(std::string name, int id, Control* container = nullptr);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  int Id() const { return id_; }
  Control* Container() const { return container_; }

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

  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(const std::string& text);

  // Gives this control the input focus; the form remembers it as its
  // active control.
  void SetFocus();

  // Called by the form that registers the control.
  void SetForm(Form* form) { form_ = form; }

 protected:
  // Tells the form's observer (the binder) that the program changed `property`.
  void Notify(Prop property);

 private:
  std::string name_;
  int id_;
  Control* container_;
  bool visible_ = true;
  bool enabled_ = true;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string toolTip_;
  Form* form_ = nullptr;
};

}  // namespace corvane::forms
