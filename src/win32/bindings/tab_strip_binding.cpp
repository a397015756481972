// Tab strips (a common-controls tab control): tab captions, the selected tab,
// Click when the user picks another tab (TCN_SELCHANGE through WM_NOTIFY).
// The pages are other controls; the binder keeps the tab strip below them
// and has the tab control draw its page under the ones that show the
// background (a themed page is not the dialog's colour).
#include "win32/bindings/kind_bindings.h"

#include <commctrl.h>

namespace corvane {

namespace {

class TabStripBinding : public ControlBinding {
 public:
  TabStripBinding(forms::TabStrip& tabs, BindingHost& host) : ControlBinding(tabs, host), tabs_(tabs) {}

  void PushAll() override {
    PushTabs();
    PushSelected();
  }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Tabs) {
      PushTabs();
      PushSelected();
    }
    if (property == forms::Prop::SelectedTab) PushSelected();
  }
  bool OnNotify(const NMHDR& header, LRESULT& result) override {
    if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    tabs_.OnUserSelect(static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)) + 1);
    // The handler may have chosen another tab; the real one follows the model.
    PushSelected();
    result = 0;
    return true;
  }
  void PaintUnder(HDC dc, HWND window) override {
    HWND item = Item();
    // The tab control itself asks the dialog for what lies under its tabs:
    // that is the dialog's own background, not the page again.
    if (item == nullptr || painting_ || !IsWindowVisible(item)) return;
    RECT tab;
    RECT area;
    GetClientRect(item, &tab);
    MapWindowPoints(item, window, reinterpret_cast<POINT*>(&tab), 2);
    GetClientRect(window, &area);
    if (!IntersectRect(&area, &area, &tab)) return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    OffsetViewportOrgEx(dc, tab.left, tab.top, nullptr);
    painting_ = true;
    SendMessageA(item, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    painting_ = false;
    RestoreDC(dc, saved);
  }

 private:
  void PushTabs() {
    HWND item = Item();
    if (item == nullptr) return;
    const int shown = static_cast<int>(SendMessageA(item, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < tabs_.TabCount(); ++i) {
      std::string caption = tabs_.TabCaption(i + 1);
      TCITEMA tab{};
      tab.mask = TCIF_TEXT;
      tab.pszText = caption.data();
      SendMessageA(item, i < shown ? TCM_SETITEMA : TCM_INSERTITEMA, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(&tab));
    }
    for (int i = shown - 1; i >= tabs_.TabCount(); --i) SendMessageA(item, TCM_DELETEITEM, static_cast<WPARAM>(i), 0);
  }
  void PushSelected() {
    if (HWND item = Item()) SendMessageA(item, TCM_SETCURSEL, static_cast<WPARAM>(tabs_.SelectedTab() - 1), 0);
  }

  forms::TabStrip& tabs_;
  bool painting_ = false;
};

}  // namespace

std::unique_ptr<ControlBinding> BindTabStrip(forms::TabStrip& tabs, BindingHost& host) {
  return std::make_unique<TabStripBinding>(tabs, host);
}

}  // namespace corvane
