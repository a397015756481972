// Check boxes: caption, value (0 or 1), Click when the user changes it.
#include "win32/bindings/kind_bindings.h"

namespace corvane {

namespace {

class CheckBoxBinding : public ControlBinding {
 public:
  CheckBoxBinding(forms::CheckBox& check, BindingHost& host) : ControlBinding(check, host), check_(check) {}

  void PushAll() override {
    SetItemText(check_.Caption());
    PushValue();
  }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Text) SetItemText(check_.Caption());
    if (property == forms::Prop::Value) PushValue();
  }
  void OnCommand(int code) override {
    if (code == BN_CLICKED) {
      check_.OnUserValue(IsDlgButtonChecked(Host().Window(), check_.Id()) == BST_CHECKED ? 1 : 0);
    }
  }

 private:
  void PushValue() {
    BindingHost::PushScope push(Host());
    CheckDlgButton(Host().Window(), check_.Id(), check_.Value() != 0 ? BST_CHECKED : BST_UNCHECKED);
  }

  forms::CheckBox& check_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindCheckBox(forms::CheckBox& check, BindingHost& host) {
  return std::make_unique<CheckBoxBinding>(check, host);
}

}  // namespace corvane
