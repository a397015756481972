// The registry of bindings: one switch over the kinds, so a kind added to
// the model without a binding is a compiler warning here (-Wswitch).
#include "win32/bindings/control_binding.h"

#include "win32/bindings/kind_bindings.h"

namespace corvane {

void ControlBinding::SetItemText(const std::string& text) {
  HWND item = Item();
  if (item == nullptr) return;
  BindingHost::PushScope push(host_);
  SetWindowTextA(item, text.c_str());
}

std::string ControlBinding::ItemText() const {
  HWND item = Item();
  if (item == nullptr) return {};
  const int length = GetWindowTextLengthA(item);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(item, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

std::unique_ptr<ControlBinding> MakeBinding(forms::Control& control, BindingHost& host) {
  switch (control.Kind()) {
    case forms::ControlKind::Label:
      return BindLabel(static_cast<forms::Label&>(control), host);
    case forms::ControlKind::Frame:
      return BindFrame(static_cast<forms::Frame&>(control), host);
    case forms::ControlKind::CommandButton:
      return BindCommandButton(static_cast<forms::CommandButton&>(control), host);
    case forms::ControlKind::TextBox:
      return BindTextBox(static_cast<forms::TextBox&>(control), host);
    case forms::ControlKind::ComboBox:
      return BindComboBox(static_cast<forms::ComboBox&>(control), host);
    case forms::ControlKind::ListBox:
      return BindListBox(static_cast<forms::ListBox&>(control), host);
    case forms::ControlKind::CheckBox:
      return BindCheckBox(static_cast<forms::CheckBox&>(control), host);
    case forms::ControlKind::OptionButton:
      return BindOptionButton(static_cast<forms::OptionButton&>(control), host);
    case forms::ControlKind::Image:
      return BindImage(static_cast<forms::Image&>(control), host);
    case forms::ControlKind::Timer:
      return BindTimer(static_cast<forms::Timer&>(control), host);
    case forms::ControlKind::MenuItem:
      return BindMenuItem(static_cast<forms::MenuItem&>(control), host);
    case forms::ControlKind::TabStrip:
      return BindTabStrip(static_cast<forms::TabStrip&>(control), host);
    case forms::ControlKind::ListView:
      return BindListView(static_cast<forms::ListView&>(control), host);
    case forms::ControlKind::VScrollBar:
      return BindVScrollBar(static_cast<forms::VScrollBar&>(control), host);
    case forms::ControlKind::Chart:
      return BindChart(static_cast<forms::Chart&>(control), host);
  }
  return nullptr;
}

}  // namespace corvane
