// Modal message boxes with a fixed text, title, icon and buttons.
#pragma once

#include <string>

namespace corvane {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// YesNoDefaultNo: Yes and No with No as the default button.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoDefaultNo };
enum class MsgResult { Ok, Cancel, Yes, No };

class MessageBoxPort {
 public:
  virtual ~MessageBoxPort() = default;

  // Shows the box owned by the program's window the user is in (its main
  // window otherwise) and waits for the answer.
  virtual MsgResult Show(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) = 0;
};

}  // namespace corvane
