// Message boxes through MessageBoxA.
#include "win32/win32_message_box.h"

#include <windows.h>

namespace corvane {

namespace {

UINT IconFlags(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical: return MB_ICONSTOP;
    case MsgIcon::Question: return MB_ICONQUESTION;
    case MsgIcon::Exclamation: return MB_ICONEXCLAMATION;
    case MsgIcon::Information: return MB_ICONINFORMATION;
    case MsgIcon::None: break;
  }
  return 0;
}

UINT ButtonFlags(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OkCancel: return MB_OKCANCEL;
    case MsgButtons::YesNo: return MB_YESNO;
    case MsgButtons::YesNoDefaultNo: return MB_YESNO | MB_DEFBUTTON2;
    case MsgButtons::Ok: break;
  }
  return MB_OK;
}

// What a box that could not be shown counts as: the answer that does nothing.
MsgResult Declined(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OkCancel: return MsgResult::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo: return MsgResult::No;
    case MsgButtons::Ok: break;
  }
  return MsgResult::Ok;
}

}  // namespace

MsgResult Win32MessageBox::Show(const std::string& text, const std::string& title, MsgIcon icon,
                                MsgButtons buttons) {
  HWND owner = static_cast<HWND>(owner_);
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  // A question belongs to the program's window the user is in (the options
  // window asking about its own fields): that window waits for the answer,
  // and the main window stays usable.
  if (HWND active = GetActiveWindow(); active != nullptr && IsWindowVisible(active) && IsWindowEnabled(active)) {
    owner = active;
  }
  const UINT flags = IconFlags(icon) | ButtonFlags(buttons) | (owner == nullptr ? MB_TASKMODAL : 0);
  switch (MessageBoxA(owner, text.c_str(), title.c_str(), flags)) {
    case IDOK: return MsgResult::Ok;
    case IDCANCEL: return MsgResult::Cancel;
    case IDYES: return MsgResult::Yes;
    case IDNO: return MsgResult::No;
    default: return Declined(buttons);
  }
}

}  // namespace corvane
