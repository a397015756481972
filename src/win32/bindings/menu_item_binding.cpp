// Menu items: chosen from a pop-up menu (FormBinder::PopupMenu) or as a
// WM_COMMAND from a menu; their captions and states are read when the menu
// opens.
#include "win32/bindings/kind_bindings.h"

namespace corvane {

namespace {

class MenuItemBinding : public ControlBinding {
 public:
  MenuItemBinding(forms::MenuItem& item, BindingHost& host) : ControlBinding(item, host), item_(item) {}

  bool Windowed() const override { return false; }
  void OnMenuCommand() override { item_.OnUserClick(); }

 private:
  forms::MenuItem& item_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindMenuItem(forms::MenuItem& item, BindingHost& host) {
  return std::make_unique<MenuItemBinding>(item, host);
}

}  // namespace corvane
