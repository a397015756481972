// The file is read in one go and cut into its cells in place: each cell
// ends with a NUL where its tab or line end was. The list view is virtual
// (LVS_OWNERDATA), as the program's is: LVM_SETITEMCOUNT gives it the rows,
// and it is answered with pointers straight into the file's buffer for the
// cells it draws. Closing the window frees them.
#include "list_floor_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "controls_floor_ids.h"
#include "read_whole_file.h"

namespace corvane::bench {

namespace {

// The log window's columns: headers and widths (twips, 15 to a pixel).
struct Column {
  const char* header;
  int twips;
};
constexpr Column kColumns[] = {
    {"Started", 1950}, {"Ended", 1950}, {"Duration", 900}, {"Entry", 1000},    {"Number", 1000},
    {"Login", 800},    {"Speed", 700},  {"Sent", 1000},    {"Received", 1000}, {"Ended by", 1250},
};
constexpr size_t kColumnCount = sizeof kColumns / sizeof kColumns[0];

struct ListFloor {
  std::string bytes;
  std::vector<std::array<char*, kColumnCount>> rows;
};

// Cuts `floor.bytes` into rows of cells; a missing cell is the empty one at
// its line's end.
void CutIntoCells(ListFloor& floor) {
  std::string& bytes = floor.bytes;
  bytes.push_back('\0');
  char* at = bytes.data();
  char* const end = at + bytes.size() - 1;
  floor.rows.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  while (at < end) {
    std::array<char*, kColumnCount> row;
    row.fill(end);
    row[0] = at;
    size_t cell = 0;
    for (; *at != '\n' && *at != '\0'; ++at) {
      if (*at != '\t') continue;
      *at = '\0';
      if (++cell < kColumnCount) row[cell] = at + 1;
    }
    if (at > row[0] && at[-1] == '\r') at[-1] = '\0';
    if (*at == '\n') *at++ = '\0';
    floor.rows.push_back(row);
  }
}

INT_PTR CALLBACK ListDialogProc(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  auto* floor = reinterpret_cast<ListFloor*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code != LVN_GETDISPINFOA || floor == nullptr) return FALSE;
      LVITEMA& asked = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
      if ((asked.mask & LVIF_TEXT) != 0 && asked.iItem >= 0 && static_cast<size_t>(asked.iItem) < floor->rows.size() &&
          asked.iSubItem >= 0 && static_cast<size_t>(asked.iSubItem) < kColumnCount) {
        asked.pszText = floor->rows[static_cast<size_t>(asked.iItem)][static_cast<size_t>(asked.iSubItem)];
      }
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_NCDESTROY:
      delete floor;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND OpenListFloorWindow(HINSTANCE instance, const std::string& cellsPath) {
  auto floor = std::make_unique<ListFloor>();
  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LIST_FLOOR), nullptr, ListDialogProc,
                                   reinterpret_cast<LPARAM>(floor.get()));
  if (dialog == nullptr) return nullptr;
  ListFloor& rows = *floor.release();  // the window's now: freed as it goes
  HWND list = GetDlgItem(dialog, IDC_FLOOR_LOG);
  for (size_t i = 0; i < kColumnCount; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(kColumns[i].header);
    column.cx = kColumns[i].twips / 15;
    column.iSubItem = static_cast<int>(i);
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  rows.bytes = ReadWholeFile(cellsPath);
  CutIntoCells(rows);
  SendMessageA(list, LVM_SETITEMCOUNT, rows.rows.size(), 0);
  ShowWindow(dialog, SW_SHOWNORMAL);
  return list;
}

}  // namespace corvane::bench
