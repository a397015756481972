// The dialer window's buttons that only change the window or open others:
// the details toggle and the online-time button.
#include "app/app_context.h"
#include "app/dialer_captions.h"
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

}  // namespace corvane
