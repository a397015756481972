// A notification area that remembers what the program asked of it: every
// call in order, the icon as it stands now, and the balloons shown.
#pragma once

#include <string>
#include <vector>

#include "system/tray_icon_port.h"

namespace corvane::testing {

class FakeTrayIcon : public TrayIconPort {
 public:
  enum class Op { Add, Modify, Delete, Balloon };
  struct Call {
    Op op;
    int icon;  // as passed; kTrayKeepIcon for a modify that keeps the picture
    std::string tip;  // a balloon's text
  };
  struct Balloon {
    std::string title, text;
    bool operator==(const Balloon&) const = default;
  };

  bool Add(int iconNumber, const std::string& tip) override {
    calls.push_back({Op::Add, iconNumber, tip});
    if (!accept || shown) return false;
    shown = true;
    icon = iconNumber;
    this->tip = tip;
    return true;
  }
  bool Modify(int iconNumber, const std::string& tip) override {
    calls.push_back({Op::Modify, iconNumber, tip});
    if (!accept || !shown) return false;
    if (iconNumber != kTrayKeepIcon) icon = iconNumber;
    this->tip = tip;
    return true;
  }
  bool Delete() override {
    calls.push_back({Op::Delete, 0, {}});
    if (!shown) return false;
    shown = false;
    return true;
  }
  bool ShowBalloon(const std::string& title, const std::string& text) override {
    calls.push_back({Op::Balloon, 0, text});
    if (!accept || !shown) return false;
    balloons.push_back({title, text});
    return true;
  }

  // False makes the shell refuse Add and Modify, as without a task bar.
  bool accept = true;
  // The icon now in the notification area, as the user would see it.
  bool shown = false;
  int icon = 0;
  std::string tip;
  std::vector<Call> calls;
  // The balloons the user was shown, oldest first.
  std::vector<Balloon> balloons;
};

}  // namespace corvane::testing
