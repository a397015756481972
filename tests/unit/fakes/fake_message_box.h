// A message box that records what it was asked to show and answers with a
// preset result.
#pragma once

#include <string>
#include <vector>

#include "system/message_box_port.h"

namespace corvane::testing {

class FakeMessageBox : public MessageBoxPort {
 public:
  struct Shown {
    std::string text;
    std::string title;
    MsgIcon icon;
    MsgButtons buttons;
  };

  MsgResult Show(const std::string& text, const std::string& title, MsgIcon icon,
                 MsgButtons buttons) override {
    shown.push_back({text, title, icon, buttons});
    return answer;
  }

  std::vector<Shown> shown;
  MsgResult answer = MsgResult::Ok;
};

}  // namespace corvane::testing
