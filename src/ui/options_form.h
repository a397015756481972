// frmOptions: the window where the user creates, edits and removes dialing
// entries, as a model: five tab pages, the entry selector, the numeric
// fields with their scroll bars, and the handlers of every control.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "forms/form.h"
#include "forms/form_host.h"
#include "settings/allowance_settings.h"
#include "settings/idle_settings.h"
#include "settings/line_actions.h"
#include "settings/entry_saving.h"
#include "settings/entry_settings.h"
#include "settings/settings_store.h"
#include "stats/allowance_watch.h"
#include "stats/live_connection.h"
#include "system/file_dialog_port.h"
#include "system/file_system_port.h"
#include "system/message_box_port.h"
#include "system/shell_link_port.h"
#include "system/shell_port.h"
#include "ui/help_form.h"
#include "ui/icons_form.h"
#include "ui/option_field_rules.h"
#include "ui/options_ids.h"

namespace corvane {

// What the options window works with besides its own controls.
struct OptionsServices {
  SettingsStore& store;
  // The current entry name (empty without one); removing that entry clears it.
  std::string& currentEntryName;
  // The running connection: the monitoring switch of its entry acts on it.
  const LiveConnection& line;
  MessageBoxPort& messages;
  FileDialogPort& fileDialog;
  ShellLinkPort& shellLinks;
  FileSystemPort& files;
  ShellPort& shell;
  forms::FormHost& forms;
  // The program file, for the shortcuts that start it.
  const std::string& programFile;
};

// What the options window asks of the dialer window.
struct OptionsCallbacks {
  // The dialer window's and tray's icon becomes icon resource `number`.
  std::function<void(int number)> setDialerIcon;
  // The dialer's caption goes back to the product name.
  std::function<void()> resetDialerCaption;
  // Ends the program through the dialer's exit path.
  std::function<void()> endProgram;
  // Stops the online-time count of the running connection and books it.
  std::function<void()> interruptOnlineTime;
  // Starts counting the running connection's online time from now.
  std::function<void()> restartOnlineTime;
  // The entry `entryName` was saved: when it is the running entry, its
  // values now apply to the line.
  std::function<void(const std::string& entryName)> entrySaved;
  // Shows the statistics window for `entryName`.
  std::function<void(const std::string& entryName)> showStatistics;
  // The selector now names `editedEntryName` (empty when cleared); an open
  // statistics window follows it to the running entry.
  std::function<void(const std::string& editedEntryName)> entrySelected;
  // What the month has used of `entryName`'s allowance so far.
  std::function<AllowanceUse(const std::string& entryName)> monthUse;
};

class OptionsForm : public forms::Form {
 public:
  OptionsForm(OptionsServices services, OptionsCallbacks callbacks);

  // The custom entry's page.
  static constexpr int kCustomTab = 4;

  forms::TabStrip tbsOptions{"tbsOptions", IDC_OPT_TBSOPTIONS};
  std::array<forms::Frame, 7> fra{{{"fra(1)", IDC_OPT_FRA1, &tbsOptions},
                                   {"fra(2)", IDC_OPT_FRA2, &tbsOptions},
                                   {"fra(3)", IDC_OPT_FRA3, &tbsOptions},
                                   {"fra(4)", IDC_OPT_FRA4, &tbsOptions},
                                   {"fra(5)", IDC_OPT_FRA5, &tbsOptions},
                                   {"fra(6)", IDC_OPT_FRA6, &tbsOptions},
                                   {"fra(7)", IDC_OPT_FRA7, &tbsOptions}}};

  forms::Frame fraSelectEntry{"fraSelectEntry", IDC_OPT_FRASELECTENTRY};
  forms::ComboBox cmbSelEntry{"cmbSelEntry", IDC_OPT_CMBSELENTRY, &fraSelectEntry};
  forms::CommandButton cmdRemove{"cmdRemove", IDC_OPT_CMDREMOVE, &fraSelectEntry};
  forms::CommandButton cmdShowStats{"cmdShowStats", IDC_OPT_CMDSHOWSTATS, &fraSelectEntry};
  std::array<forms::Image, 2> imgIcon{{{"imgIcon(0)", IDC_OPT_IMGICON0, &fraSelectEntry},
                                       {"imgIcon(1)", IDC_OPT_IMGICON1, &fra[3]}}};
  forms::CommandButton cmdHelp{"cmdHelp", IDC_OPT_CMDHELP};
  forms::CommandButton cmdOK{"cmdOK", IDC_OPT_CMDOK};
  forms::CommandButton cmdCancel{"cmdCancel", IDC_OPT_CMDCANCEL};

  // General
  forms::Frame Frame1{"Frame1", IDC_OPT_FRAME1, &fra[0]};
  forms::CheckBox chkLoad{"chkLoad", IDC_OPT_CHKLOAD, &Frame1};
  forms::CheckBox chkMonitorTime{"chkMonitorTime", IDC_OPT_CHKMONITORTIME, &Frame1};
  forms::Frame FraRedial{"FraRedial", IDC_OPT_FRAREDIAL, &fra[0]};
  forms::CheckBox chkRedial{"chkRedial", IDC_OPT_CHKREDIAL, &FraRedial};
  forms::Label lblRedial{"lblRedial", IDC_OPT_LBLREDIAL, &FraRedial};
  forms::TextBox TxtRedial{"TxtRedial", IDC_OPT_TXTREDIAL, &FraRedial};
  forms::VScrollBar vsb1{"vsb1", IDC_OPT_VSB1, &FraRedial};
  forms::Label lblTimes{"lblTimes", IDC_OPT_LBLTIMES, &FraRedial};
  forms::TextBox txtMinutes{"txtMinutes", IDC_OPT_TXTMINUTES, &FraRedial};
  forms::VScrollBar vsb2{"vsb2", IDC_OPT_VSB2, &FraRedial};
  forms::Label lblMinutes{"lblMinutes", IDC_OPT_LBLMINUTES, &FraRedial};
  forms::TextBox txtSeconds{"txtSeconds", IDC_OPT_TXTSECONDS, &FraRedial};
  forms::VScrollBar vsb3{"vsb3", IDC_OPT_VSB3, &FraRedial};
  forms::Label lblSeconds{"lblSeconds", IDC_OPT_LBLSECONDS, &FraRedial};

  // Login
  forms::Frame fraSingle{"fraSingle", IDC_OPT_FRASINGLE, &fra[1]};
  forms::CheckBox chkSingle{"chkSingle", IDC_OPT_CHKSINGLE, &fraSingle};
  forms::Label lblPhoneNumber{"lblPhoneNumber", IDC_OPT_LBLPHONENUMBER, &fraSingle};
  forms::TextBox txtPhoneNumber{"txtPhoneNumber", IDC_OPT_TXTPHONENUMBER, &fraSingle};
  forms::Label lblUserName{"lblUserName", IDC_OPT_LBLUSERNAME, &fraSingle};
  forms::TextBox txtUserName{"txtUserName", IDC_OPT_TXTUSERNAME, &fraSingle};
  forms::Label lblPassword{"lblPassword", IDC_OPT_LBLPASSWORD, &fraSingle};
  forms::TextBox txtPassword{"txtPassword", IDC_OPT_TXTPASSWORD, &fraSingle};
  forms::Frame fraLists{"fraLists", IDC_OPT_FRALISTS, &fra[1]};
  forms::CheckBox chkList{"chkList", IDC_OPT_CHKLIST, &fraLists};
  forms::Label lblPhoneList{"lblPhoneList", IDC_OPT_LBLPHONELIST, &fraLists};
  forms::TextBox txtPhoneList{"txtPhoneList", IDC_OPT_TXTPHONELIST, &fraLists};
  forms::Label lblUserList{"lblUserList", IDC_OPT_LBLUSERLIST, &fraLists};
  forms::TextBox txtUserList{"txtUserList", IDC_OPT_TXTUSERLIST, &fraLists};

  // Actions: the idle hang-up, and the programs run on connect and on
  // disconnect (their Browse buttons are cmdBrowse(5) and (6) below)
  forms::Frame fraIdle{"fraIdle", IDC_OPT_FRAIDLE, &fra[6]};
  forms::Label lblIdleAfter{"lblIdleAfter", IDC_OPT_LBLIDLEAFTER, &fraIdle};
  forms::TextBox txtIdleMinutes{"txtIdleMinutes", IDC_OPT_TXTIDLEMINUTES, &fraIdle};
  forms::VScrollBar vsbIdleMinutes{"vsbIdleMinutes", IDC_OPT_VSBIDLEMINUTES, &fraIdle};
  forms::Label lblIdleMin{"lblIdleMin", IDC_OPT_LBLIDLEMIN, &fraIdle};
  forms::Label lblIdleBelow{"lblIdleBelow", IDC_OPT_LBLIDLEBELOW, &fraIdle};
  forms::TextBox txtIdleThreshold{"txtIdleThreshold", IDC_OPT_TXTIDLETHRESHOLD, &fraIdle};
  forms::VScrollBar vsbIdleThreshold{"vsbIdleThreshold", IDC_OPT_VSBIDLETHRESHOLD, &fraIdle};
  forms::Label lblIdleBytes{"lblIdleBytes", IDC_OPT_LBLIDLEBYTES, &fraIdle};
  forms::Frame fraActions{"fraActions", IDC_OPT_FRAACTIONS, &fra[6]};
  forms::Label lblOnConnect{"lblOnConnect", IDC_OPT_LBLONCONNECT, &fraActions};
  forms::TextBox txtConnectAction{"txtConnectAction", IDC_OPT_TXTCONNECTACTION, &fraActions};
  forms::Label lblConnectArgs{"lblConnectArgs", IDC_OPT_LBLCONNECTARGS, &fraActions};
  forms::TextBox txtConnectArgs{"txtConnectArgs", IDC_OPT_TXTCONNECTARGS, &fraActions};
  forms::Label lblOnDisconnect{"lblOnDisconnect", IDC_OPT_LBLONDISCONNECT, &fraActions};
  forms::TextBox txtDisconnectAction{"txtDisconnectAction", IDC_OPT_TXTDISCONNECTACTION, &fraActions};
  forms::Label lblDisconnectArgs{"lblDisconnectArgs", IDC_OPT_LBLDISCONNECTARGS, &fraActions};
  forms::TextBox txtDisconnectArgs{"txtDisconnectArgs", IDC_OPT_TXTDISCONNECTARGS, &fraActions};

  // Browse buttons 1 to 6: phone list, user list, custom program, browser,
  // connect action, disconnect action.
  std::array<forms::CommandButton, 6> cmdBrowse{{{"cmdBrowse(1)", IDC_OPT_CMDBROWSE1, &fraLists},
                                                 {"cmdBrowse(2)", IDC_OPT_CMDBROWSE2, &fraLists},
                                                 {"cmdBrowse(3)", IDC_OPT_CMDBROWSE3, &fra[3]},
                                                 {"cmdBrowse(4)", IDC_OPT_CMDBROWSE4, &fra[2]},
                                                 {"cmdBrowse(5)", IDC_OPT_CMDBROWSE5, &fraActions},
                                                 {"cmdBrowse(6)", IDC_OPT_CMDBROWSE6, &fraActions}}};

  // Automate
  forms::Frame fraAutoDisconnect{"fraAutoDisconnect", IDC_OPT_FRAAUTODISCONNECT, &fra[2]};
  forms::CheckBox chkAutoDisconnect{"chkAutoDisconnect", IDC_OPT_CHKAUTODISCONNECT, &fraAutoDisconnect};
  forms::Label lblAfter{"lblAfter", IDC_OPT_LBLAFTER, &fraAutoDisconnect};
  forms::TextBox txtAhrs{"txtAhrs", IDC_OPT_TXTAHRS, &fraAutoDisconnect};
  forms::VScrollBar vsbAhrs{"vsbAhrs", IDC_OPT_VSBAHRS, &fraAutoDisconnect};
  forms::Label lblAhrs{"lblAhrs", IDC_OPT_LBLAHRS, &fraAutoDisconnect};
  forms::TextBox txtAmin{"txtAmin", IDC_OPT_TXTAMIN, &fraAutoDisconnect};
  forms::VScrollBar vsbAmin{"vsbAmin", IDC_OPT_VSBAMIN, &fraAutoDisconnect};
  forms::Label lblAmin{"lblAmin", IDC_OPT_LBLAMIN, &fraAutoDisconnect};
  forms::Frame fraAutoReconnect{"fraAutoReconnect", IDC_OPT_FRAAUTORECONNECT, &fra[2]};
  forms::CheckBox chkAutoReconnect{"chkAutoReconnect", IDC_OPT_CHKAUTORECONNECT, &fraAutoReconnect};
  forms::Label lblOnTime1{"lblOnTime1", IDC_OPT_LBLONTIME1, &fraAutoReconnect};
  forms::TextBox txtOnTimeEx1{"txtOnTimeEx1", IDC_OPT_TXTONTIMEEX1, &fraAutoReconnect};
  forms::VScrollBar vsbOnTimeEx1{"vsbOnTimeEx1", IDC_OPT_VSBONTIMEEX1, &fraAutoReconnect};
  forms::Label lblOnHrs1{"lblOnHrs1", IDC_OPT_LBLONHRS1, &fraAutoReconnect};
  forms::Label lblDialIn1{"lblDialIn1", IDC_OPT_LBLDIALIN1, &fraAutoReconnect};
  forms::TextBox txtOffTimeEx1{"txtOffTimeEx1", IDC_OPT_TXTOFFTIMEEX1, &fraAutoReconnect};
  forms::VScrollBar vsbOffTimeEx1{"vsbOffTimeEx1", IDC_OPT_VSBOFFTIMEEX1, &fraAutoReconnect};
  forms::Label lblOffMin1{"lblOffMin1", IDC_OPT_LBLOFFMIN1, &fraAutoReconnect};
  forms::Label lblOnTime2{"lblOnTime2", IDC_OPT_LBLONTIME2, &fraAutoReconnect};
  forms::TextBox txtOnTimeEx2{"txtOnTimeEx2", IDC_OPT_TXTONTIMEEX2, &fraAutoReconnect};
  forms::VScrollBar vsbOnTimeEx2{"vsbOnTimeEx2", IDC_OPT_VSBONTIMEEX2, &fraAutoReconnect};
  forms::Label lblOnHrs2{"lblOnHrs2", IDC_OPT_LBLONHRS2, &fraAutoReconnect};
  forms::Label lblDialIn2{"lblDialIn2", IDC_OPT_LBLDIALIN2, &fraAutoReconnect};
  forms::TextBox txtOffTimeEx2{"txtOffTimeEx2", IDC_OPT_TXTOFFTIMEEX2, &fraAutoReconnect};
  forms::VScrollBar vsbOffTimeEx2{"vsbOffTimeEx2", IDC_OPT_VSBOFFTIMEEX2, &fraAutoReconnect};
  forms::Label lblOffMin2{"lblOffMin2", IDC_OPT_LBLOFFMIN2, &fraAutoReconnect};
  forms::CheckBox chkBrowser{"chkBrowser", IDC_OPT_CHKBROWSER, &fra[2]};
  forms::TextBox txtBrowser{"txtBrowser", IDC_OPT_TXTBROWSER, &fra[2]};
  forms::Label lblURL{"lblURL", IDC_OPT_LBLURL, &fra[2]};
  forms::TextBox txtURL{"txtURL", IDC_OPT_TXTURL, &fra[2]};
  // The number the number file last replaced, and the button that puts it back.
  forms::Label lblPreviousNumber{"lblPreviousNumber", IDC_OPT_LBLPREVIOUSNUMBER, &fra[2]};
  forms::CommandButton cmdPreviousNumber{"cmdPreviousNumber", IDC_OPT_CMDPREVIOUSNUMBER, &fra[2]};
  forms::OptionButton optNextTime{"optNextTime", IDC_OPT_OPTNEXTTIME, &fra[2]};
  forms::OptionButton optDisconnect{"optDisconnect", IDC_OPT_OPTDISCONNECT, &fra[2]};

  // Custom entry
  forms::Label lblNZentry{"lblNZentry", IDC_OPT_LBLNZENTRY, &fra[3]};
  forms::TextBox txtNZentry{"txtNZentry", IDC_OPT_TXTNZENTRY, &fra[3]};
  forms::Label lblNZlocation{"lblNZlocation", IDC_OPT_LBLNZLOCATION, &fra[3]};
  forms::TextBox txtNZlocation{"txtNZlocation", IDC_OPT_TXTNZLOCATION, &fra[3]};
  forms::Label Text2{"Text2", IDC_OPT_TEXT2, &fra[3]};

  // About
  forms::Label lblAbout{"lblAbout", IDC_OPT_LBLABOUT, &fra[4]};

  // Limits: the monthly allowance, and what the month has used of it
  forms::Frame fraAllowance{"fraAllowance", IDC_OPT_FRAALLOWANCE, &fra[5]};
  forms::Label lblAllowTime{"lblAllowTime", IDC_OPT_LBLALLOWTIME, &fraAllowance};
  forms::TextBox txtAllowHours{"txtAllowHours", IDC_OPT_TXTALLOWHOURS, &fraAllowance};
  forms::VScrollBar vsbAllowHours{"vsbAllowHours", IDC_OPT_VSBALLOWHOURS, &fraAllowance};
  forms::Label lblAllowHrs{"lblAllowHrs", IDC_OPT_LBLALLOWHRS, &fraAllowance};
  forms::Label lblAllowData{"lblAllowData", IDC_OPT_LBLALLOWDATA, &fraAllowance};
  forms::TextBox txtAllowMegabytes{"txtAllowMegabytes", IDC_OPT_TXTALLOWMEGABYTES, &fraAllowance};
  forms::VScrollBar vsbAllowMegabytes{"vsbAllowMegabytes", IDC_OPT_VSBALLOWMEGABYTES, &fraAllowance};
  forms::Label lblAllowMB{"lblAllowMB", IDC_OPT_LBLALLOWMB, &fraAllowance};
  forms::Label lblWarnAt{"lblWarnAt", IDC_OPT_LBLWARNAT, &fraAllowance};
  forms::TextBox txtWarnPercent{"txtWarnPercent", IDC_OPT_TXTWARNPERCENT, &fraAllowance};
  forms::VScrollBar vsbWarnPercent{"vsbWarnPercent", IDC_OPT_VSBWARNPERCENT, &fraAllowance};
  forms::Label lblWarnPercent{"lblWarnPercent", IDC_OPT_LBLWARNPERCENT, &fraAllowance};
  forms::CheckBox chkAllowHangUp{"chkAllowHangUp", IDC_OPT_CHKALLOWHANGUP, &fraAllowance};
  forms::Frame fraUsed{"fraUsed", IDC_OPT_FRAUSED, &fra[5]};
  forms::Label lblUsed{"lblUsed", IDC_OPT_LBLUSED, &fraUsed};

  // The record of the edited entry: the window's own copy, never the one
  // the running connection uses. Every load fills it afresh from the
  // entry's key; the boxes show it, and saving writes the user's changes.
  EntrySettings Entry;

  // Members of the window (see the handlers).
  std::string EditedEntryName;
  std::string StartEntryName;
  std::string RememberedText;
  std::string CommonDesktopPath;
  std::string UserDesktopPath;
  uint8_t CustomIcon = 0;
  // 1 while the window is loaded; the tray icon reads it.
  uint8_t OptionsWindowOpen = 0;

  HelpForm frmHelp;
  IconsForm frmIcons;

  void Form_Load() override;
  void Form_Unload(int16_t& cancel) override;
  void Form_MouseMove(int16_t button, int16_t shift, float x, float y) override;

  void cmbSelEntry_DropDown();
  void cmbSelEntry_Change();
  void cmbSelEntry_Click() { cmbSelEntry_Change(); }
  void imgIcon_Click(int index);
  void cmdRemove_Click();
  void cmdOK_Click();
  void tbsOptions_Click();
  void chkAutoDisconnect_Click();
  void chkAutoReconnect_Click();
  void chkRedial_Click();
  void chkList_Click();
  void chkSingle_Click();
  void chkMonitorTime_Click();
  void txtURL_Change();
  void cmdPreviousNumber_Click();
  void txtNZentry_Change();
  void cmdBrowse_Click(int index);
  void cmdShowStats_Click();
  void cmdHelp_Click();
  void cmdCancel_Click();

  // Shows "The valid range is low - high".
  void ShowRangeError(int low, int high);

 private:
  // A numeric text box, its scroll bar and the rule between them.
  struct NumericField {
    forms::TextBox& box;
    forms::VScrollBar& bar;
    const NumericFieldRule& rule;
  };

  void LayOut();
  void ConnectEvents();
  // Every numeric box with its scroll bar and rule: txtAhrs, txtAmin,
  // TxtRedial, txtMinutes, txtSeconds, the two on-time and the two off-time
  // boxes, then the Limits page's three and the Actions page's two, in
  // that order.
  std::array<NumericField, 14> NumericFields();
  void NumericText_Change(const NumericField& field);
  void NumericScroll_Change(const NumericField& field);
  void OnTime_Change(const NumericField& onTime, const NumericField& offTime);
  void EnableGroup(std::initializer_list<forms::Control*> controls, bool enabled, forms::Color disabledBack);
  EntryForm FormValues() const;
  void ShowProblem(const EntryFormProblem& problem);
  size_t LongestShortcutFolder() const;
  // `newEntry`: no entry of that name was stored before this save.
  void SaveShortcut(const std::string& name, bool newEntry);
  // The custom entry saved under a new `name` takes its record along from
  // the key it had, which goes with its shortcuts.
  void MoveCustomEntry(const std::string& name);
  // True when the store holds an ordinary entry of that name (letter case ignored).
  bool IsStoredEntry(const std::string& name) const;
  // That entry's name as stored; empty when there is none.
  std::string StoredEntryName(const std::string& name) const;
  void SyncStartupShortcuts();
  // The save button names what it will save: the custom entry on its page,
  // the entry in the selector elsewhere.
  void ShowSaveCaption();
  void ShowEntryIcon(int number);

  // The Limits page (options_limits.cpp): set up, filled from the entry's
  // allowance and the month's use, and read back.
  void SetUpLimitsPage();
  void LoadLimitsPage(const std::string& entryKey);
  AllowanceSettings LimitsPageValues() const;

  // The Actions page (options_actions.cpp): the idle hang-up and the
  // actions, set up, filled from the entry and read back.
  void SetUpActionsPage();
  void LoadActionsPage(const std::string& entryKey);
  IdleSettings IdlePageValues() const;
  LineActions ActionsPageValues() const;

  // True while the edited entry is the one the running connection uses.
  bool EditsRunningEntry() const;

  OptionsServices services_;  // holds references: the window never outlives what it is given
  OptionsCallbacks callbacks_;
  // The entry whose record the window loaded last, and the boxes as that
  // load left them (what a save compares against to find the user's changes).
  std::string loadedEntryName_;
  EntryForm loaded_;
  AllowanceSettings loadedAllowance_;
  IdleSettings loadedIdle_;
  LineActions loadedActions_;
  // The entry's "PreviousPhoneNumber", which only the number file writes.
  std::string previousNumber_;
  // True while Form_Load fills the boxes.
  bool loading_ = false;
  // StartEntryName is taken at the window's first load only.
  bool startEntryTaken_ = false;
};

}  // namespace corvane
