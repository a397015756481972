// The start-up sequence: the entry from the command line, a connection the
// last run left unbooked, the program's phonebook entry, and what happens
// next (dial at once, wait for the user, the options window, or the custom
// entry's provider program).
#include <string>
#include <vector>

#include "app/connection.h"
#include "app/dialer_form.h"
#include "dial/dialup_service.h"
#include "dial/phonebook_entry.h"
#include "settings/entry_name.h"
#include "settings/entry_name_rule.h"
#include "settings/win_platform.h"
#include "system/message_box_port.h"
#include "system/shell_port.h"
#include "ui/bring_to_front.h"

namespace corvane {

namespace {

constexpr int kDefaultWindowIcon = 8;

}  // namespace

void Connection::Start() {
  DialerForm& view = *view_;
  if (!ports_.Shell.ClaimSingleInstance()) {
    endedAtStart_ = true;
    return;
  }
  store_.RootHive = RegHive::CurrentUser;
  store_.SettingsRoot = kSettingsRoot;

  std::string name = EntryNameFromCommandLine(commandLine_);
  // A name that cannot be an entry's key would open, and leave behind, a key
  // that is not an entry (Work\Sub, ..\..\Evil): say so and touch nothing.
  const std::string refusal = EntryNameRefusal(name, 0);
  if (!refusal.empty()) {
    ports_.Messages.Show("'" + name + "' is not a dialing entry.\r\n" + refusal, "Corvane", MsgIcon::Exclamation,
                         MsgButtons::Ok);
    endedAtStart_ = true;
    return;
  }
  BookLeftCheckpoints(store_.EnumEntries());
  if (IsCustomEntryName(name, store_.CustomEntryKey)) {
    runningEntryName_ = currentEntryName_ = "*" + name;
    StartCustomEntry();
    return;
  }

  if (!name.empty() && !EqualsIgnoringCase(name, "min")) {
    name = Capitalised(name);
    view.SetCaption("Corvane     '" + name + "'");
  }
  runningEntryName_ = currentEntryName_ = name;
  view.Show();

  if (!name.empty()) {
    entry_ = LoadEntry(store_, RunningEntryKey());
    view.ShowEntryNumber(entry_);
  }
  view.SetIcon(entry_.Icon != 0 ? entry_.Icon : kDefaultWindowIcon);
  if (entry_.UseList == 1) {
    view.txtCombo.SetVisible(false);
    view.cmbList.SetVisible(true);
  }

  lastResult_ = PreparePhonebookEntry(ports_.DialUp, IsWinNT(ports_.Platform));

  if (entry_.MonitorTime == 0) view.cmdShowOnTime.SetToolTipText("Online time monitoring disabled");

  const bool hasNumber = !view.cmbList.Text().empty() || !view.txtCombo.Text().empty();
  if (hasNumber && !name.empty() && entry_.UseList != 1) {
    view.Show();
    BringToFront(view);
    DialClicked();
  } else if (name.empty()) {
    view.Hide();
    // With no window left to show, a hidden process would only hold the
    // single-instance token and lock out every later start.
    if (!(windows_.showOptions && windows_.showOptions(0))) view.Unload();
  }
}

// A connection the last run could not book (killed, power cut) is booked
// and logged now, whichever entry it belonged to.
void Connection::BookLeftCheckpoints(const std::vector<std::string>& entryNames) {
  std::vector<std::string> keys;
  for (const std::string& name : entryNames) keys.push_back(store_.SettingsRoot + name);
  if (!store_.CustomEntryKey.empty()) keys.push_back(store_.SettingsRoot + store_.CustomEntryKey);
  for (const std::string& key : keys) {
    const std::string failure = recorder_.FinishLeft(key, ledger_.BookLeftCheckpoint(key));
    if (!failure.empty()) AppendDetails(failure);
  }
}

}  // namespace corvane
