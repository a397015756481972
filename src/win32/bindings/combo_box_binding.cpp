// Drop-down combo boxes: edit text, items, selection; Change, Click and
// DropDown. Appended items are added to the real list, never by rebuilding
// it; a new selection only moves the selection.
#include "win32/bindings/kind_bindings.h"
#include "win32/bindings/list_items.h"

namespace corvane {

namespace {

// A drop-down combo box is sized with its list; this many twips of list.
constexpr int kComboListTwips = 2400;

class ComboBoxBinding : public ControlBinding {
 public:
  ComboBoxBinding(forms::ComboBox& combo, BindingHost& host) : ControlBinding(combo, host), combo_(combo) {}

  void PushAll() override {
    SetItemText(combo_.Text());
    PushItems();
  }
  void Push(forms::Prop property) override {
    switch (property) {
      case forms::Prop::Text:
        SetItemText(combo_.Text());
        break;
      case forms::Prop::Items:
        PushItems();
        break;
      case forms::Prop::ItemAdded:
        AppendItems();
        break;
      case forms::Prop::ListIndex:
        PushListIndex();
        break;
      case forms::Prop::Selection:
        if (HWND item = Item()) {
          const auto end = static_cast<WORD>(GetWindowTextLengthA(item));
          SendMessageA(item, CB_SETEDITSEL, 0, MAKELPARAM(end, end));
        }
        break;
      default:
        break;
    }
  }
  void AppendItems() override {
    if (HWND item = Item()) AppendMissingItems(item, combo_.Items(), kComboBoxMessages);
  }
  int ExtraHeight() const override { return Host().ToPixels(kComboListTwips); }

  void OnCommand(int code) override {
    HWND item = Item();
    if (item == nullptr) return;
    if (code == CBN_EDITCHANGE) combo_.OnUserText(ItemText());
    if (code == CBN_SELCHANGE) combo_.OnUserSelect(static_cast<int>(SendMessageA(item, CB_GETCURSEL, 0, 0)));
    if (code == CBN_DROPDOWN) combo_.OnUserDropDown();
  }

 private:
  // Rebuilds the real list: only for a list changed otherwise than by appending.
  void PushItems() {
    HWND item = Item();
    if (item == nullptr) return;
    BindingHost::PushScope push(Host());
    SendMessageA(item, WM_SETREDRAW, FALSE, 0);
    ReplaceAllItems(item, combo_.Items(), kComboBoxMessages);
    SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(combo_.ListIndex()), 0);
    SetWindowTextA(item, combo_.Text().c_str());
    SendMessageA(item, WM_SETREDRAW, TRUE, 0);
  }

  void PushListIndex() {
    HWND item = Item();
    if (item == nullptr) return;
    // Items appended while a user event runs may not be in the real list yet.
    AppendItems();
    BindingHost::PushScope push(Host());
    SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(combo_.ListIndex()), 0);
    // Selecting nothing empties the edit field; the model keeps its text.
    if (combo_.ListIndex() < 0) SetWindowTextA(item, combo_.Text().c_str());
  }

  forms::ComboBox& combo_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindComboBox(forms::ComboBox& combo, BindingHost& host) {
  return std::make_unique<ComboBoxBinding>(combo, host);
}

}  // namespace corvane
