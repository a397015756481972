// What the combo box and list box bindings share: putting the model's items
// into the real list, the same way through each kind's own messages.
#pragma once

#include <windows.h>

#include "forms/item_list.h"

namespace corvane {

struct ListMessages {
  UINT getCount;
  UINT resetContent;
  UINT initStorage;
  UINT addString;
};
inline constexpr ListMessages kComboBoxMessages{CB_GETCOUNT, CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING};
inline constexpr ListMessages kListBoxMessages{LB_GETCOUNT, LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING};

// Adds to `list` the items it does not show yet, drawing off meanwhile;
// false when it showed them all.
bool AppendMissingItems(HWND list, const forms::ItemList& items, const ListMessages& messages);

// Empties `list` and adds every item; the caller has turned drawing off.
void ReplaceAllItems(HWND list, const forms::ItemList& items, const ListMessages& messages);

}  // namespace corvane
