// Form model: properties, load and unload life cycle, window calls.
#include "forms/form.h"

namespace corvane::forms {

Form::Form(std::string name, int templateId) : name_(std::move(name)), templateId_(templateId) {}

void Form::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Changed(FormProp::Caption);
}

void Form::Show() {
  Load();
  if (visible_) return;
  visible_ = true;
  Changed(FormProp::Visible);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  Changed(FormProp::Visible);
}

void Form::SetWindowState(WindowState state) {
  if (state_ == state) return;
  state_ = state;
  Changed(FormProp::WindowState);
}

void Form::SetIcon(int iconNumber) {
  if (icon_ == iconNumber) return;
  icon_ = iconNumber;
  Changed(FormProp::Icon);
}

void Form::Move(int left, int top, int width, int height) {
  if (left_ == left && top_ == top && width_ == width && height_ == height) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(FormProp::Bounds);
}

void Form::OnResized(int scaleWidth, int scaleHeight) {
  scaleWidth_ = scaleWidth;
  scaleHeight_ = scaleHeight;
  Form_Resize();
}

Control* Form::FindControl(int id) const {
  for (Control* control : controls_) {
    if (control->Id() == id) return control;
  }
  return nullptr;
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  Form_Load();
}

bool Form::Unload(int16_t unloadMode) {
  if (!loaded_ || unloading_) return false;
  int16_t cancel = 0;
  {
    // Cleared however the handlers end: a handler that threw must not leave
    // the form impossible to close.
    struct Unloading {
      bool& flag;
      explicit Unloading(bool& f) : flag(f) { flag = true; }
      ~Unloading() { flag = false; }
      Unloading(const Unloading&) = delete;
      Unloading& operator=(const Unloading&) = delete;
    } unloading(unloading_);
    Form_QueryUnload(cancel, unloadMode);
    if (cancel == 0) Form_Unload(cancel);
  }
  if (cancel != 0) return false;
  loaded_ = false;
  visible_ = false;
  Changed(FormProp::Loaded);
  return true;
}

void Form::PopupMenu(MenuItem& menu) {
  if (observer_ != nullptr) observer_->PopupMenu(menu);
}

void Form::SetTopmost(bool topmost) {
  if (observer_ != nullptr) observer_->Call(topmost ? WindowCall::MakeTopmost : WindowCall::MakeNotTopmost);
}

void Form::SetForeground() {
  if (observer_ != nullptr) observer_->Call(WindowCall::SetForeground);
}

void Form::SetFocus() {
  if (observer_ != nullptr) observer_->Call(WindowCall::SetFocus);
}

void Form::Refresh() {
  if (observer_ != nullptr) observer_->Call(WindowCall::Refresh);
}

void Form::ControlChanged(Control& control, Prop property) {
  if (observer_ != nullptr) observer_->ControlChanged(control, property);
}

void Form::Register(Control& control) {
  control.SetForm(this);
  controls_.push_back(&control);
}

void Form::Changed(FormProp property) {
  if (observer_ != nullptr) observer_->FormChanged(property);
}

}  // namespace corvane::forms
