// frmOptions: the Limits page, where an entry's monthly allowance is set
// (its numeric fields follow the rules of every other one) and the month's
// use so far is shown.
#include <algorithm>
#include <utility>

#include "stats/duration_text.h"
#include "ui/options_form.h"

namespace corvane {

void OptionsForm::SetUpLimitsPage() {
  fraAllowance.SetCaption("Monthly allowance:");
  lblAllowTime.SetCaption("Online time:");
  lblAllowHrs.SetCaption("hrs   (0 = no time allowance)");
  lblAllowData.SetCaption("Data:");
  lblAllowMB.SetCaption("MB   (0 = no data allowance)");
  lblWarnAt.SetCaption("Warn at:");
  lblWarnPercent.SetCaption("% of an allowance");
  chkAllowHangUp.SetCaption("&Hang up when an allowance is used up");
  fraUsed.SetCaption("Used this month:");
}

void OptionsForm::LoadLimitsPage(const std::string& entryKey) {
  const AllowanceSettings allowance = LoadAllowance(services_.store, entryKey);
  // A hand-edited value the field does not take shows as its nearest valid
  // one rather than as a range message at every load.
  const std::pair<forms::TextBox*, int32_t> boxes[] = {
      {&txtAllowHours, std::clamp(allowance.Hours, 0, kHoursRule.messageHigh)},
      {&txtAllowMegabytes, std::clamp(allowance.Megabytes, 0, kAllowanceMegabytesRule.messageHigh)},
      {&txtWarnPercent, std::clamp(allowance.WarnPercent, kWarnPercentRule.messageLow, kWarnPercentRule.messageHigh)}};
  for (const auto& [box, value] : boxes) box->SetText(std::to_string(value));
  chkAllowHangUp.SetValue(allowance.HangUp != 0 ? 1 : 0);
  // The baseline a save compares with is what the page shows, so a stored
  // value the boxes cannot show is only rewritten when the user changes it.
  loadedAllowance_ = LimitsPageValues();

  const AllowanceUse use = callbacks_.monthUse ? callbacks_.monthUse(EditedEntryName) : AllowanceUse{};
  const DurationParts time = SplitDuration(use.Seconds);
  lblUsed.SetCaption("Online time:  " + std::to_string(time.Hours) + " hrs " + TwoDigits(time.Minutes) +
                     " min\r\nData:  " + MegabytesText(use.Bytes));
}

AllowanceSettings OptionsForm::LimitsPageValues() const {
  AllowanceSettings allowance;
  allowance.Hours = vsbAllowHours.Value();
  allowance.Megabytes = vsbAllowMegabytes.Value();
  allowance.WarnPercent = vsbWarnPercent.Value();
  allowance.HangUp = static_cast<uint8_t>(chkAllowHangUp.Value() != 0 ? 1 : 0);
  return allowance;
}

}  // namespace corvane
