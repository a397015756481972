// Option buttons: caption and value. The model clears the partners of a
// chosen option and tells the binder, so the real buttons follow the model's
// groups (by container) whatever groups the template's WS_GROUP makes.
#include "win32/bindings/kind_bindings.h"

namespace corvane {

namespace {

class OptionButtonBinding : public ControlBinding {
 public:
  OptionButtonBinding(forms::OptionButton& option, BindingHost& host)
      : ControlBinding(option, host), option_(option) {}

  void PushAll() override {
    SetItemText(option_.Caption());
    PushValue();
  }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Text) SetItemText(option_.Caption());
    if (property == forms::Prop::Value) PushValue();
  }
  void OnCommand(int code) override {
    if (code != BN_CLICKED) return;
    option_.OnUserClick();
    // A plain (not automatic) radio button does not check itself.
    PushValue();
  }

 private:
  void PushValue() {
    BindingHost::PushScope push(Host());
    CheckDlgButton(Host().Window(), option_.Id(), option_.Value() ? BST_CHECKED : BST_UNCHECKED);
  }

  forms::OptionButton& option_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindOptionButton(forms::OptionButton& option, BindingHost& host) {
  return std::make_unique<OptionButtonBinding>(option, host);
}

}  // namespace corvane
