// Text boxes: text, caret at the end, Change when the user edits.
#include "win32/bindings/kind_bindings.h"

namespace corvane {

namespace {

class TextBoxBinding : public ControlBinding {
 public:
  TextBoxBinding(forms::TextBox& box, BindingHost& host) : ControlBinding(box, host), box_(box) {}

  void PushAll() override { SetItemText(box_.Text()); }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Text) SetItemText(box_.Text());
    if (property == forms::Prop::Selection) {
      if (HWND item = Item()) {
        const auto end = static_cast<WPARAM>(GetWindowTextLengthA(item));
        SendMessageA(item, EM_SETSEL, end, static_cast<LPARAM>(end));
        SendMessageA(item, EM_SCROLLCARET, 0, 0);
      }
    }
  }
  void OnCommand(int code) override {
    if (code == EN_CHANGE && Item() != nullptr) box_.OnUserText(ItemText());
  }

 private:
  forms::TextBox& box_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindTextBox(forms::TextBox& box, BindingHost& host) {
  return std::make_unique<TextBoxBinding>(box, host);
}

}  // namespace corvane
