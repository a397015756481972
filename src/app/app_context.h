// The one object that owns the program-wide records and the windows, and
// reaches the platform through the ports. Passed by reference; a test builds
// a fresh one on fakes.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "app/dialer_form.h"
#include "app/supervisor_state.h"
#include "dial/dial_session.h"
#include "settings/entry_settings.h"
#include "settings/settings_store.h"
#include "stats/online_time_form.h"
#include "stats/online_time_ledger.h"
#include "stats/statistics_form.h"
#include "ui/message_form.h"
#include "ui/options_form.h"

namespace corvane {

class ClockPort;
class DialUpService;
class DownloadPort;
class EventPumpPort;
class FileDialogPort;
class FileSystemPort;
class MessageBoxPort;
class PlatformPort;
class RegistryPort;
class ShellLinkPort;
class ShellPort;
class TrayIconPort;
namespace forms {
class FormHost;
}

struct Ports {
  RegistryPort& Registry;
  ClockPort& Clock;
  ShellPort& Shell;
  MessageBoxPort& Messages;
  EventPumpPort& Pump;
  PlatformPort& Platform;
  DialUpService& DialUp;
  TrayIconPort& TrayIcon;
  forms::FormHost& Forms;  // shows the other windows, modal or modeless
  FileSystemPort& Files;
  DownloadPort& Download;
  FileDialogPort& FileDialog;
  ShellLinkPort& ShellLinks;
};

class AppContext {
 public:
  // `commandLine` is the program's command line without the program name;
  // `randomSeed` comes from the platform, fresh for every run.
  AppContext(const Ports& ports, std::string commandLine, uint32_t randomSeed);

  Ports Platform;
  std::string CommandLine;

  // Result of the most recent dial-up service or registry call.
  int32_t LastResult = 0;
  SettingsStore Store;
  EntrySettings Entry;
  DialSession Session;
  SupervisorState Supervisor;
  // Draws the login rotation's random start; seeded once, so a test that
  // fixes the seed fixes every draw.
  std::mt19937 Random;
  OnlineTimeLedger Ledger;

  // The entry in use: the command line's name, "/" dropped, capitalised;
  // "*" in front for a custom entry.
  std::string CurrentEntryName;
  // SettingsRoot + CurrentEntryName: the key of every per-entry value.
  std::string CurrentEntryKey() const { return Store.SettingsRoot + CurrentEntryName; }
  // The running connection: the one dialled, or the one a custom entry's
  // provider program made.
  uintptr_t RunningConnection() const {
    return Session.ConnectionHandle != 0 ? Session.ConnectionHandle : Supervisor.WatchedConnection;
  }
  // The entry the statistics and online time windows show; their openers
  // set it.
  std::string StatsEntryName;

  // Set when the program must end at once, without the exit path (a second
  // instance, or a custom entry that never connected).
  bool EndRequested = false;

  // The program file's full path, for the shortcuts that start it.
  std::string ProgramFile;

  DialerForm frmDialer;
  MessageForm frmMessage{Store, Entry, CurrentEntryName, frmDialer};
  OptionsForm frmOptions;
  StatisticsForm frmStatistics;
  OnlineTimeForm frmOnTime;
};

}  // namespace corvane
