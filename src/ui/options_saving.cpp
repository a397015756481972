// frmOptions: the OK button, saving an ordinary entry (the user's changes
// over the record loaded) or the custom entry (moved when renamed), and
// putting its shortcut on the desktop.
#include <algorithm>

#include "settings/entry_name.h"
#include "settings/entry_name_rule.h"
#include "settings/entry_shortcuts.h"
#include "stats/online_time_ledger.h"
#include "ui/options_form.h"

namespace corvane {

EntryForm OptionsForm::FormValues() const {
  EntryForm form;
  form.name = cmbSelEntry.Text();
  form.loadAtStartup = chkLoad.Value();
  form.monitorTime = chkMonitorTime.Value();
  form.single = chkSingle.Value();
  form.list = chkList.Value();
  form.userName = txtUserName.Text();
  form.password = txtPassword.Text();
  form.phoneNumber = txtPhoneNumber.Text();
  form.phoneList = txtPhoneList.Text();
  form.userList = txtUserList.Text();
  form.redial = chkRedial.Value();
  form.redialText = TxtRedial.Text();
  form.minutesText = txtMinutes.Text();
  form.secondsText = txtSeconds.Text();
  form.redialValue = vsb1.Value();
  form.minutesValue = vsb2.Value();
  form.secondsValue = vsb3.Value();
  form.url = txtURL.Text();
  form.browserPath = txtBrowser.Text();
  form.startBrowser = chkBrowser.Value();
  form.autoDisconnect = chkAutoDisconnect.Value();
  form.autoDisconnectHours = vsbAhrs.Value();
  form.autoDisconnectMinutes = vsbAmin.Value();
  form.autoReconnect = chkAutoReconnect.Value();
  form.onTime1 = txtOnTimeEx1.Text();
  form.onTime2 = txtOnTimeEx2.Text();
  form.offTime1 = txtOffTimeEx1.Text();
  form.offTime2 = txtOffTimeEx2.Text();
  form.disconnectAndDial = optDisconnect.Value();
  form.icon = Entry.Icon;
  form.storedPassword = Entry.Password;
  form.previousNumber = previousNumber_;
  // The line picked in the dialer belongs to the running entry; any other
  // entry keeps the line stored with it.
  form.lastDialedLocation = Entry.LastDialedLocation;
  const std::string picked = services_.line.ChosenPhoneLine();
  if (form.list != 0 && EditsRunningEntry() && !picked.empty()) form.lastDialedLocation = picked;
  return form;
}

size_t OptionsForm::LongestShortcutFolder() const {
  const std::string startup = services_.shellLinks.FolderPath(ShellFolder::Startup);
  return std::max({CommonDesktopPath.size(), UserDesktopPath.size(), startup.size()});
}

void OptionsForm::ShowProblem(const EntryFormProblem& problem) {
  tbsOptions.SetSelectedTab(problem.tab);
  services_.messages.Show(problem.message, kSaveErrorTitle, MsgIcon::Information, MsgButtons::Ok);
  switch (problem.focus) {
    case EntryField::Unchanged: break;
    case EntryField::EntryName: cmbSelEntry.SetFocus(); break;
    case EntryField::UserName: txtUserName.SetFocus(); break;
    case EntryField::Password: txtPassword.SetFocus(); break;
    case EntryField::PhoneNumber: txtPhoneNumber.SetFocus(); break;
    case EntryField::PhoneList: txtPhoneList.SetFocus(); break;
    case EntryField::UserList: txtUserList.SetFocus(); break;
  }
}

void OptionsForm::cmdOK_Click() {
  std::string shortcutName;
  bool newEntry = false;
  if (tbsOptions.SelectedTab() == kCustomTab) {
    const std::string custom = txtNZentry.Text();
    if (custom.empty()) {
      Unload();
      return;
    }
    const std::string refusal = EntryNameRefusal(custom, LongestShortcutFolder());
    if (!refusal.empty()) {
      services_.messages.Show(refusal, kSaveErrorTitle, MsgIcon::Information, MsgButtons::Ok);
      txtNZentry.SetFocus();
      return;
    }
    MoveCustomEntry(custom);
    SaveCustomEntry(custom, txtNZlocation.Text(), CustomIcon, services_.store);
    if (CustomIcon != 0) {
      SetIcon(CustomIcon);
      if (callbacks_.setDialerIcon) callbacks_.setDialerIcon(CustomIcon);
    }
    shortcutName = custom;
  } else {
    const EntryForm form = FormValues();
    if (const auto problem = CheckEntryForm(form, LongestShortcutFolder())) {
      ShowProblem(*problem);
      return;
    }
    newEntry = !IsStoredEntry(form.name);
    // The entry shown, saved under its own name, gets the user's changes
    // only; under any other name the whole record shown is written.
    const bool shownEntry = !newEntry && EqualsIgnoringCase(form.name, loadedEntryName_);
    EditedEntryName = form.name;
    if (SaveEntry(form, shownEntry ? &loaded_ : nullptr, services_.store, Entry, services_.messages) !=
        SaveResult::Saved) {
      return;
    }
    SaveAllowance(LimitsPageValues(), shownEntry ? &loadedAllowance_ : nullptr, services_.store,
                  services_.store.SettingsRoot + form.name);
    SaveIdleSettings(IdlePageValues(), shownEntry ? &loadedIdle_ : nullptr, services_.store,
                     services_.store.SettingsRoot + form.name);
    SaveLineActions(ActionsPageValues(), shownEntry ? &loadedActions_ : nullptr, services_.store,
                    services_.store.SettingsRoot + form.name);
    if (callbacks_.entrySaved) callbacks_.entrySaved(EditedEntryName);
    shortcutName = form.name;
  }
  SaveShortcut(shortcutName, newEntry);
}

// There is one custom entry: with two "*" keys the next start would take
// whichever the registry lists last.
void OptionsForm::MoveCustomEntry(const std::string& name) {
  SettingsStore& store = services_.store;
  store.EnumEntries();
  const std::string oldKey = store.CustomEntryKey;
  if (oldKey.empty() || EqualsIgnoringCase(oldKey.substr(1), name)) return;
  const std::string from = store.SettingsRoot + oldKey;
  const std::string to = store.SettingsRoot + "*" + name;
  for (const char* value : {"Icon", "DoNotAsk", kCurrentMonthValue, kCurrentYearValue, kOnlineTimeValue,
                            kPreviousMonthsValue, kLastOffTimeValue, kCheckpointValue}) {
    const std::string text = store.ReadRegValue(from, value);
    if (!text.empty()) store.SaveRegValue(to, value, text);
  }
  store.DeleteRegKey(from);
  const std::string oldName = oldKey.substr(1);
  RemoveEntryShortcuts(services_.shellLinks, oldName, oldName, services_.programFile);
}

void OptionsForm::SaveShortcut(const std::string& name, bool newEntry) {
  const bool customTab = tbsOptions.SelectedTab() == kCustomTab;
  const uint8_t icon = customTab ? CustomIcon : Entry.Icon;
  CreateDesktopShortcut(services_.shellLinks, name, icon, services_.programFile);

  // Ending the program would hang up a line that is up: the user dials the
  // new entry from its icon once that line is done with.
  const bool endsTheProgram = (newEntry || customTab) &&
                              (StartEntryName.empty() || !txtNZentry.Text().empty()) && !services_.line.IsConnected();
  if (endsTheProgram) {
    services_.messages.Show("To dial, click on the '" + name + "' icon located on desktop.",
                            "New dialing entry: '" + name + "'", MsgIcon::Information, MsgButtons::Ok);
    if (callbacks_.endProgram) callbacks_.endProgram();
    return;
  }
  Unload();
}

}  // namespace corvane
