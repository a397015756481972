// frmStatistics: a small modeless window with the live connection of one
// entry (speed, bytes sent and received, time online, the countdowns to an
// automatic disconnection or reconnection) on its first tab and the entry's
// online time month by month on its second, refreshed twice a second.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "dial/dialup_service.h"
#include "forms/form.h"
#include "settings/allowance_settings.h"
#include "settings/entry_settings.h"
#include "settings/tariff_settings.h"
#include "stats/allowance_watch.h"
#include "settings/settings_store.h"
#include "stats/live_connection.h"
#include "stats/online_time_ledger.h"
#include "stats/statistics_ids.h"
#include "system/clock_port.h"

namespace corvane {

// What the statistics window reads besides its own controls. It never
// writes the account.
struct StatisticsSources {
  OnlineTimeLedger& ledger;
  SettingsStore& store;
  // The running connection: whether its line is up or waits to reconnect,
  // and its entry's monitoring and countdown settings.
  const LiveConnection& line;
  const std::string& currentEntryName;
  // The entry whose online time the window shows; the openers set it.
  const std::string& statsEntryName;
  DialUpService& dialUp;
  ClockPort& clock;
};

// What the statistics window asks of the dialer window.
struct StatisticsCallbacks {
  // The connection's answer to the Disconnect button: it drops the line, or
  // ends the program while a dropped line waits to reconnect; it never dials.
  std::function<void()> disconnect;
  // Shows the connection log window.
  std::function<void()> showConnectionLog;
  // The bytes and cost the connection log holds for `entryName` this
  // month, the cost in minor units of `tariff`.
  std::function<LoggedMonth(const std::string& entryName, const Tariff& tariff)> loggedMonth;
};

class StatisticsForm : public forms::Form {
 public:
  StatisticsForm(StatisticsSources sources, StatisticsCallbacks callbacks);

  // The countdown row's caption: the age limit's, or the idle hang-up's.
  static constexpr const char* kAgeCountdownCaption = "Active line disconnection in:";
  static constexpr const char* kIdleCountdownCaption = "Idle line hang-up in:";
  // Text colour of the running countdowns.
  static constexpr forms::Color kCountdownColor = forms::Rgb(255, 0, 0);

  forms::TabStrip tbsStats{"tbsStats", IDC_STA_TBSSTATS};
  std::array<forms::Frame, 2> fra{{{"fra(1)", IDC_STA_FRA1, &tbsStats}, {"fra(2)", IDC_STA_FRA2, &tbsStats}}};

  forms::Frame fraConnection{"fraConnection", IDC_STA_FRACONNECTION, &fra[0]};
  forms::Label lbl1{"lbl1", IDC_STA_LBL1, &fraConnection};
  forms::Label lblSpeed{"lblSpeed", IDC_STA_LBLSPEED, &fraConnection};
  forms::Label lbl2{"lbl2", IDC_STA_LBL2, &fraConnection};
  forms::Label lblTimeOn{"lblTimeOn", IDC_STA_LBLTIMEON, &fraConnection};
  forms::Label lblTime{"lblTime", IDC_STA_LBLTIME, &fraConnection};
  forms::Label lblTotalTime{"lblTotalTime", IDC_STA_LBLTOTALTIME, &fraConnection};
  forms::Label lblDisconnect{"lblDisconnect", IDC_STA_LBLDISCONNECT, &fraConnection};
  forms::Label lblDiscTime{"lblDiscTime", IDC_STA_LBLDISCTIME, &fraConnection};
  forms::Label lblReconnect{"lblReconnect", IDC_STA_LBLRECONNECT, &fraConnection};
  forms::Label lblReconTime{"lblReconTime", IDC_STA_LBLRECONTIME, &fraConnection};

  forms::Frame fraActivity{"fraActivity", IDC_STA_FRAACTIVITY, &fra[0]};
  forms::Label lbl3{"lbl3", IDC_STA_LBL3, &fraActivity};
  forms::Label lblTx{"lblTx", IDC_STA_LBLTX, &fraActivity};
  forms::Label lbl4{"lbl4", IDC_STA_LBL4, &fraActivity};
  forms::Label lblRx{"lblRx", IDC_STA_LBLRX, &fraActivity};
  // What is left of the entry's monthly allowance; hidden without one.
  forms::Label lblAllowance{"lblAllowance", IDC_STA_LBLALLOWANCE, &fraActivity};
  // The running call's cost so far and the month's, under the entry's
  // tariff; hidden without one.
  forms::Label lblCostCaption{"lblCostCaption", IDC_STA_LBLCOSTCAPTION, &fraActivity};
  forms::Label lblCost{"lblCost", IDC_STA_LBLCOST, &fraActivity};

  forms::ListView lvTime{"lvTime", IDC_STA_LVTIME, &fra[1]};

  forms::Timer Timer1{"Timer1", IDT_STA_TIMER1, 500};
  forms::CommandButton cmdLog{"cmdLog", IDC_STA_CMDLOG};
  forms::CommandButton cmdDisconnect{"cmdDisconnect", IDC_STA_CMDDISCONNECT};
  forms::CommandButton cmdOK{"cmdOK", IDC_STA_CMDOK};

  // 1 while the window is loaded; the options window reads it.
  uint8_t StatsWindowOpen = 0;
  // The current month's total seconds of the entry shown, running
  // connection included.
  int32_t TotalTime = 0;

  void Form_Load() override;
  void Form_Unload(int16_t& cancel) override;
  void tbsStats_Click();
  // Every step runs whatever the one before it did: a failing counter read
  // leaves the previous figures.
  void Timer1_Timer();
  void cmdDisconnect_Click();
  void cmdOK_Click();

  void CalcTotalTime();
  // Fills the monthly list; leaves it alone when its rows would not change,
  // so the twice-a-second refresh never makes it flicker.
  void RescanOnlineTimes();

 private:
  void ShowConnected();
  void ShowCountdowns();
  void ShowWaitingToReconnect();
  void ShowOffline();
  void GreyOutLineCaptions(bool greyed);
  void ShowAllowanceLeft();
  void ShowCost(const AllowanceUse& use, int64_t lineCost);
  std::string CurrentMonthName();
  // "Time online in December:"
  std::string TimeOnlineInCaption();

  StatisticsSources sources_;
  StatisticsCallbacks callbacks_;
  // The allowance of the entry shown and its month's logged bytes, read
  // when the window (or the entry it shows) changes, not at every refresh.
  bool allowanceRead_ = false;
  std::string allowanceEntry_;
  AllowanceSettings allowance_;
  Tariff tariff_;
  LoggedMonth logged_;
};

}  // namespace corvane
