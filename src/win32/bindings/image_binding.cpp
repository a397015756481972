// Pictures: one icon resource, Click. A picture whose Click or MouseMove is
// connected is made to take the mouse (SS_NOTIFY); otherwise the mouse passes
// through it to the window, as before.
#include "win32/bindings/kind_bindings.h"

namespace corvane {

namespace {

constexpr int kPictureSizeAt96Dpi = 32;

class ImageBinding : public ControlBinding {
 public:
  ImageBinding(forms::Image& image, BindingHost& host) : ControlBinding(image, host), image_(image) {}

  void PushAll() override {
    HWND item = Item();
    if (item != nullptr && (image_.Click || image_.MouseMove)) {
      SetWindowLongPtrA(item, GWL_STYLE, GetWindowLongPtrA(item, GWL_STYLE) | SS_NOTIFY);
    }
    PushPicture();
  }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Picture) PushPicture();
  }
  void OnCommand(int code) override {
    if (code == STN_CLICKED) image_.OnUserClick();
  }
  void OnDpiChanged() override { PushPicture(); }

 private:
  void PushPicture() {
    HWND item = Item();
    if (item == nullptr) return;
    HICON icon = image_.Picture() != 0
                     ? Host().Icon(image_.Picture(), MulDiv(kPictureSizeAt96Dpi, static_cast<int>(Host().Dpi()), 96))
                     : nullptr;
    SendMessageA(item, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }

  forms::Image& image_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindImage(forms::Image& image, BindingHost& host) {
  return std::make_unique<ImageBinding>(image, host);
}

}  // namespace corvane
