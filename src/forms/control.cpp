// Base control: property setters that tell the form's observer what changed.
#include "forms/control.h"

#include "forms/form.h"

namespace corvane::forms {

Control::Control(std::string name, int id, Control* container)
    : name_(std::move(name)), id_(id), container_(container) {}

bool Control::IsInside(const Control& ancestor) const {
  for (const Control* c = container_; c != nullptr; c = c->Container()) {
    if (c == &ancestor) return true;
  }
  return false;
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Notify(Prop::Visible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Notify(Prop::Enabled);
}

void Control::Move(int left, int top, int width, int height) {
  if (left_ == left && top_ == top && width_ == width && height_ == height) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Notify(Prop::Bounds);
}

void Control::SetToolTipText(const std::string& text) {
  if (toolTip_ == text) return;
  toolTip_ = text;
  Notify(Prop::ToolTip);
}

void Control::SetForeColor(Color color) {
  if (foreColor_ == color) return;
  foreColor_ = color;
  Notify(Prop::ForeColor);
}

void Control::SetBackColor(Color color) {
  if (backColor_ == color) return;
  backColor_ = color;
  Notify(Prop::BackColor);
}

void Control::SetFont(const forms::Font& font) {
  if (font_ == font) return;
  font_ = font;
  Notify(Prop::Font);
}

void Control::SetFocus() {
  if (form_ != nullptr) form_->SetActiveControl(this);
  Notify(Prop::Focus);
}

void Control::Notify(Prop property) {
  if (form_ != nullptr) form_->ControlChanged(*this, property);
}

}  // namespace corvane::forms
