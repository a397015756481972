// Items into a real combo box or list box.
#include "win32/bindings/list_items.h"

namespace corvane {

namespace {

void AddItemsFrom(HWND list, const forms::ItemList& items, int first, const ListMessages& messages) {
  // Room for all of them at once: a long list would otherwise make the
  // control grow its storage over and over.
  size_t bytes = 0;
  for (int i = first; i < items.Count(); ++i) bytes += items.At(i).size() + 1;
  SendMessageA(list, messages.initStorage, static_cast<WPARAM>(items.Count() - first), static_cast<LPARAM>(bytes));
  for (int i = first; i < items.Count(); ++i) {
    SendMessageA(list, messages.addString, 0, reinterpret_cast<LPARAM>(items.At(i).data()));
  }
}

}  // namespace

bool AppendMissingItems(HWND list, const forms::ItemList& items, const ListMessages& messages) {
  const auto shown = static_cast<int>(SendMessageA(list, messages.getCount, 0, 0));
  if (shown < 0 || shown >= items.Count()) return false;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  AddItemsFrom(list, items, shown, messages);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  return true;
}

void ReplaceAllItems(HWND list, const forms::ItemList& items, const ListMessages& messages) {
  SendMessageA(list, messages.resetContent, 0, 0);
  AddItemsFrom(list, items, 0, messages);
}

}  // namespace corvane
