// frmMessage: the question the tray menu's Disconnect command asks before it
// drops an active connection, with a box to stop asking for this entry.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "forms/form.h"
#include "ui/message_ids.h"

namespace corvane {

class SettingsStore;

class MessageForm : public forms::Form {
 public:
  // The question is about the running entry: its name, the store its
  // choice goes to, the dialer window whose icon the question shows, and
  // who takes the choice for the running line.
  MessageForm(SettingsStore& store, const std::string& runningEntryName, const forms::Form& dialer,
              std::function<void(uint8_t doNotAsk)> doNotAskChosen);

  forms::Label lblMess{"lblMess", IDC_MSG_LBLMESS};
  forms::Image Image1{"Image1", IDC_MSG_IMAGE1};
  forms::CheckBox chkAsk{"chkAsk", IDC_MSG_CHKASK};
  forms::CommandButton cmdYes{"cmdYes", IDC_MSG_CMDYES};
  forms::CommandButton cmdNo{"cmdNo", IDC_MSG_CMDNO};

  // The answer of the last time the question was answered: 1 after "&No"
  // (keep the connection), 0 after "&Yes"; 0 at program start. It belongs
  // to this object, which lives for the whole run, not to the window: it
  // survives the unload, and closing the window without answering (close
  // box, Alt+F4) leaves it as it was.
  uint8_t DisconnectDeclined = 0;

  // Each show starts with the box unticked and the focus on "&Yes".
  void Form_Load() override;

  // Both answers store the check box first (SaveDoNotAsk), then set
  // DisconnectDeclined and unload the window.
  void cmdYes_Click();
  void cmdNo_Click();

  // Writes "DoNotAsk" = "1" (ticked) or "0" into the current entry's key,
  // creating the key when missing. Runs when
  // the user answers, so a box ticked and then closed without an answer
  // changes nothing. The running line takes the value too, so a later
  // Disconnect in the same run honours it.
  void SaveDoNotAsk();

 private:
  SettingsStore& store_;
  const std::string& runningEntryName_;
  const forms::Form& dialer_;
  std::function<void(uint8_t doNotAsk)> doNotAskChosen_;
};

}  // namespace corvane
