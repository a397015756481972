// Report-style list views (a common-controls list view): column headers with
// widths in twips, rows of cells. Appended rows are added one by one; any
// other change of the rows rebuilds them with drawing switched off.
#include "win32/bindings/kind_bindings.h"

#include <commctrl.h>

namespace corvane {

namespace {

class ListViewBinding : public ControlBinding {
 public:
  ListViewBinding(forms::ListView& view, BindingHost& host) : ControlBinding(view, host), view_(view) {}

  void PushAll() override {
    HWND item = Item();
    if (item == nullptr) return;
    // Report style whatever the template says: the model has no other.
    const LONG_PTR style = GetWindowLongPtrA(item, GWL_STYLE);
    if ((style & LVS_TYPEMASK) != LVS_REPORT) SetWindowLongPtrA(item, GWL_STYLE, (style & ~LVS_TYPEMASK) | LVS_REPORT);
    PushColumns();
    PushRows();
  }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Columns) PushColumns();
    if (property == forms::Prop::Items) PushRows();
    if (property == forms::Prop::ItemAdded) AppendItems();
  }
  void AppendItems() override {
    HWND item = Item();
    if (item == nullptr) return;
    const int shown = static_cast<int>(SendMessageA(item, LVM_GETITEMCOUNT, 0, 0));
    if (shown >= view_.RowCount()) return;
    SendMessageA(item, WM_SETREDRAW, FALSE, 0);
    for (int row = shown; row < view_.RowCount(); ++row) InsertRow(item, row);
    SendMessageA(item, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(item, nullptr, TRUE);
  }
  void OnDpiChanged() override { PushColumns(); }

 private:
  void PushColumns() {
    HWND item = Item();
    if (item == nullptr) return;
    HWND header = reinterpret_cast<HWND>(SendMessageA(item, LVM_GETHEADER, 0, 0));
    const int shown = header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < view_.ColumnCount(); ++i) {
      std::string caption = view_.ColumnHeader(i);
      LVCOLUMNA column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      column.pszText = caption.data();
      column.cx = Host().ToPixels(view_.ColumnWidth(i));
      column.iSubItem = i;
      SendMessageA(item, i < shown ? LVM_SETCOLUMNA : LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(&column));
    }
  }
  void PushRows() {
    HWND item = Item();
    if (item == nullptr) return;
    SendMessageA(item, WM_SETREDRAW, FALSE, 0);
    SendMessageA(item, LVM_DELETEALLITEMS, 0, 0);
    for (int row = 0; row < view_.RowCount(); ++row) InsertRow(item, row);
    SendMessageA(item, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(item, nullptr, TRUE);
  }
  void InsertRow(HWND item, int row) {
    std::string text = view_.Cell(row, 0);
    LVITEMA entry{};
    entry.mask = LVIF_TEXT;
    entry.iItem = row;
    entry.pszText = text.data();
    const auto at = static_cast<int>(SendMessageA(item, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&entry)));
    if (at < 0) return;
    for (int column = 1; column < view_.ColumnCount(); ++column) {
      std::string cell = view_.Cell(row, column);
      LVITEMA sub{};
      sub.iSubItem = column;
      sub.pszText = cell.data();
      SendMessageA(item, LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
    }
  }

  forms::ListView& view_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindListView(forms::ListView& view, BindingHost& host) {
  return std::make_unique<ListViewBinding>(view, host);
}

}  // namespace corvane
