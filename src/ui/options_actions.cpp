// frmOptions: the Actions page, where an entry's idle hang-up (its numeric
// fields follow the rules of every other one) and the programs run when its
// line comes up and when it has ended are set.
#include <algorithm>

#include "ui/options_form.h"

namespace corvane {

void OptionsForm::SetUpActionsPage() {
  fraIdle.SetCaption("Idle hang-up:");
  lblIdleAfter.SetCaption("Hang up after:");
  lblIdleMin.SetCaption("min idle   (0 = never)");
  lblIdleBelow.SetCaption("Idle below:");
  lblIdleBytes.SetCaption("bytes a minute");
  fraActions.SetCaption("Run a program:");
  lblOnConnect.SetCaption("When connected:");
  lblConnectArgs.SetCaption("Arguments:");
  lblOnDisconnect.SetCaption("When ended:");
  lblDisconnectArgs.SetCaption("Arguments:");
}

void OptionsForm::LoadActionsPage(const std::string& entryKey) {
  const IdleSettings idle = LoadIdleSettings(services_.store, entryKey);
  // A hand-edited value the field does not take shows as its nearest valid
  // one rather than as a range message at every load.
  txtIdleMinutes.SetText(std::to_string(std::clamp(idle.Minutes, 0, kIdleMinutesRule.messageHigh)));
  txtIdleThreshold.SetText(std::to_string(
      std::clamp(idle.ThresholdBytesPerMinute, kIdleThresholdRule.messageLow, kIdleThresholdRule.messageHigh)));
  const LineActions actions = LoadLineActions(services_.store, entryKey);
  txtConnectAction.SetText(actions.OnConnect.Program);
  txtConnectArgs.SetText(actions.OnConnect.Arguments);
  txtDisconnectAction.SetText(actions.OnDisconnect.Program);
  txtDisconnectArgs.SetText(actions.OnDisconnect.Arguments);
  // The baseline a save compares with is what the page shows, so a stored
  // value the boxes cannot show is only rewritten when the user changes it.
  loadedIdle_ = IdlePageValues();
  loadedActions_ = ActionsPageValues();
}

IdleSettings OptionsForm::IdlePageValues() const {
  return IdleSettings{vsbIdleMinutes.Value(), vsbIdleThreshold.Value()};
}

LineActions OptionsForm::ActionsPageValues() const {
  return LineActions{{txtConnectAction.Text(), txtConnectArgs.Text()},
                     {txtDisconnectAction.Text(), txtDisconnectArgs.Text()}};
}

}  // namespace corvane
