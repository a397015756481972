// frmOnTime: layout, the month lines and the rebuild on mouse movement.
#include "stats/online_time_form.h"

#include <initializer_list>
#include <utility>
#include <vector>

#include "stats/duration_text.h"
#include "stats/monthly_online_time.h"

namespace corvane {

namespace {

// Outer size of the window, twips.
constexpr int kWidth = 4035;
constexpr int kHeight = 3390;

}  // namespace

std::string OnlineTimeLine(const std::string& monthName, int64_t seconds) {
  const bool longName = monthName == "September" || monthName == "November" || monthName == "December";
  return " " + monthName + (longName ? "\t" : "\t\t") + ListText(seconds);
}

OnlineTimeForm::OnlineTimeForm(OnlineTimeSources sources)
    : Form("frmOnTime", IDD_ONTIME), sources_(std::move(sources)) {
  SetCaption("Internet Online Time");
  Move(0, 0, kWidth, kHeight);
  Label1.SetCaption("Month");
  Label2.SetCaption("Total Online Time");
  cmdOK.SetCaption("&OK");

  // The headings stand over the list's tab columns.
  Label1.Move(180, 120, 1305, 225);
  Label2.Move(1500, 120, 2040, 225);
  lbxTime.Move(120, 375, 3675, 2040);
  cmdOK.Move(2580, 2550, 1215, 375);

  for (forms::Control* control : std::initializer_list<forms::Control*>{&Label1, &Label2, &lbxTime, &cmdOK}) {
    Register(*control);
  }
  lbxTime.MouseMove = [this](int16_t button, int16_t shift, float x, float y) {
    lbxTime_MouseMove(button, shift, x, y);
  };
  cmdOK.Click = [this] { cmdOK_Click(); };
}

void OnlineTimeForm::Form_Load() {
  const std::string& name = sources_.statsEntryName;
  SetCaption(OnlineTimeCaption(name));

  const std::string key = sources_.store.SettingsRoot + name;
  const int32_t monthSeconds = MonthTotal(sources_.ledger, sources_.store, sources_.line, name);
  ClockPort& clock = sources_.clock;
  const std::string history = sources_.store.ReadRegValue(key, kPreviousMonthsValue);
  std::vector<std::string> lines;
  for (const MonthRecord& month : MonthlyOnlineTime(clock.MonthName(clock.Today().Month), monthSeconds, history)) {
    lines.push_back(OnlineTimeLine(month.MonthName, month.Seconds));
  }
  // Every mouse movement lands here: an unchanged list is not touched, so
  // it neither flickers nor loses its selection and scroll position.
  if (lines != lbxTime.Items().Texts()) {
    lbxTime.Clear();
    for (const std::string& line : lines) lbxTime.AddItem(line);
  }

  Show();
  if (OnTimeOnTop == 0) {
    sources_.bringToFront(*this);
    OnTimeOnTop = 1;
  }
}

void OnlineTimeForm::Form_MouseMove(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {
  SetForeground();
  Form_Load();
}

void OnlineTimeForm::lbxTime_MouseMove(int16_t button, int16_t shift, float x, float y) {
  Form_MouseMove(button, shift, x, y);
}

void OnlineTimeForm::cmdOK_Click() { Unload(); }

void OnlineTimeForm::Form_Unload(int16_t& /*cancel*/) {
  OnTimeOnTop = 0;
  if (sources_.dialer.State() != forms::WindowState::Minimized) sources_.bringToFront(sources_.dialer);
}

}  // namespace corvane
