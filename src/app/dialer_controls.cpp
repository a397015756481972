// The dialer window's buttons and menu items that only change the window or
// open others: the details toggle, the online-time button, and the tray
// menu's Options and Statistics.
#include "app/connection.h"
#include "app/dialer_captions.h"
#include "app/dialer_form.h"
#include "settings/entry_settings.h"
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

void DialerForm::ShowEntryNumber(const EntrySettings& entry) {
  if (entry.UseList == 1) {
    if (!entry.LastDialedLocation.empty()) cmbList.SetText(entry.LastDialedLocation);
  } else {
    txtCombo.SetText(entry.PhoneNumber);
  }
}

void DialerForm::cmdShowOnTime_Click() {
  if (connection_.RunningEntry().MonitorTime == 0) {
    services_.messages.Show("Monitoring online time is not selected in Options.", "Nothing to show",
                            MsgIcon::Information, MsgButtons::Ok);
    return;
  }
  (cmdDial.Enabled() ? cmdDial : static_cast<forms::Control&>(txtCombo)).SetFocus();
  if (windows_.showOnlineTime) windows_.showOnlineTime();
}

bool DialerForm::ShowOptionsWindow(int tabIndex) {
  return windows_.showOptions && windows_.showOptions(tabIndex);
}

void DialerForm::mnuOptions_Click() { ShowOptionsWindow(); }

void DialerForm::mnuStatistics_Click() {
  if (!connection_.RunningEntryName().empty() && windows_.showStatistics) {
    windows_.showStatistics(connection_.RunningEntryName());
  }
}

}  // namespace corvane
