// Start-up sequence and the close and exit path of the dialer window.
#include <initializer_list>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/dialer_captions.h"
#include "app/dialing.h"
#include "dial/dialup_service.h"
#include "dial/hang_up.h"
#include "dial/phonebook_entry.h"
#include "settings/entry_name.h"
#include "settings/entry_name_rule.h"
#include "settings/win_platform.h"
#include "system/message_box_port.h"
#include "system/clock_port.h"
#include "system/shell_port.h"
#include "system/tray_icon_port.h"
#include "ui/bring_to_front.h"

namespace corvane {

namespace {

constexpr int kDefaultWindowIcon = 8;

}  // namespace

void DialerForm::Form_Load() {
  if (!ctx_.Platform.Shell.ClaimSingleInstance()) {
    ctx_.EndRequested = true;
    return;
  }
  SettingsStore& store = ctx_.Store;
  store.RootHive = RegHive::CurrentUser;
  store.SettingsRoot = kSettingsRoot;

  ctx_.CurrentEntryName = EntryNameFromCommandLine(ctx_.CommandLine);
  // A name that cannot be an entry's key would open, and leave behind, a key
  // that is not an entry (Work\Sub, ..\..\Evil): say so and touch nothing.
  const std::string refusal = EntryNameRefusal(ctx_.CurrentEntryName, 0);
  if (!refusal.empty()) {
    ctx_.Platform.Messages.Show("'" + ctx_.CurrentEntryName + "' is not a dialing entry.\r\n" + refusal, "Corvane",
                                MsgIcon::Exclamation, MsgButtons::Ok);
    ctx_.EndRequested = true;
    return;
  }
  BookLeftCheckpoints(store.EnumEntries());
  if (IsCustomEntryName(ctx_.CurrentEntryName, store.CustomEntryKey)) {
    StartCustomEntry();
    return;
  }

  std::string& name = ctx_.CurrentEntryName;
  if (!name.empty() && !EqualsIgnoringCase(name, "min")) {
    name = Capitalised(name);
    SetCaption("Corvane     '" + name + "'");
  }
  Show();

  EntrySettings& entry = ctx_.Entry;
  if (!name.empty()) LoadEntry(store, store.SettingsRoot + name, entry, cmbList, txtCombo);
  SetIcon(entry.Icon != 0 ? entry.Icon : kDefaultWindowIcon);
  if (entry.UseList == 1) {
    txtCombo.SetVisible(false);
    cmbList.SetVisible(true);
  }

  DialUpService& dialUp = ctx_.Platform.DialUp;
  ctx_.LastResult = dialUp.ValidateEntryName("", "crv");
  if (ctx_.LastResult != kEntryAlreadyExists) CreatePhonebookEntry(dialUp, IsWinNT(ctx_.Platform.Platform));

  if (entry.MonitorTime == 0) cmdShowOnTime.SetToolTipText("Online time monitoring disabled");

  const bool hasNumber = !cmbList.Text().empty() || !txtCombo.Text().empty();
  if (hasNumber && !name.empty() && entry.UseList != 1) {
    Show();
    BringToFront(*this);
    cmdDial_Click();
  } else if (name.empty()) {
    Hide();
    // With no window left to show, a hidden process would only hold the
    // single-instance token and lock out every later start.
    if (!ShowOptionsWindow()) Unload();
  }
}

void DialerForm::Form_QueryUnload(int16_t& cancel, int16_t unloadMode) {
  if (unloadMode != forms::kUnloadControlMenu) return;
  if (ctx_.Entry.MonitorTime != 0) {
    // While waiting to reconnect there is no line to drop: the window just closes.
    if (ctx_.Supervisor.LineDropped == 1) return;
    if (!DisconnectActiveLine()) {
      // Asked whether to drop the line, the user said No: keep it, and the window.
      cancel = 1;
    }
  } else {
    HangUpConnection(ctx_.Platform.DialUp, ctx_.Session.ConnectionHandle, ctx_.LastResult);
  }
}

void DialerForm::Form_Unload(int16_t& /*cancel*/) {
  DialSession& session = ctx_.Session;
  // Whatever still waits (a busy-redial countdown, a pending redial) must
  // stop with the window.
  session.CancelRequested = 1;
  UnhookDialEvents(ctx_);
  HangUpConnection(ctx_.Platform.DialUp, session.ConnectionHandle, ctx_.LastResult);
  const std::string key = ctx_.CurrentEntryKey();
  if (session.IsConnected != 0) {
    const auto now = static_cast<long>(ctx_.Platform.Clock.SecondsSinceMidnight());
    ctx_.Store.SaveRegValue(key, kLastOffTimeValue, std::to_string(now));
  }
  if (ctx_.Entry.MonitorTime != 0) ctx_.Ledger.SaveOnlineTime(key);
  ctx_.Platform.TrayIcon.Delete();
  Timer1.SetEnabled(false);
  for (forms::Form* window : std::initializer_list<forms::Form*>{&ctx_.frmMessage, &ctx_.frmOptions,
                                                                  &ctx_.frmStatistics, &ctx_.frmOnTime}) {
    if (window->Loaded()) window->Unload();
  }
}

void DialerForm::mnuExit_Click() { Unload(); }


// A connection the last run could not book (killed, power cut) is booked
// now, whichever entry it belonged to.
void DialerForm::BookLeftCheckpoints(const std::vector<std::string>& entryNames) {
  const SettingsStore& store = ctx_.Store;
  for (const std::string& name : entryNames) ctx_.Ledger.BookLeftCheckpoint(store.SettingsRoot + name);
  if (!store.CustomEntryKey.empty()) ctx_.Ledger.BookLeftCheckpoint(store.SettingsRoot + store.CustomEntryKey);
}

bool DialerForm::ShowOptionsWindow(int tabIndex) {
  ctx_.Platform.Forms.ShowModeless(ctx_.frmOptions);
  if (!ctx_.frmOptions.Loaded()) return false;
  if (tabIndex > 0) ctx_.frmOptions.tbsOptions.SetSelectedTab(tabIndex + 1);
  return true;
}

void DialerForm::mnuOptions_Click() { ShowOptionsWindow(); }

void DialerForm::mnuStatistics_Click() {
  if (!ctx_.CurrentEntryName.empty()) ShowStatisticsWindow(ctx_.CurrentEntryName);
}

}  // namespace corvane
