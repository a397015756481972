// MessageBoxPort over MessageBoxA, owned by the program's window the user is
// in (its active window), else by the main window once it exists.
#pragma once

#include "system/message_box_port.h"

namespace corvane {

class Win32MessageBox : public MessageBoxPort {
 public:
  // `owner` is the HWND that owns the boxes; null shows them task-modal
  // without an owner.
  void SetOwner(void* owner) { owner_ = owner; }
  void* Owner() const { return owner_; }

  MsgResult Show(const std::string& text, const std::string& title, MsgIcon icon,
                 MsgButtons buttons) override;

 private:
  void* owner_ = nullptr;
};

}  // namespace corvane
