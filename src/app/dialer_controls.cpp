// The dialer window's buttons that only change the window or open others:
// the details toggle and the online-time button, and the openers of the two
// online-time windows.
#include "app/app_context.h"
#include "app/dialer_captions.h"
#include "forms/form_host.h"
#include "system/message_box_port.h"

namespace corvane {

void DialerForm::cmdInfo_Click() {
  const std::string caption = cmdInfo.Caption();
  if (caption == kCaptionOptions) {
    (cmdDial.Enabled() ? cmdDial : static_cast<forms::Control&>(txtCombo)).SetFocus();
    ShowOptionsWindow();
    return;
  }
  if (caption == kCaptionDetails) {
    cmdInfo.SetCaption(kCaptionHideDetails);
    cmdInfo.Move(cmdInfo.Left(), cmdInfo.Top(), kInfoWidthExpanded, cmdInfo.Height());
    SetHeight(kHeightDetails);
  } else if (caption == kCaptionHideDetails) {
    cmdInfo.SetCaption(kCaptionDetails);
    cmdInfo.Move(cmdInfo.Left(), cmdInfo.Top(), kInfoWidthCollapsed, cmdInfo.Height());
    SetHeight(kHeightCompact);
  }
  cmdDial.SetFocus();
}

void DialerForm::cmdShowOnTime_Click() {
  if (ctx_.Entry.MonitorTime == 0) {
    ctx_.Platform.Messages.Show("Monitoring online time is not selected in Options.", "Nothing to show",
                                MsgIcon::Information, MsgButtons::Ok);
    return;
  }
  (cmdDial.Enabled() ? cmdDial : static_cast<forms::Control&>(txtCombo)).SetFocus();
  if (!ctx_.CurrentEntryName.empty()) ShowOnlineTimeWindow();
}

void DialerForm::ShowOnlineTimeWindow() {
  ctx_.StatsEntryName = ctx_.CurrentEntryName;
  ctx_.Platform.Forms.ShowModeless(ctx_.frmOnTime);
}

void DialerForm::ShowStatisticsWindow(const std::string& entryName) {
  ctx_.StatsEntryName = entryName;
  ctx_.Platform.Forms.ShowModeless(ctx_.frmStatistics);
}

void DialerForm::StatisticsEntryEdited(const std::string& editedEntryName) {
  const std::string& current = ctx_.CurrentEntryName;
  if (ctx_.frmStatistics.StatsWindowOpen == 1 && !current.empty() && editedEntryName == current) {
    ctx_.StatsEntryName = editedEntryName;
  }
}

}  // namespace corvane
