// frmOptions: filling the window from an entry, the entry selector, the
// icon choice, removing an entry, and closing the window.
#include <algorithm>

#include "ui/bring_to_front.h"
#include "ui/default_browser.h"
#include "settings/entry_name.h"
#include "settings/automation_values.h"
#include "settings/entry_name_rule.h"
#include "settings/entry_shortcuts.h"
#include "ui/options_form.h"

namespace corvane {

namespace {

constexpr int kDefaultIcon = 8;
// A stored password is never shown: these stand for it.
const std::string kStoredPasswordMark(24, ' ');
constexpr size_t kCaptionNameChars = 7;

}  // namespace

void OptionsForm::Form_Load() {
  // The selector set below raises its change; that is no user's pick.
  const bool outerLoad = !loading_;
  loading_ = true;
  SettingsStore& store = services_.store;
  EntrySettings& entry = Entry;
  if (EditedEntryName.empty()) {
    // Taken at the window's first load: whether closing it ends the program
    // depends on how the program started. Reloading after the selector was
    // cleared, or a later showing after the running entry was removed, must
    // not turn this window into the one that ends the program.
    if (!startEntryTaken_) StartEntryName = services_.currentEntryName;
    startEntryTaken_ = true;
    cmbSelEntry.SetText(services_.currentEntryName);
    EditedEntryName = services_.currentEntryName;
  }
  if (EditedEntryName.empty()) SetCaption("Corvane - Options");
  // The entry is loaded whole and afresh: every box below is set from it, so
  // nothing of the entry shown before stays behind.
  const std::string key = store.SettingsRoot + EditedEntryName;
  entry = LoadEntry(store, key);

  chkLoad.SetValue(entry.LoadAtStartup != 0 ? 1 : 0);
  chkMonitorTime.SetValue(entry.MonitorTime != 0 ? 1 : 0);
  chkBrowser.SetValue(entry.StartBrowser != 0 ? 1 : 0);

  if (entry.UseList == 1) {
    chkList.SetValue(1);
    chkSingle.SetValue(0);
    txtPhoneNumber.SetEnabled(false);
    txtPhoneNumber.SetBackColor(forms::kColorMenu);
  } else {
    chkList.SetValue(0);
    chkSingle.SetValue(1);
  }
  if (entry.UseList == 1) {
    txtPhoneList.SetText(entry.PhoneList);
    txtUserList.SetText(entry.UserList);
    txtUserName.SetText("");
    txtPassword.SetText("");
    txtPhoneNumber.SetText("");
  } else {
    txtPhoneList.SetText("");
    txtUserList.SetText("");
    txtUserName.SetText(entry.UserName);
    txtPassword.SetText(entry.Password.empty() ? std::string() : kStoredPasswordMark);
    txtPhoneNumber.SetText(entry.PhoneNumber);
  }

  chkRedial.SetValue(entry.EnableRedial != 0 ? 1 : 0);
  chkRedial_Click();  // the box may already hold that value, which raises no click
  TxtRedial.SetText(" " + std::to_string(entry.NumberOfRedials));
  txtMinutes.SetText(" " + std::to_string(entry.Minutes));
  txtSeconds.SetText(" " + std::to_string(entry.Seconds));
  vsb1.SetValue(entry.NumberOfRedials);
  vsb2.SetValue(entry.Minutes);
  vsb3.SetValue(entry.Seconds);

  chkAutoDisconnect.SetValue(entry.AutoDisconnect != 0 ? 1 : 0);
  chkAutoDisconnect_Click();
  chkAutoReconnect.SetValue(entry.AutoReconnect != 0 ? 1 : 0);
  chkAutoReconnect_Click();

  if (entry.DisconnectAndDial == 1) {
    optDisconnect.SetValue(true);
    optNextTime.SetValue(false);
  } else if (entry.DisconnectAndDial == 0) {
    optNextTime.SetValue(true);
    optDisconnect.SetValue(false);
  }

  if (entry.Icon == 0) {
    imgIcon[0].SetPicture(kDefaultIcon);
  } else {
    ShowEntryIcon(entry.Icon);
  }

  const std::string tab4Name = store.ReadRegValue(store.SettingsRoot, "Tab4Name");
  if (tab4Name.empty() && tbsOptions.TabCaption(4).empty()) {
    tbsOptions.SetTabCaption(4, "CustE&ntry");
  } else if (!tab4Name.empty()) {
    tbsOptions.SetTabCaption(4, tab4Name);
  }

  const HoursAndMinutes hangUp = SplitAutoDisconnectTime(entry.AutoDisconnectTime);
  txtAhrs.SetText(std::to_string(hangUp.hours));
  txtAmin.SetText(std::to_string(hangUp.minutes));

  txtURL.SetText(!entry.FileURL.empty() ? entry.FileURL : kUrlPrefill);
  previousNumber_ = store.ReadRegValue(key, kPreviousNumberValue);
  lblPreviousNumber.SetCaption("Previous number: " + (previousNumber_.empty() ? "none" : previousNumber_));
  cmdPreviousNumber.SetEnabled(!previousNumber_.empty());
  const std::string browser = store.ReadRegValue(key, "BrowserPath");
  txtBrowser.SetText(!browser.empty() ? browser : DefaultBrowserPath(services_.shell));

  const std::string onTime1 = store.ReadRegValue(key, "OnTimeEx1");
  txtOnTimeEx1.SetText(onTime1.empty() ? "0" : onTime1);
  // An emptied on-time box reads as 0 hours through its scroll bar's rule;
  // the bar is set first, so loading an entry without a second window
  // leaves the box empty whatever the entry shown before had.
  const std::string onTime2 = store.ReadRegValue(key, "OnTimeEx2");
  if (onTime2.empty()) vsbOnTimeEx2.SetValue(0);
  txtOnTimeEx2.SetText(onTime2);
  const std::string offTime1 = store.ReadRegValue(key, "OffTimeEx1");
  txtOffTimeEx1.SetText(offTime1.empty() ? "0" : offTime1);
  txtOffTimeEx2.SetText(store.ReadRegValue(key, "OffTimeEx2"));
  if (txtOnTimeEx2.Text().empty()) {
    txtOffTimeEx2.SetText(kNotConnectedText);
    vsbOffTimeEx2.SetValue(100);
  }

  cmbSelEntry.SetSelectionToEnd();
  tbsOptions.SetSelectedTab(1);
  OptionsWindowOpen = 1;
  loadedEntryName_ = EditedEntryName;
  ShowSaveCaption();
  loaded_ = FormValues();
  loaded_.lastDialedLocation = entry.LastDialedLocation;
  LoadLimitsPage(key);
  LoadActionsPage(key);

  // The desktops come from the shell; an empty path makes the file steps
  // of saving and removal do nothing there.
  CommonDesktopPath = services_.shellLinks.FolderPath(ShellFolder::CommonDesktop);
  UserDesktopPath = services_.shellLinks.FolderPath(ShellFolder::UserDesktop);
  if (outerLoad) loading_ = false;
  BringToFront(*this);
}

void OptionsForm::ShowEntryIcon(int number) {
  imgIcon[0].SetPicture(number);
  SetIcon(number);
  if (callbacks_.setDialerIcon) callbacks_.setDialerIcon(number);
}

void OptionsForm::cmbSelEntry_DropDown() {
  RememberedText = cmbSelEntry.Text();
  cmbSelEntry.Clear();
  for (const std::string& name : services_.store.EnumEntries()) cmbSelEntry.AddItem(name);
  cmbSelEntry.SetText(RememberedText);
}

void OptionsForm::cmbSelEntry_Change() {
  const std::string typed = cmbSelEntry.Text();
  if (typed == RememberedText) return;
  if (typed.empty()) {
    cmdRemove.SetCaption("&Remove Entry");
    cmdRemove.SetEnabled(false);
    cmdShowStats.SetEnabled(false);
    EditedEntryName.clear();
    Form_Load();
  } else {
    // A stored entry's name, however it is spelt and whether typed or
    // picked, loads that entry: a save must never put the entry shown into
    // another one.
    const std::string stored = StoredEntryName(typed);
    EditedEntryName = stored.empty() ? Capitalised(typed) : stored;
    cmbSelEntry.SetSelectionToEnd();
    const std::string shortName = EditedEntryName.substr(0, kCaptionNameChars);
    cmdRemove.SetCaption("&Remove '" + shortName + "'");
    cmdShowStats.SetEnabled(true);
    cmdRemove.SetEnabled(true);
    ShowSaveCaption();
    RememberedText = cmdOK.Caption();
    if (!loading_ && !stored.empty() && !EqualsIgnoringCase(stored, loadedEntryName_)) Form_Load();
  }
  if (callbacks_.entrySelected) callbacks_.entrySelected(EditedEntryName);
}

void OptionsForm::imgIcon_Click(int index) {
  // Modal to this window, not the dialer: Save and Cancel wait for the
  // choice, and a choice made after this window went is no choice.
  services_.forms.ShowModalOver(frmIcons, *this);
  const int number = frmIcons.SelectedIcon;
  if (number == 0 || !Loaded()) return;
  if (index == 0) {
    ShowEntryIcon(number);
    Entry.Icon = static_cast<uint8_t>(number);
    cmbSelEntry.SetFocus();
  } else {
    imgIcon[1].SetPicture(number);
    CustomIcon = static_cast<uint8_t>(number);
    txtNZentry.SetFocus();
  }
}

void OptionsForm::cmdRemove_Click() {
  const std::string typed = cmbSelEntry.Text();
  if (typed.empty()) return;
  // A name that is no entry's key would delete some other key and files.
  const std::string refusal = EntryNameRefusal(typed, 0);
  if (!refusal.empty()) {
    services_.messages.Show(refusal, "Error removing entry", MsgIcon::Information, MsgButtons::Ok);
    return;
  }
  // The live line books, logs and remembers under its entry's name until
  // it ends: removed now, the entry would come back holding only that.
  const LiveConnection& line = services_.line;
  if (EqualsIgnoringCase(typed, line.RunningEntryName()) && (line.IsConnected() || line.LineDropped())) {
    services_.messages.Show("'" + line.RunningEntryName() + "' is connected. Disconnect before removing it.",
                            "Error removing entry", MsgIcon::Information, MsgButtons::Ok);
    return;
  }
  RemoveEntryShortcuts(services_.shellLinks, typed, EditedEntryName, services_.programFile);
  services_.store.DeleteRegKey(services_.store.SettingsRoot + typed);
  if (typed == services_.currentEntryName) {
    services_.currentEntryName.clear();
    EditedEntryName.clear();
  }
  cmbSelEntry.SetText("");
  ShowSaveCaption();
  cmdRemove.SetEnabled(false);
}

void OptionsForm::Form_Unload(int16_t& /*cancel*/) {
  // The help and the icon chooser are this window's: they go with it.
  for (forms::Form* owned : {static_cast<forms::Form*>(&frmHelp), static_cast<forms::Form*>(&frmIcons)}) {
    if (owned->Loaded()) owned->Unload();
  }
  SyncStartupShortcuts();
  OptionsWindowOpen = 0;
  if (EditedEntryName.empty() && callbacks_.resetDialerCaption) callbacks_.resetDialerCaption();
  // The next showing starts afresh: a name typed and cancelled now is no
  // entry, and the custom page's boxes and icon are filled again when that
  // page is looked at.
  EditedEntryName.clear();
  txtNZentry.SetText("");
  txtNZlocation.SetText("");
  CustomIcon = 0;
  imgIcon[1].SetPicture(kDefaultIcon);
  if (StartEntryName.empty() && callbacks_.endProgram) callbacks_.endProgram();
}

// The Startup folder follows what is stored, whatever the window showed
// last: "CRV - X" for exactly the entries whose "LoadAtStartup" is 1, so an
// unticked and saved choice takes its shortcut away.
void OptionsForm::SyncStartupShortcuts() {
  SettingsStore& store = services_.store;
  for (const std::string& name : store.EnumEntries()) {
    if (!EntryNameRefusal(name, 0).empty()) continue;
    if (ReadByte(store.ReadRegValue(store.SettingsRoot + name, "LoadAtStartup"), 0) == 1) {
      CreateStartupShortcut(services_.shellLinks, name, services_.programFile);
    } else {
      RemoveStartupShortcut(services_.shellLinks, name);
    }
  }
}

std::string OptionsForm::StoredEntryName(const std::string& name) const {
  for (const std::string& entry : services_.store.EnumEntries()) {
    if (EqualsIgnoringCase(entry, name)) return entry;
  }
  return {};
}

bool OptionsForm::IsStoredEntry(const std::string& name) const { return !StoredEntryName(name).empty(); }

void OptionsForm::ShowSaveCaption() {
  const bool customTab = tbsOptions.SelectedTab() == kCustomTab;
  const std::string name = customTab ? txtNZentry.Text() : EditedEntryName;
  cmdOK.SetCaption(name.empty() ? "&OK" : "&Save '" + name.substr(0, kCaptionNameChars) + "'");
}

void OptionsForm::Form_MouseMove(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) { SetForeground(); }

}  // namespace corvane
