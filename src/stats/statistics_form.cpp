// frmStatistics: layout, the tab pages, the twice-a-second refresh and the
// monthly list.
#include "stats/statistics_form.h"

#include <cmath>
#include <initializer_list>
#include <utility>

#include "settings/entry_name.h"
#include "stats/allowance_watch.h"
#include "stats/duration_text.h"
#include "stats/money_text.h"
#include "stats/monthly_online_time.h"

namespace corvane {

namespace {

// Outer size of the window, twips.
constexpr int kWidth = 5415;
constexpr int kHeight = 4650 + 285;

// Where the label pairs sit inside their frames: captions on the left,
// values lined up on the right, one row every kRowStep.
constexpr int kCaptionLeft = 180;
constexpr int kCaptionWidth = 2700;
constexpr int kValueLeft = 2940;
constexpr int kValueWidth = 1740;
constexpr int kFirstRowTop = 300;
constexpr int kRowStep = 285;
constexpr int kRowHeight = 225;

void PlaceRow(forms::Label& caption, forms::Label& value, int row) {
  const int top = kFirstRowTop + row * kRowStep;
  caption.Move(kCaptionLeft, top, kCaptionWidth, kRowHeight);
  value.Move(kValueLeft, top, kValueWidth, kRowHeight);
}

}  // namespace

StatisticsForm::StatisticsForm(StatisticsSources sources, StatisticsCallbacks callbacks)
    : Form("frmStatistics", IDD_STATISTICS), sources_(sources), callbacks_(std::move(callbacks)) {
  Move(0, 0, kWidth, kHeight);

  tbsStats.AddTab("General");
  tbsStats.AddTab("Monthly Stats");
  fraConnection.SetCaption("Connection");
  lbl1.SetCaption("Speed:");
  lbl2.SetCaption("Time online:");
  lblTime.SetCaption("Time online in September:");
  lblDisconnect.SetCaption(kAgeCountdownCaption);
  lblReconnect.SetCaption("Dropped line reconnection in:");
  fraActivity.SetCaption("Activity");
  lbl3.SetCaption("Bytes sent:");
  lbl4.SetCaption("Bytes received:");
  lblCostCaption.SetCaption("Cost now / this month:");
  lvTime.AddColumn("MONTH", 2205);
  lvTime.AddColumn("TOTAL ONLINE TIME", 2400);
  cmdLog.SetCaption("Connection &log...");
  cmdDisconnect.SetCaption("&Disconnect");
  cmdOK.SetCaption("&OK");

  tbsStats.Move(120, 120, 5055, 3615 + kRowStep);
  // Both pages fill the tab strip below its tabs.
  for (forms::Frame& page : fra) page.Move(120, 420, 4815, 3075 + kRowStep);
  fraConnection.Move(0, 0, 4815, 1800);
  PlaceRow(lbl1, lblSpeed, 0);
  PlaceRow(lbl2, lblTimeOn, 1);
  PlaceRow(lblTime, lblTotalTime, 2);
  PlaceRow(lblDisconnect, lblDiscTime, 3);
  PlaceRow(lblReconnect, lblReconTime, 4);
  fraActivity.Move(0, 1860, 4815, 1200 + kRowStep);
  PlaceRow(lbl3, lblTx, 0);
  PlaceRow(lbl4, lblRx, 1);
  PlaceRow(lblCostCaption, lblCost, 2);
  lblAllowance.Move(kCaptionLeft, kFirstRowTop + 3 * kRowStep + 60, kCaptionWidth + kValueWidth, kRowHeight);
  lvTime.Move(0, 0, 4815, 2955 + kRowStep);
  cmdLog.Move(120, 3855 + kRowStep, 1695, 375);
  cmdDisconnect.Move(2520, 3855 + kRowStep, 1215, 375);
  cmdOK.Move(3840, 3855 + kRowStep, 1215, 375);

  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &tbsStats, &fra[0], &fra[1], &fraConnection, &lbl1, &lblSpeed, &lbl2, &lblTimeOn, &lblTime,
           &lblTotalTime, &lblDisconnect, &lblDiscTime, &lblReconnect, &lblReconTime, &fraActivity, &lbl3, &lblTx,
           &lbl4, &lblRx, &lblCostCaption, &lblCost, &lblAllowance, &lvTime, &Timer1, &cmdLog, &cmdDisconnect, &cmdOK}) {
    Register(*control);
  }
  tbsStats.Click = [this] { tbsStats_Click(); };
  Timer1.Tick = [this] { Timer1_Timer(); };
  cmdLog.Click = [this] {
    if (callbacks_.showConnectionLog) callbacks_.showConnectionLog();
  };
  cmdDisconnect.Click = [this] { cmdDisconnect_Click(); };
  cmdOK.Click = [this] { cmdOK_Click(); };
}

void StatisticsForm::Form_Load() {
  StatsWindowOpen = 1;
  // The log may have grown since the window was last open.
  allowanceRead_ = false;
  Timer1.SetEnabled(true);
  // Named for this month from the start: the refresh renames it only while
  // connected, and a window opened offline would otherwise show the total
  // under the design's month.
  lblTime.SetCaption(TimeOnlineInCaption());
  const std::string& name = sources_.statsEntryName;
  if (!sources_.currentEntryName.empty()) {
    tbsStats.SetSelectedTab(1);
    SetCaption("'" + name + "'  Connection Status");
  } else {
    CalcTotalTime();
    SetCaption("'" + name + "'  Time Statistics");
    tbsStats.SetSelectedTab(2);
  }
}

void StatisticsForm::Form_Unload(int16_t& /*cancel*/) {
  Timer1.SetEnabled(false);
  StatsWindowOpen = 0;
}

void StatisticsForm::tbsStats_Click() {
  // Only the page of the selected tab is seen and reached with the keyboard.
  for (int tab = 1; tab <= tbsStats.TabCount(); ++tab) {
    const bool selected = tab == tbsStats.SelectedTab();
    fra[static_cast<size_t>(tab - 1)].SetVisible(selected);
    fra[static_cast<size_t>(tab - 1)].SetEnabled(selected);
  }
  if (tbsStats.SelectedTab() == 2) {
    // The month's total may be older than this opening of the window.
    CalcTotalTime();
    RescanOnlineTimes();
  }
}

void StatisticsForm::Timer1_Timer() {
  CalcTotalTime();
  lblTotalTime.SetCaption(ClockText(TotalTime));
  ShowAllowanceLeft();
  if (sources_.line.IsConnected()) {
    ShowConnected();
  } else if (sources_.line.LineDropped() && sources_.line.RunningEntry().AutoReconnect == 1) {
    ShowWaitingToReconnect();
  } else {
    ShowOffline();
  }
  RescanOnlineTimes();
}

void StatisticsForm::ShowAllowanceLeft() {
  const std::string& name = sources_.statsEntryName;
  if (!allowanceRead_ || allowanceEntry_ != name) {
    allowanceEntry_ = name;
    allowanceRead_ = true;
    allowance_ = LoadAllowance(sources_.store, sources_.store.SettingsRoot + name);
    tariff_ = LoadTariff(sources_.store, sources_.store.SettingsRoot + name);
    logged_ = (allowance_.Megabytes > 0 || tariff_.Any()) && callbacks_.loggedMonth ? callbacks_.loggedMonth(name, tariff_)
                                                                                    : LoggedMonth{};
  }
  const LiveConnection& line = sources_.line;
  const bool running = line.IsConnected() && line.RunningEntry().MonitorTime == 1 &&
                       EqualsIgnoringCase(line.RunningEntryName(), name);
  const int64_t lineCost = running ? line.LineCost() : 0;
  const AllowanceUse use{TotalTime, logged_.Bytes + (running ? line.LineBytes() : 0), logged_.Cost + lineCost};
  // "Left: ..." as the tooltip has it, here "Allowance left: ...".
  const std::string left = AllowanceLeftText(allowance_, use, tariff_);
  lblAllowance.SetVisible(!left.empty());
  lblAllowance.SetCaption(left.empty() ? left : "Allowance l" + left.substr(1));
  ShowCost(use, lineCost);
}

// "0.30 / 3.40 EUR": the call's cost only while it runs.
void StatisticsForm::ShowCost(const AllowanceUse& use, int64_t lineCost) {
  lblCostCaption.SetVisible(tariff_.Any());
  lblCost.SetVisible(tariff_.Any());
  if (!tariff_.Any()) return;
  const bool running = sources_.line.IsConnected() && EqualsIgnoringCase(sources_.line.RunningEntryName(),
                                                                          sources_.statsEntryName);
  lblCost.SetCaption((running ? AmountText(lineCost, tariff_.Decimals) : std::string("-")) + " / " +
                     MoneyText(use.Cost, tariff_.Decimals, tariff_.Currency));
}

void StatisticsForm::ShowConnected() {
  ConnectionStatistics statistics;
  if (sources_.dialUp.GetConnectionStatistics(sources_.line.RunningConnection(), statistics) == kRasSuccess) {
    // The service counts in 32 bits: past 4 GiB the figures start again
    // from 0, and are shown just as it reports them.
    lblSpeed.SetCaption(std::to_string(statistics.Bps) + " bps");
    lblTx.SetCaption(std::to_string(statistics.BytesTransmitted));
    lblRx.SetCaption(std::to_string(statistics.BytesReceived));
  }
  GreyOutLineCaptions(false);
  lblReconnect.SetEnabled(false);
  cmdDisconnect.SetEnabled(true);
  if (sources_.line.RunningEntry().MonitorTime == 1) ShowCountdowns();
}

// Time online and the disconnection countdown. Both come from the ledger's
// monotonic measure, so midnight or a clock set back or forward changes
// neither; the countdown is the limit less the time shown, so the two
// always add up.
void StatisticsForm::ShowCountdowns() {
  OnlineTimeLedger& ledger = sources_.ledger;
  ledger.UpdateElapsed();
  const auto elapsed = static_cast<int64_t>(std::nearbyint(ledger.ElapsedSeconds()));
  lblTimeOn.SetCaption(ClockText(elapsed));
  lblTime.SetCaption(TimeOnlineInCaption());
  const EntrySettings& entry = sources_.line.RunningEntry();
  // The row shows the nearer of the two hang-ups: the age limit's, or an
  // idle line's while its countdown runs.
  const double idleLeft = sources_.line.IdleSecondsLeft();
  const int64_t ageLeft = static_cast<int64_t>(std::nearbyint(entry.AutoDisconnectTime)) - elapsed;
  const bool idleNearer = idleLeft >= 0 && (entry.AutoDisconnect != 1 || idleLeft < static_cast<double>(ageLeft));
  lblDisconnect.SetCaption(idleNearer ? kIdleCountdownCaption : kAgeCountdownCaption);
  if (idleNearer || entry.AutoDisconnect == 1) {
    lblDisconnect.SetEnabled(true);
    lblDiscTime.SetForeColor(kCountdownColor);
    // ClockText shows a limit already passed as 00:00:00.
    lblDiscTime.SetCaption(ClockText(idleNearer ? static_cast<int64_t>(std::ceil(idleLeft)) : ageLeft));
  } else {
    lblDisconnect.SetEnabled(false);
    lblDiscTime.SetCaption("");
  }
}

void StatisticsForm::ShowWaitingToReconnect() {
  for (forms::Label* value : {&lblTimeOn, &lblSpeed, &lblTx, &lblRx, &lblDiscTime}) value->SetCaption("");
  GreyOutLineCaptions(true);
  lblDisconnect.SetEnabled(false);
  lblReconnect.SetEnabled(true);
  lblReconTime.SetForeColor(kCountdownColor);
  lblReconTime.SetCaption(ClockText(static_cast<int64_t>(std::nearbyint(sources_.line.ReconnectCountdown()))));
}

void StatisticsForm::ShowOffline() {
  for (forms::Label* value : {&lblTimeOn, &lblSpeed, &lblTx, &lblRx, &lblDiscTime, &lblReconTime}) {
    value->SetCaption("");
  }
  GreyOutLineCaptions(true);
  lblDisconnect.SetEnabled(false);
  lblReconnect.SetEnabled(false);
  cmdDisconnect.SetEnabled(false);
}

void StatisticsForm::GreyOutLineCaptions(bool greyed) {
  for (forms::Label* caption : {&lbl1, &lbl2, &lbl3, &lbl4}) caption->SetEnabled(!greyed);
}

void StatisticsForm::cmdDisconnect_Click() {
  if (callbacks_.disconnect) callbacks_.disconnect();
  Unload();
}

void StatisticsForm::cmdOK_Click() { Unload(); }

void StatisticsForm::CalcTotalTime() {
  TotalTime = MonthTotal(sources_.ledger, sources_.store, sources_.line, sources_.statsEntryName);
}

void StatisticsForm::RescanOnlineTimes() {
  SetCaption(OnlineTimeCaption(sources_.statsEntryName));
  const std::string history =
      sources_.store.ReadRegValue(sources_.store.SettingsRoot + sources_.statsEntryName, kPreviousMonthsValue);
  std::vector<forms::ListView::Row> rows;
  for (const MonthRecord& month : MonthlyOnlineTime(CurrentMonthName(), TotalTime, history)) {
    rows.push_back({" " + month.MonthName, ListText(month.Seconds)});
  }
  if (rows == lvTime.Rows()) return;
  lvTime.Clear();
  for (const forms::ListView::Row& row : rows) lvTime.AddRow(row);
}

std::string StatisticsForm::TimeOnlineInCaption() { return "Time online in " + CurrentMonthName() + ":"; }

std::string StatisticsForm::CurrentMonthName() {
  ClockPort& clock = sources_.clock;
  return clock.MonthName(clock.Today().Month);
}

}  // namespace corvane
