// Report-style list views (a common-controls list view): column headers with
// widths in twips, rows of cells, and a click on a column header. Appended
// rows are added one by one; any other change of the rows rebuilds them with
// drawing switched off. A template that gives the list LVS_OWNERDATA gets a
// virtual list: the control holds only the count and asks for the cells it
// draws, so a hundred thousand rows fill at once.
#include "win32/bindings/kind_bindings.h"

#include <commctrl.h>

#include <algorithm>

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
    if (Virtual(item)) {
      SetCount(item);
      return;
    }
    const int shown = static_cast<int>(SendMessageA(item, LVM_GETITEMCOUNT, 0, 0));
    if (shown >= view_.RowCount()) return;
    SendMessageA(item, WM_SETREDRAW, FALSE, 0);
    for (int row = shown; row < view_.RowCount(); ++row) InsertRow(item, row);
    SendMessageA(item, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(item, nullptr, TRUE);
  }
  void OnDpiChanged() override { PushColumns(); }
  bool OnNotify(const NMHDR& header, LRESULT& /*result*/) override {
    if (header.code == LVN_COLUMNCLICK) {
      view_.OnUserColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return true;
    }
    if (header.code == LVN_GETDISPINFOA) {
      LVITEMA& asked = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)).item;
      if ((asked.mask & LVIF_TEXT) != 0 && asked.pszText != nullptr && asked.cchTextMax > 0) {
        const std::string& cell = view_.Cell(asked.iItem, asked.iSubItem);
        const size_t length = std::min(cell.size(), static_cast<size_t>(asked.cchTextMax - 1));
        cell.copy(asked.pszText, length);
        asked.pszText[length] = '\0';
      }
      return true;
    }
    return false;
  }

 private:
  static bool Virtual(HWND item) { return (GetWindowLongPtrA(item, GWL_STYLE) & LVS_OWNERDATA) != 0; }
  void SetCount(HWND item) {
    SendMessageA(item, LVM_SETITEMCOUNT, static_cast<WPARAM>(view_.RowCount()), 0);
    InvalidateRect(item, nullptr, TRUE);
  }
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
    if (Virtual(item)) {
      SetCount(item);
      return;
    }
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
