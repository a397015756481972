// FormBinder: the one place where form models meet real windows.
#include "win32/form_binder.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace corvane {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kPointsPerInch = 72;

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// Position of `control` relative to the client area, adding its containers.
POINT AbsoluteTwips(const forms::Control& control) {
  POINT point{control.Left(), control.Top()};
  for (const forms::Control* container = control.Container(); container != nullptr;
       container = container->Container()) {
    point.x += container->Left();
    point.y += container->Top();
  }
  return point;
}

bool EffectivelyVisible(const forms::Control& control) {
  for (const forms::Control* c = &control; c != nullptr; c = c->Container()) {
    if (!c->Visible()) return false;
  }
  return true;
}

// A control inside a disabled frame (or tab page) cannot be used either.
bool EffectivelyEnabled(const forms::Control& control) {
  for (const forms::Control* c = &control; c != nullptr; c = c->Container()) {
    if (!c->Enabled()) return false;
  }
  return true;
}

int Depth(const forms::Control& control) {
  int depth = 0;
  for (const forms::Control* c = control.Container(); c != nullptr; c = c->Container()) ++depth;
  return depth;
}

COLORREF ToColorRef(forms::Color color) {
  return forms::IsSystemColor(color) ? GetSysColor(forms::SystemColorIndex(color)) : static_cast<COLORREF>(color);
}

int16_t MouseButtons(WPARAM keys) {
  return static_cast<int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                              ((keys & MK_MBUTTON) ? 4 : 0));
}

int16_t MouseShift(WPARAM keys) {
  return static_cast<int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0));
}

}  // namespace

FormBinder::DispatchScope::DispatchScope(FormBinder& binder) : binder_(binder) { ++binder_.dispatching_; }

// Also runs while a handler's exception passes on its way to the window
// procedure: the items appended before it still reach the real list, and a
// failure here must not throw a second exception over the first.
FormBinder::DispatchScope::~DispatchScope() {
  if (--binder_.dispatching_ != 0) return;
  RunGuarded(binder_.form_.Name().c_str(), binder_.HandlerFailed, [this] { binder_.FlushAppendedItems(); });
}

FormBinder::FormBinder(forms::Form& form, HINSTANCE instance, MessageLoop& loop)
    : form_(form), instance_(instance), loop_(loop) {
  for (forms::Control* control : form_.Controls()) {
    if (auto binding = MakeBinding(*control, *this)) bindings_.emplace(control, std::move(binding));
  }
}

FormBinder::~FormBinder() {
  form_.Attach(nullptr);
  // The window goes first: its controls still use the icons, brushes and
  // fonts that the members free afterwards.
  if (window_ != nullptr) DestroyWindow(window_);
}

bool FormBinder::Create() {
  window_ = CreateDialogParamA(instance_, MAKEINTRESOURCEA(form_.TemplateId()), nullptr, DialogProc,
                               reinterpret_cast<LPARAM>(this));
  if (window_ == nullptr) return false;
  dpi_ = WindowDpi(window_);
  form_.SetTwipsPerPixel(static_cast<float>(kTwipsPerInch) / static_cast<float>(dpi_));
  toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_,
                             nullptr);
  form_.SetWindowHandle(reinterpret_cast<uintptr_t>(window_));
  form_.Attach(this);
  for (auto& [control, binding] : bindings_) {
    // Only a control with a MouseMove handler is subclassed: a subclass makes
    // every message to the control dearer (under Wine a property look-up per
    // message), which a long list filled item by item pays ten times over.
    if (!binding->Windowed() || !control->MouseMove) continue;
    HWND item = binding->Item();
    if (item != nullptr) SetWindowSubclass(item, ControlProc, 0, reinterpret_cast<DWORD_PTR>(binding.get()));
  }
  PushAll();
  loop_.AddDialog(window_);
  return true;
}

INT_PTR CALLBACK FormBinder::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    return FALSE;  // focus is placed by the form model
  }
  auto* self = reinterpret_cast<FormBinder*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  // A failed handler leaves the message to the dialog's default handling.
  INT_PTR result = FALSE;
  RunGuarded(self->form_.Name().c_str(), self->HandlerFailed,
             [&] { result = self->HandleMessage(message, wParam, lParam); });
  return result;
}

// Each real control's own messages that the dialog does not see: the mouse
// moving over it.
LRESULT CALLBACK FormBinder::ControlProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                         DWORD_PTR binding) {
  if (message == WM_MOUSEMOVE) {
    if (auto* self = reinterpret_cast<FormBinder*>(GetWindowLongPtrA(GetParent(item), DWLP_USER))) {
      RunGuarded(self->form_.Name().c_str(), self->HandlerFailed, [&] {
        self->OnControlMouseMove(*reinterpret_cast<ControlBinding*>(binding), item, wParam, lParam);
      });
    }
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(item, ControlProc, subclassId);
  return DefSubclassProc(item, message, wParam, lParam);
}

INT_PTR FormBinder::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return FALSE;
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_VSCROLL:
      if (lParam == 0) return FALSE;  // the window's own scroll bar: it has none
      OnScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      return OnControlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PRINTCLIENT:
      // A themed control asks for what lies under it (DrawThemeParentBackground
      // erases and then prints the dialog): on a page, that is the page.
      PaintPages(reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_TIMER:
      if (forms::Control* control = form_.FindControl(static_cast<int>(wParam))) {
        if (ControlBinding* binding = BindingOf(*control)) binding->OnTimer();
      }
      return TRUE;
    case WM_CLOSE:
      form_.Unload(forms::kUnloadControlMenu);
      return TRUE;
    case WM_QUERYENDSESSION:
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_ENDSESSION:
      // The session ends after this returns: run the whole exit path now.
      if (wParam != FALSE) form_.Unload(forms::kUnloadAppWindows);
      return TRUE;
    case WM_MOUSEMOVE: {
      const float tpp = form_.TwipsPerPixel();
      form_.Form_MouseMove(MouseButtons(wParam), MouseShift(wParam),
                           static_cast<float>(static_cast<int16_t>(LOWORD(lParam))) * tpp,
                           static_cast<float>(static_cast<int16_t>(HIWORD(lParam))) * tpp);
      return TRUE;
    }
    case WM_SIZE:
      OnSize(wParam);
      return FALSE;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      form_.SetTwipsPerPixel(static_cast<float>(kTwipsPerInch) / static_cast<float>(dpi_));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, ToPixels(form_.Width()),
                   ToPixels(form_.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
      for (auto& [control, binding] : bindings_) {
        if (!binding->Windowed()) continue;
        PushBounds(binding->Control());
        PushFont(binding->Control());
        binding->OnDpiChanged();
      }
      PushWindowIcon();
      return TRUE;
    }
    case WM_DESTROY:
      for (auto& [control, binding] : bindings_) binding->OnDestroy();
      loop_.RemoveDialog(window_);
      window_ = nullptr;
      form_.SetWindowHandle(0);
      if (Destroyed) Destroyed();
      return TRUE;
    default:
      // Registered and private messages (a service's progress messages).
      if (message >= WM_USER) form_.Form_WindowMessage(message, wParam, lParam);
      return FALSE;
  }
}

void FormBinder::OnCommand(int id, int code, HWND item) {
  DispatchScope dispatch(*this);
  forms::Control* target = form_.FindControl(id);
  if (target == nullptr) return;
  ControlBinding* binding = BindingOf(*target);
  if (binding == nullptr) return;
  if (item == nullptr) {
    binding->OnMenuCommand();
    return;
  }
  if (Pushing()) return;
  binding->OnCommand(code);
}

bool FormBinder::OnNotify(const NMHDR& header, LRESULT& result) {
  if (Pushing()) return false;
  ControlBinding* binding = BindingOfItem(header.hwndFrom);
  if (binding == nullptr) return false;
  DispatchScope dispatch(*this);
  return binding->OnNotify(header, result);
}

void FormBinder::OnScroll(int code, HWND item) {
  if (Pushing()) return;
  ControlBinding* binding = BindingOfItem(item);
  if (binding == nullptr) return;
  DispatchScope dispatch(*this);
  binding->OnScroll(code);
}

// A control with a colour of its own gets it here; every other control keeps
// the dialog's default handling.
INT_PTR FormBinder::OnControlColor(UINT message, HDC dc, HWND item) {
  ControlBinding* binding = BindingOfItem(item);
  if (binding == nullptr) return FALSE;
  const forms::Control& control = binding->Control();
  if (control.ForeColor() == forms::kDefaultColor && control.BackColor() == forms::kDefaultColor) {
    // Captions, check boxes and option buttons on a page show the page under
    // them, as they would on a page of its own (a themed page is not the
    // dialog's colour); text fields and buttons keep their own background.
    const forms::ControlKind kind = control.Kind();
    const bool showsBackground = kind == forms::ControlKind::Label || kind == forms::ControlKind::Frame ||
                                 kind == forms::ControlKind::CheckBox || kind == forms::ControlKind::OptionButton;
    ControlBinding* page = showsBackground && message == WM_CTLCOLORSTATIC ? PageOwnerOf(control) : nullptr;
    if (page == nullptr) return FALSE;
    page->PaintUnder(dc, item);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
  }
  // What the dialog would have used: a window background for edit fields and
  // lists, the button face for everything else.
  const bool fieldLike = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  const forms::Color back = control.BackColor() != forms::kDefaultColor
                                ? control.BackColor()
                                : forms::SystemColor(fieldLike ? COLOR_WINDOW : COLOR_BTNFACE);
  const forms::Color fore = control.ForeColor() != forms::kDefaultColor
                                ? control.ForeColor()
                                : forms::SystemColor(fieldLike ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
  SetTextColor(dc, ToColorRef(fore));
  SetBkColor(dc, ToColorRef(back));
  return reinterpret_cast<INT_PTR>(Brush(back));
}

ControlBinding* FormBinder::PageOwnerOf(const forms::Control& control) const {
  for (const forms::Control* c = control.Container(); c != nullptr; c = c->Container()) {
    if (c->Kind() == forms::ControlKind::TabStrip) return BindingOf(*c);
  }
  return nullptr;
}

void FormBinder::PaintPages(HDC dc) {
  for (auto& [control, binding] : bindings_) {
    if (control->Kind() == forms::ControlKind::TabStrip) binding->PaintUnder(dc, window_);
  }
}

void FormBinder::OnControlMouseMove(ControlBinding& binding, HWND /*item*/, WPARAM wParam, LPARAM lParam) {
  forms::Control& control = binding.Control();
  if (!control.MouseMove) return;
  DispatchScope dispatch(*this);
  const float tpp = form_.TwipsPerPixel();
  control.OnUserMouseMove(MouseButtons(wParam), MouseShift(wParam),
                          static_cast<float>(static_cast<int16_t>(LOWORD(lParam))) * tpp,
                          static_cast<float>(static_cast<int16_t>(HIWORD(lParam))) * tpp);
}

void FormBinder::OnSize(WPARAM kind) {
  {
    PushScope push(*this);
    if (kind == SIZE_MINIMIZED) form_.SetWindowState(forms::WindowState::Minimized);
    if (kind == SIZE_MAXIMIZED) form_.SetWindowState(forms::WindowState::Maximized);
    if (kind == SIZE_RESTORED) form_.SetWindowState(forms::WindowState::Normal);
  }
  if (kind != SIZE_MINIMIZED && shown_) ReportInnerSize();
}

void FormBinder::ReportInnerSize() {
  RECT inner;
  if (!GetClientRect(window_, &inner)) return;
  form_.OnResized(ToTwips(inner.right - inner.left), ToTwips(inner.bottom - inner.top));
}

ControlBinding* FormBinder::BindingOf(const forms::Control& control) const {
  auto found = bindings_.find(&control);
  return found != bindings_.end() ? found->second.get() : nullptr;
}

ControlBinding* FormBinder::BindingOfItem(HWND item) const {
  // Only the dialog's own child controls (a tooltip is owned, not a child).
  if (item == nullptr || window_ == nullptr || GetParent(item) != window_ ||
      (GetWindowLongPtrA(item, GWL_STYLE) & WS_CHILD) == 0) {
    return nullptr;
  }
  forms::Control* control = form_.FindControl(GetDlgCtrlID(item));
  if (control == nullptr) return nullptr;
  ControlBinding* binding = BindingOf(*control);
  return binding != nullptr && binding->Windowed() ? binding : nullptr;
}

void FormBinder::ControlChanged(forms::Control& control, forms::Prop property) {
  if (window_ == nullptr) return;
  ControlBinding* binding = BindingOf(control);
  if (binding == nullptr) return;
  if (!binding->Windowed()) {
    binding->Push(property);
    return;
  }
  switch (property) {
    case forms::Prop::Visible:
      ForControlAndContents(control, [this](forms::Control& c) { PushVisible(c); });
      break;
    case forms::Prop::Enabled:
      ForControlAndContents(control, [this](forms::Control& c) { PushEnabled(c); });
      break;
    case forms::Prop::Bounds:
      ForControlAndContents(control, [this](forms::Control& c) { PushBounds(c); });
      break;
    case forms::Prop::ToolTip:
      PushToolTip(control);
      break;
    case forms::Prop::Focus:
      if (HWND item = binding->Item()) SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
      break;
    case forms::Prop::ForeColor:
    case forms::Prop::BackColor:
      if (HWND item = binding->Item()) InvalidateRect(item, nullptr, TRUE);
      break;
    case forms::Prop::Font:
      PushFont(control);
      break;
    case forms::Prop::ItemAdded:
      // Appending one by one must not rebuild the whole list each time;
      // while a user event runs the appends are collected.
      if (dispatching_ > 0) {
        appended_.insert(binding);
      } else {
        binding->AppendItems();
      }
      break;
    default:
      binding->Push(property);
      break;
  }
}

void FormBinder::FormChanged(forms::FormProp property) {
  if (window_ == nullptr || Pushing()) return;
  switch (property) {
    case forms::FormProp::Caption:
      SetWindowTextA(window_, form_.Caption().c_str());
      break;
    case forms::FormProp::Visible:
    case forms::FormProp::WindowState:
      PushWindowState();
      break;
    case forms::FormProp::Icon:
      PushWindowIcon();
      break;
    case forms::FormProp::Bounds:
      PushGeometry();
      break;
    case forms::FormProp::Loaded:
      if (!form_.Loaded()) DestroyWindow(window_);
      break;
  }
}

void FormBinder::PopupMenu(forms::MenuItem& menu) {
  UniqueMenu bar(LoadMenuA(instance_, MAKEINTRESOURCEA(menu.Id())));
  if (!bar) return;
  HMENU popup = GetSubMenu(bar.get(), 0);
  for (forms::MenuItem* item : menu.Children()) {
    const UINT id = static_cast<UINT>(item->Id());
    if (!item->Visible()) {
      DeleteMenu(popup, id, MF_BYCOMMAND);
      continue;
    }
    if (item->Caption() != "-") ModifyMenuA(popup, id, MF_BYCOMMAND | MF_STRING, id, item->Caption().c_str());
    EnableMenuItem(popup, id, MF_BYCOMMAND | (item->Enabled() ? MF_ENABLED : MF_GRAYED));
  }
  POINT cursor;
  GetCursorPos(&cursor);
  // Above the cursor, as tray menus open: placed over the cursor instead, the
  // release of a second right click on the icon would choose the last item.
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, window_, nullptr));
  // Lets the menu close properly when the user clicks elsewhere.
  PostMessageA(window_, WM_NULL, 0, 0);
  bar.reset();
  if (chosen == 0) return;
  if (forms::Control* item = form_.FindControl(static_cast<int>(chosen))) {
    if (ControlBinding* binding = BindingOf(*item)) binding->OnMenuCommand();
  }
}

void FormBinder::Call(forms::WindowCall call) {
  if (window_ == nullptr) return;
  constexpr UINT kNoMoveNoSize = SWP_NOMOVE | SWP_NOSIZE;
  switch (call) {
    case forms::WindowCall::MakeTopmost:
      SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kNoMoveNoSize);
      break;
    case forms::WindowCall::MakeNotTopmost:
      SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, kNoMoveNoSize);
      break;
    case forms::WindowCall::SetForeground:
      SetForegroundWindow(window_);
      break;
    case forms::WindowCall::SetFocus:
      SetFocus(window_);
      break;
    case forms::WindowCall::Refresh:
      RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      break;
  }
}

void FormBinder::PushAll() {
  SetWindowTextA(window_, form_.Caption().c_str());
  PushWindowIcon();
  PushGeometry();
  StackContainers();
  // In the form's order, as before bindings: a control's text before its
  // items, its enabled state and visibility last.
  for (forms::Control* control : form_.Controls()) {
    ControlBinding* binding = BindingOf(*control);
    if (binding == nullptr) continue;
    if (!binding->Windowed()) {
      binding->PushAll();
      continue;
    }
    PushBounds(*control);
    binding->PushAll();
    if (control->Font() != forms::Font{}) PushFont(*control);
    PushToolTip(*control);
    PushEnabled(*control);
    PushVisible(*control);
  }
  PushWindowState();
}

// A container (tab strip, frame) is kept below everything inside it, and
// does not paint over it: the template may list them in any order.
void FormBinder::StackContainers() {
  std::vector<forms::Control*> containers;
  for (forms::Control* control : form_.Controls()) {
    if (forms::Control* container = control->Container()) {
      if (std::find(containers.begin(), containers.end(), container) == containers.end()) {
        containers.push_back(container);
      }
    }
  }
  // Innermost first, so the outermost ends at the very bottom.
  std::stable_sort(containers.begin(), containers.end(),
                   [](const forms::Control* a, const forms::Control* b) { return Depth(*a) > Depth(*b); });
  for (forms::Control* container : containers) {
    HWND item = GetDlgItem(window_, container->Id());
    if (item == nullptr) continue;
    SetWindowLongPtrA(item, GWL_STYLE, GetWindowLongPtrA(item, GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(item, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void FormBinder::PushGeometry() {
  const int width = ToPixels(form_.Width());
  const int height = ToPixels(form_.Height());
  RECT placed;
  GetWindowRect(window_, &placed);
  int left = placed.left;
  int top = placed.top;
  if (!IsWindowVisible(window_)) {
    // Not yet on screen: centre it on the work area of its monitor.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    left = work.left + (work.right - work.left - width) / 2;
    top = work.top + (work.bottom - work.top - height) / 2;
  }
  SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormBinder::ForControlAndContents(forms::Control& control,
                                       const std::function<void(forms::Control&)>& push) {
  push(control);
  for (forms::Control* inside : form_.Controls()) {
    if (inside->IsInside(control)) push(*inside);
  }
}

void FormBinder::PushBounds(forms::Control& control) {
  ControlBinding* binding = BindingOf(control);
  if (binding == nullptr || !binding->Windowed()) return;
  HWND item = binding->Item();
  if (item == nullptr) return;
  const POINT at = AbsoluteTwips(control);
  SetWindowPos(item, nullptr, ToPixels(at.x), ToPixels(at.y), ToPixels(control.Width()),
               ToPixels(control.Height()) + binding->ExtraHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormBinder::PushVisible(forms::Control& control) {
  ControlBinding* binding = BindingOf(control);
  if (binding == nullptr || !binding->Windowed()) return;
  if (HWND item = binding->Item()) ShowWindow(item, EffectivelyVisible(control) ? SW_SHOWNA : SW_HIDE);
}

void FormBinder::PushEnabled(forms::Control& control) {
  ControlBinding* binding = BindingOf(control);
  if (binding == nullptr) return;
  if (!binding->Windowed()) {
    binding->Push(forms::Prop::Enabled);
    return;
  }
  if (HWND item = binding->Item()) EnableWindow(item, EffectivelyEnabled(control));
}

void FormBinder::PushFont(forms::Control& control) {
  ControlBinding* binding = BindingOf(control);
  HWND item = binding != nullptr ? binding->Item() : nullptr;
  if (item == nullptr) return;
  HFONT font = control.Font().name.empty() ? reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0))
                                           : Font(control.Font());
  SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void FormBinder::PushToolTip(forms::Control& control) {
  ControlBinding* binding = BindingOf(control);
  HWND item = binding != nullptr ? binding->Item() : nullptr;
  if (item == nullptr || toolTip_ == nullptr) return;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(item);
  SendMessageA(toolTip_, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
  if (control.ToolTipText().empty()) return;
  std::string text = control.ToolTipText();
  tool.lpszText = text.data();
  SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormBinder::PushWindowIcon() {
  if (form_.Icon() == 0) return;
  const int big = MulDiv(GetSystemMetrics(SM_CXICON), static_cast<int>(dpi_), 96);
  const int small = MulDiv(GetSystemMetrics(SM_CXSMICON), static_cast<int>(dpi_), 96);
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon(form_.Icon(), big)));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon(form_.Icon(), small)));
}

void FormBinder::PushWindowState() {
  {
    PushScope push(*this);
    if (!form_.Visible()) {
      ShowWindow(window_, SW_HIDE);
    } else {
      switch (form_.State()) {
        case forms::WindowState::Normal:
          ShowWindow(window_, IsIconic(window_) || IsZoomed(window_) ? SW_RESTORE : SW_SHOW);
          break;
        case forms::WindowState::Minimized:
          ShowWindow(window_, SW_SHOWMINIMIZED);
          break;
        case forms::WindowState::Maximized:
          ShowWindow(window_, SW_SHOWMAXIMIZED);
          break;
      }
    }
  }
  // Form_Resize runs first when the window is first shown, as it did when
  // forms were shown by their runtime.
  const bool wasShown = shown_;
  shown_ = form_.Visible();
  if (shown_ && !wasShown && form_.State() != forms::WindowState::Minimized && window_ != nullptr) {
    ReportInnerSize();
  }
}

void FormBinder::FlushAppendedItems() {
  std::set<ControlBinding*> pending;
  pending.swap(appended_);
  if (window_ == nullptr) return;
  for (ControlBinding* binding : pending) binding->AppendItems();
}

int FormBinder::ToPixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), kTwipsPerInch); }

int FormBinder::ToTwips(int pixels) const { return MulDiv(pixels, kTwipsPerInch, static_cast<int>(dpi_)); }

HICON FormBinder::Icon(int number, int size) {
  const auto key = std::make_pair(number, size);
  auto found = icons_.find(key);
  if (found != icons_.end()) return found->second.get();
  auto icon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(number), IMAGE_ICON, size, size, 0));
  if (icon != nullptr) icons_.emplace(key, UniqueIcon(icon));
  return icon;
}

// System colours use the system's own brushes (never freed, and following a
// change of the colour scheme); plain colours get a brush each, kept.
HBRUSH FormBinder::Brush(forms::Color color) {
  if (forms::IsSystemColor(color)) return GetSysColorBrush(forms::SystemColorIndex(color));
  const COLORREF rgb = ToColorRef(color);
  auto found = brushes_.find(rgb);
  if (found != brushes_.end()) return found->second.get();
  HBRUSH brush = CreateSolidBrush(rgb);
  if (brush != nullptr) brushes_.emplace(rgb, UniqueBrush(brush));
  return brush;
}

HFONT FormBinder::Font(const forms::Font& font) {
  const auto key = std::make_tuple(font.name, font.size, font.bold, dpi_);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.get();
  LOGFONTA description{};
  description.lfHeight = -static_cast<LONG>(std::lround(font.size * static_cast<float>(dpi_) / kPointsPerInch));
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(description.lfFaceName, font.name.c_str(), LF_FACESIZE);
  HFONT created = CreateFontIndirectA(&description);
  if (created != nullptr) fonts_.emplace(key, UniqueFont(created));
  return created;
}

}  // namespace corvane
