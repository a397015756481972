// FormBinder: the one place where form models meet real windows.
#include "win32/form_binder.h"

#include <commctrl.h>

#include <string>

namespace corvane {

namespace {

constexpr int kTwipsPerInch = 1440;
// A drop-down combo box is sized with its list; this many twips of list.
constexpr int kComboListTwips = 2400;
constexpr int kPictureSizeAt96Dpi = 32;
constexpr int kButtonIconSizeAt96Dpi = 16;

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

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
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

}  // namespace

FormBinder::FormBinder(forms::Form& form, HINSTANCE instance, MessageLoop& loop)
    : form_(form), instance_(instance), loop_(loop) {}

FormBinder::~FormBinder() {
  form_.Attach(nullptr);
  if (window_ != nullptr) DestroyWindow(window_);
  for (auto& [key, icon] : icons_) DestroyIcon(icon);
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
  return self->HandleMessage(message, wParam, lParam);
}

INT_PTR FormBinder::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_TIMER:
      if (auto* timer = dynamic_cast<forms::Timer*>(form_.FindControl(static_cast<int>(wParam)))) {
        if (timer->Enabled()) timer->OnTick();
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
      const int16_t button = static_cast<int16_t>(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                                                  ((wParam & MK_MBUTTON) ? 4 : 0));
      const int16_t shift = static_cast<int16_t>(((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0));
      const float tpp = form_.TwipsPerPixel();
      form_.Form_MouseMove(button, shift, static_cast<float>(static_cast<int16_t>(LOWORD(lParam))) * tpp,
                           static_cast<float>(static_cast<int16_t>(HIWORD(lParam))) * tpp);
      return TRUE;
    }
    case WM_SIZE:
      ++pushing_;
      if (wParam == SIZE_MINIMIZED) form_.SetWindowState(forms::WindowState::Minimized);
      if (wParam == SIZE_MAXIMIZED) form_.SetWindowState(forms::WindowState::Maximized);
      if (wParam == SIZE_RESTORED) form_.SetWindowState(forms::WindowState::Normal);
      --pushing_;
      return FALSE;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      form_.SetTwipsPerPixel(static_cast<float>(kTwipsPerInch) / static_cast<float>(dpi_));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, ToPixels(form_.Width()),
                   ToPixels(form_.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
      for (forms::Control* control : form_.Controls()) PushControlBounds(*control);
      for (forms::Control* control : form_.Controls()) {
        if (auto* image = dynamic_cast<forms::Image*>(control)) PushPicture(*image);
        if (auto* button = dynamic_cast<forms::CommandButton*>(control)) PushButtonPicture(*button);
      }
      PushWindowIcon();
      return TRUE;
    }
    case WM_DESTROY:
      for (forms::Control* control : form_.Controls()) {
        if (dynamic_cast<forms::Timer*>(control) != nullptr) KillTimer(window_, static_cast<UINT_PTR>(control->Id()));
      }
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

void FormBinder::OnCommand(int id, int code, HWND control) {
  ++dispatching_;
  DispatchCommand(id, code, control);
  --dispatching_;
  if (dispatching_ == 0) FlushAppendedItems();
}

void FormBinder::DispatchCommand(int id, int code, HWND control) {
  forms::Control* target = form_.FindControl(id);
  if (target == nullptr) return;
  if (control == nullptr) {
    if (auto* item = dynamic_cast<forms::MenuItem*>(target)) item->OnUserClick();
    return;
  }
  if (pushing_ > 0) return;
  if (auto* button = dynamic_cast<forms::CommandButton*>(target)) {
    if (code == BN_CLICKED) button->OnUserClick();
  } else if (auto* check = dynamic_cast<forms::CheckBox*>(target)) {
    if (code == BN_CLICKED) check->OnUserValue(IsDlgButtonChecked(window_, id) == BST_CHECKED ? 1 : 0);
  } else if (auto* text = dynamic_cast<forms::TextBox*>(target)) {
    if (code == EN_CHANGE) text->OnUserText(WindowText(control));
  } else if (auto* combo = dynamic_cast<forms::ComboBox*>(target)) {
    if (code == CBN_EDITCHANGE) combo->OnUserText(WindowText(control));
    if (code == CBN_SELCHANGE) {
      combo->OnUserSelect(static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0)));
    }
    if (code == CBN_DROPDOWN) combo->OnUserDropDown();
  }
}

void FormBinder::ControlChanged(forms::Control& control, forms::Prop property) {
  if (window_ == nullptr) return;
  switch (property) {
    case forms::Prop::Text:
      PushText(control);
      break;
    case forms::Prop::Visible:
      PushVisible(control);
      for (forms::Control* child : form_.Controls()) {
        if (child->Container() == &control) PushVisible(*child);
      }
      break;
    case forms::Prop::Enabled:
      if (auto* timer = dynamic_cast<forms::Timer*>(&control)) {
        PushTimer(*timer);
      } else if (HWND item = Item(control)) {
        EnableWindow(item, control.Enabled());
      }
      break;
    case forms::Prop::Bounds:
      PushControlBounds(control);
      for (forms::Control* child : form_.Controls()) {
        if (child->Container() == &control) PushControlBounds(*child);
      }
      break;
    case forms::Prop::ToolTip:
      PushToolTip(control);
      break;
    case forms::Prop::Items:
    case forms::Prop::ListIndex:
      if (auto* combo = dynamic_cast<forms::ComboBox*>(&control)) PushItems(*combo);
      break;
    case forms::Prop::ItemAdded:
      // Appending one by one must not rebuild the whole list each time.
      if (auto* combo = dynamic_cast<forms::ComboBox*>(&control)) {
        if (dispatching_ > 0) {
          appended_.insert(combo);
        } else {
          AppendItems(*combo);
        }
      }
      break;
    case forms::Prop::Value:
      if (auto* check = dynamic_cast<forms::CheckBox*>(&control)) {
        ++pushing_;
        CheckDlgButton(window_, control.Id(), check->Value() != 0 ? BST_CHECKED : BST_UNCHECKED);
        --pushing_;
      }
      break;
    case forms::Prop::Picture:
      if (auto* image = dynamic_cast<forms::Image*>(&control)) PushPicture(*image);
      if (auto* button = dynamic_cast<forms::CommandButton*>(&control)) PushButtonPicture(*button);
      break;
    case forms::Prop::Timer:
      if (auto* timer = dynamic_cast<forms::Timer*>(&control)) PushTimer(*timer);
      break;
    case forms::Prop::Selection:
      if (HWND item = Item(control)) {
        const auto end = static_cast<WPARAM>(GetWindowTextLengthA(item));
        SendMessageA(item, EM_SETSEL, end, static_cast<LPARAM>(end));
        SendMessageA(item, EM_SCROLLCARET, 0, 0);
      }
      break;
    case forms::Prop::Focus:
      if (HWND item = Item(control)) SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
      break;
  }
}

void FormBinder::FormChanged(forms::FormProp property) {
  if (window_ == nullptr || pushing_ > 0) return;
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
  HMENU bar = LoadMenuA(instance_, MAKEINTRESOURCEA(menu.Id()));
  if (bar == nullptr) return;
  HMENU popup = GetSubMenu(bar, 0);
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
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, cursor.x, cursor.y, 0, window_, nullptr));
  // Lets the menu close properly when the user clicks elsewhere.
  PostMessageA(window_, WM_NULL, 0, 0);
  DestroyMenu(bar);
  if (chosen == 0) return;
  if (auto* item = dynamic_cast<forms::MenuItem*>(form_.FindControl(static_cast<int>(chosen)))) item->OnUserClick();
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
  for (forms::Control* control : form_.Controls()) {
    if (dynamic_cast<forms::MenuItem*>(control) != nullptr) continue;
    if (auto* timer = dynamic_cast<forms::Timer*>(control)) {
      PushTimer(*timer);
      continue;
    }
    PushControlBounds(*control);
    PushText(*control);
    if (auto* combo = dynamic_cast<forms::ComboBox*>(control)) PushItems(*combo);
    if (auto* image = dynamic_cast<forms::Image*>(control)) PushPicture(*image);
    if (auto* button = dynamic_cast<forms::CommandButton*>(control)) PushButtonPicture(*button);
    if (auto* check = dynamic_cast<forms::CheckBox*>(control)) ControlChanged(*check, forms::Prop::Value);
    PushToolTip(*control);
    if (HWND item = Item(*control)) EnableWindow(item, control->Enabled());
    PushVisible(*control);
  }
  PushWindowState();
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

void FormBinder::PushControlBounds(forms::Control& control) {
  HWND item = Item(control);
  if (item == nullptr) return;
  const POINT at = AbsoluteTwips(control);
  int height = ToPixels(control.Height());
  if (dynamic_cast<forms::ComboBox*>(&control) != nullptr) height += ToPixels(kComboListTwips);
  SetWindowPos(item, nullptr, ToPixels(at.x), ToPixels(at.y), ToPixels(control.Width()), height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormBinder::PushVisible(forms::Control& control) {
  if (HWND item = Item(control)) ShowWindow(item, EffectivelyVisible(control) ? SW_SHOWNA : SW_HIDE);
}

void FormBinder::PushText(forms::Control& control) {
  HWND item = Item(control);
  if (item == nullptr) return;
  const std::string* text = nullptr;
  if (auto* label = dynamic_cast<forms::Label*>(&control)) text = &label->Caption();
  if (auto* box = dynamic_cast<forms::TextBox*>(&control)) text = &box->Text();
  if (auto* combo = dynamic_cast<forms::ComboBox*>(&control)) text = &combo->Text();
  if (text == nullptr) return;
  ++pushing_;
  SetWindowTextA(item, text->c_str());
  --pushing_;
}

void FormBinder::PushItems(forms::ComboBox& combo) {
  HWND item = Item(combo);
  if (item == nullptr) return;
  ++pushing_;
  SendMessageA(item, WM_SETREDRAW, FALSE, 0);
  SendMessageA(item, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : combo.Items()) {
    SendMessageA(item, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
  SetWindowTextA(item, combo.Text().c_str());
  SendMessageA(item, WM_SETREDRAW, TRUE, 0);
  --pushing_;
}

void FormBinder::AppendItems(forms::ComboBox& combo) {
  HWND item = Item(combo);
  if (item == nullptr) return;
  const auto shown = static_cast<size_t>(SendMessageA(item, CB_GETCOUNT, 0, 0));
  const std::vector<std::string>& items = combo.Items();
  if (shown >= items.size()) return;
  SendMessageA(item, WM_SETREDRAW, FALSE, 0);
  // Room for all of them at once: a long list would otherwise make the box
  // grow its storage over and over.
  size_t bytes = 0;
  for (size_t i = shown; i < items.size(); ++i) bytes += items[i].size() + 1;
  SendMessageA(item, CB_INITSTORAGE, items.size() - shown, static_cast<LPARAM>(bytes));
  for (size_t i = shown; i < items.size(); ++i) {
    SendMessageA(item, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
  }
  SendMessageA(item, WM_SETREDRAW, TRUE, 0);
}

void FormBinder::FlushAppendedItems() {
  if (window_ == nullptr) {
    appended_.clear();
    return;
  }
  std::set<forms::ComboBox*> pending;
  pending.swap(appended_);
  for (forms::ComboBox* combo : pending) AppendItems(*combo);
}

void FormBinder::PushPicture(forms::Image& image) {
  HWND item = Item(image);
  if (item == nullptr) return;
  HICON icon = image.Picture() != 0 ? Icon(image.Picture(), MulDiv(kPictureSizeAt96Dpi, static_cast<int>(dpi_), 96))
                                    : nullptr;
  SendMessageA(item, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void FormBinder::PushButtonPicture(forms::CommandButton& button) {
  HWND item = Item(button);
  if (item == nullptr || button.Picture() == 0) return;
  HICON icon = Icon(button.Picture(), MulDiv(kButtonIconSizeAt96Dpi, static_cast<int>(dpi_), 96));
  SendMessageA(item, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void FormBinder::PushTimer(forms::Timer& timer) {
  const auto id = static_cast<UINT_PTR>(timer.Id());
  if (timer.Enabled() && timer.Interval() > 0) {
    SetTimer(window_, id, static_cast<UINT>(timer.Interval()), nullptr);
  } else {
    KillTimer(window_, id);
  }
}

void FormBinder::PushToolTip(forms::Control& control) {
  HWND item = Item(control);
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
  ++pushing_;
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
  --pushing_;
}

int FormBinder::ToPixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), kTwipsPerInch); }

HICON FormBinder::Icon(int number, int size) {
  const auto key = std::make_pair(number, size);
  auto found = icons_.find(key);
  if (found != icons_.end()) return found->second;
  auto icon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(number), IMAGE_ICON, size, size, 0));
  if (icon != nullptr) icons_.emplace(key, icon);
  return icon;
}

}  // namespace corvane
