// Command buttons: caption, an icon instead of the caption, Click.
#include "win32/bindings/kind_bindings.h"

namespace corvane {

namespace {

constexpr int kButtonIconSizeAt96Dpi = 16;

class CommandButtonBinding : public ControlBinding {
 public:
  CommandButtonBinding(forms::CommandButton& button, BindingHost& host)
      : ControlBinding(button, host), button_(button) {}

  void PushAll() override {
    SetItemText(button_.Caption());
    PushPicture();
  }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Text) SetItemText(button_.Caption());
    if (property == forms::Prop::Picture) PushPicture();
  }
  void OnCommand(int code) override {
    if (code == BN_CLICKED) button_.OnUserClick();
  }
  void OnDpiChanged() override { PushPicture(); }

 private:
  void PushPicture() {
    HWND item = Item();
    if (item == nullptr || button_.Picture() == 0) return;
    HICON icon = Host().Icon(button_.Picture(), MulDiv(kButtonIconSizeAt96Dpi, static_cast<int>(Host().Dpi()), 96));
    SendMessageA(item, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }

  forms::CommandButton& button_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindCommandButton(forms::CommandButton& button, BindingHost& host) {
  return std::make_unique<CommandButtonBinding>(button, host);
}

}  // namespace corvane
