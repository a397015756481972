// frmDialer: the program's main window as a model. It is the view of the
// connection: the connection sets what it shows, and its handlers forward
// the user's commands (dial, cancel, disconnect, close, exit) to it; the
// buttons that only open other windows or fold the details are its own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/dialer_ids.h"
#include "forms/form.h"

namespace corvane {

class Connection;
struct EntrySettings;
class FileSystemPort;
class MessageBoxPort;
class SettingsStore;
class TrayIconPort;

// What the dialer window's own handlers use besides the connection.
struct DialerServices {
  SettingsStore& store;
  FileSystemPort& files;
  MessageBoxPort& messages;
  TrayIconPort& trayIcon;
};

// The other windows the dialer window opens.
struct DialerWindows {
  // Shows the options window on tab `tabIndex` (0 the first); false when
  // there is none to show.
  std::function<bool(int tabIndex)> showOptions;
  // Shows the statistics window for `entryName`; empty: the entry it was
  // last opened for, or the running one before any.
  std::function<void(const std::string& entryName)> showStatistics;
  // Shows the online time window for the current entry.
  std::function<void()> showOnlineTime;
  // Shows the connection log window.
  std::function<void()> showConnectionLog;
};

class DialerForm : public forms::Form {
 public:
  DialerForm(Connection& connection, const DialerServices& services, DialerWindows windows);

  // Outer window height with the details log hidden and shown, twips.
  static constexpr int kHeightCompact = 1815;
  static constexpr int kHeightDetails = 3405;
  // Width of the status label once dialing has begun, twips.
  static constexpr int kStatusWidth = 4065;
  // Widths of cmdInfo for its captions: "&Details", "&Hide Details", and
  // "&Hide Details" after a manual redial.
  static constexpr int kInfoWidthCollapsed = 875;
  static constexpr int kInfoWidthExpanded = 1015;
  static constexpr int kInfoWidthRedial = 975;
  // A window taller than this shows its details log.
  static constexpr int kDetailsShownAbove = 1900;
  // The options window's tab with the logins.
  static constexpr int kLoginTab = 1;

  forms::Label lblMess{"lblMess", IDC_LBLMESS};
  forms::TextBox txtCombo{"txtCombo", IDC_TXTCOMBO};
  forms::ComboBox cmbList{"cmbList", IDC_CMBLIST};
  forms::TextBox txtErr{"txtErr", IDC_TXTERR};
  forms::TextBox txtDetails{"txtDetails", IDC_TXTDETAILS};
  forms::Image Image1{"Image1", IDC_IMAGE1};
  forms::Image Image2{"Image2", IDC_IMAGE2};
  forms::CommandButton cmdShowOnTime{"cmdShowOnTime", IDC_CMDSHOWONTIME};
  forms::Frame fra{"fra", IDC_FRA};
  forms::CommandButton cmdInfo{"cmdInfo", IDC_CMDINFO, &fra};
  forms::CommandButton cmdDial{"cmdDial", IDC_CMDDIAL, &fra};
  forms::CommandButton cmdCancel{"cmdCancel", IDC_CMDCANCEL, &fra};
  forms::Timer Timer1{"Timer1", IDT_TIMER1, 500};

  forms::MenuItem mnuSystray{"mnuSystray", IDM_SYSTRAY};
  forms::MenuItem mnuOptions{"mnuOptions", IDM_OPTIONS};
  forms::MenuItem sep1{"sep1", IDM_SEP1};
  forms::MenuItem mnuStatistics{"mnuStatistics", IDM_STATISTICS};
  forms::MenuItem mnuConnectionLog{"mnuConnectionLog", IDM_CONNECTION_LOG};
  forms::MenuItem sep2{"sep2", IDM_SEP2};
  forms::MenuItem mnuDisconnect{"mnuDisconnect", IDM_DISCONNECT};
  forms::MenuItem sep3{"sep3", IDM_SEP3};
  forms::MenuItem mnuExit{"mnuExit", IDM_EXIT};

  // Set by the periodic timer when a custom entry's connection shows up.
  bool ConnectionDetected = false;

  void Form_Load() override;
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode) override;
  void Form_Unload(int16_t& cancel) override;
  void Form_WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

  void cmbList_DropDown();
  void cmdDial_Click();
  void cmdCancel_Click();
  void cmdInfo_Click();
  void cmdShowOnTime_Click();
  void Timer1_Timer();
  // A mouse event on the tray icon (the mouse message the shell reports).
  void TrayIcon_Callback(uint32_t mouseMessage);

  void mnuOptions_Click();
  void mnuStatistics_Click();
  void mnuDisconnect_Click();
  void mnuExit_Click();

  // Shows the entry's number to dial: the phone-list line dialled last in
  // list mode (the box keeps what it has when none is stored), the entry's
  // number otherwise.
  void ShowEntryNumber(const EntrySettings& entry);

  // Shows the options window, modeless, on tab `tabIndex` (0 the first);
  // false when there is none to show.
  bool ShowOptionsWindow(int tabIndex = 0);

 private:
  void LayOut();
  void ConnectEvents();

  Connection& connection_;
  DialerServices services_;
  DialerWindows windows_;
};

}  // namespace corvane
