// frmOnTime: a plain list of one entry's online time, one line per month,
// the current month first. It has no timer: every mouse movement over the
// window or its list rebuilds the list, so the running month stays current.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "forms/form.h"
#include "settings/settings_store.h"
#include "stats/live_connection.h"
#include "stats/online_time_ledger.h"
#include "stats/statistics_ids.h"
#include "system/clock_port.h"

namespace corvane {

// One line of the list: " September" and a tab, or " May" and two tabs,
// then "3 hrs   07 min". The three longest English month names take one tab
// so that every duration starts at the same tab stop.
std::string OnlineTimeLine(const std::string& monthName, int64_t seconds);

// What the online time window reads besides its own controls.
struct OnlineTimeSources {
  OnlineTimeLedger& ledger;
  SettingsStore& store;
  // The entry the window shows; its opener sets it.
  const std::string& statsEntryName;
  const LiveConnection& line;
  ClockPort& clock;
  // The dialer window, brought back to the front when this one closes.
  forms::Form& dialer;
  // Raises a window above the others and gives it the focus.
  std::function<void(forms::Form&)> bringToFront;
};

class OnlineTimeForm : public forms::Form {
 public:
  explicit OnlineTimeForm(OnlineTimeSources sources);

  forms::Label Label1{"Label1", IDC_ONT_LABEL1};
  forms::Label Label2{"Label2", IDC_ONT_LABEL2};
  forms::ListBox lbxTime{"lbxTime", IDC_ONT_LBXTIME};
  forms::CommandButton cmdOK{"cmdOK", IDC_ONT_CMDOK};

  // 1 once the window has been brought to the front; 0 again when it closes.
  uint8_t OnTimeOnTop = 0;

  // Also runs again on every mouse movement: rebuilds the list (leaving it
  // alone when no line changed) and shows the window.
  void Form_Load() override;
  void Form_MouseMove(int16_t button, int16_t shift, float x, float y) override;
  void lbxTime_MouseMove(int16_t button, int16_t shift, float x, float y);
  void cmdOK_Click();
  void Form_Unload(int16_t& cancel) override;

 private:
  OnlineTimeSources sources_;
};

}  // namespace corvane
