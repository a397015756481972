// Labels and frames: a caption. A label whose MouseMove is connected is made
// to take the mouse (SS_NOTIFY); otherwise the mouse passes through it to
// the window, as before.
#include "win32/bindings/kind_bindings.h"

namespace corvane {

namespace {

class LabelBinding : public ControlBinding {
 public:
  LabelBinding(forms::Label& label, BindingHost& host) : ControlBinding(label, host), label_(label) {}

  void PushAll() override {
    HWND item = Item();
    if (item != nullptr && label_.MouseMove && label_.Kind() == forms::ControlKind::Label) {
      SetWindowLongPtrA(item, GWL_STYLE, GetWindowLongPtrA(item, GWL_STYLE) | SS_NOTIFY);
    }
    SetItemText(label_.Caption());
  }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Text) SetItemText(label_.Caption());
  }

 private:
  forms::Label& label_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindLabel(forms::Label& label, BindingHost& host) {
  return std::make_unique<LabelBinding>(label, host);
}

// A frame is a group box: its caption is all it has of its own; what it
// contains is moved, hidden and greyed with it by the binder.
std::unique_ptr<ControlBinding> BindFrame(forms::Frame& frame, BindingHost& host) {
  return std::make_unique<LabelBinding>(frame, host);
}

}  // namespace corvane
