// WinMain: builds the context on the Win32 adapters, binds the dialer window
// and runs the message loop until the dialer window is unloaded.
#include <windows.h>
#include <commctrl.h>
#include <ntsecapi.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/app_context.h"
#include "app/command_line.h"
#include "app/line_status.h"
#include "app/script_command.h"
#include "ui/details_log.h"
#include "win32/form_binder.h"
#include "win32/handler_guard.h"
#include "win32/instance_channel.h"
#include "win32/message_loop.h"
#include "win32/ras_dialup_service.h"
#include "win32/script_commands.h"
#include "win32/win32_clock.h"
#include "win32/win32_connection_log_files.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_file_dialog.h"
#include "win32/win32_file_system.h"
#include "win32/win32_form_host.h"
#include "win32/win32_message_box.h"
#include "win32/win32_platform.h"
#include "win32/win32_registry.h"
#include "win32/win32_shell.h"
#include "win32/win32_shell_links.h"
#include "win32/win32_tray_icon.h"
#include "win32/wininet_download.h"

namespace {

// How often a running connection's time is written down against a kill. A
// test build of this file sets a shorter interval, so the test of a killed
// program need not wait half a minute; the program itself has no setting.
#ifdef CORVANE_CHECKPOINT_SECONDS
constexpr double kCheckpointSeconds = CORVANE_CHECKPOINT_SECONDS;
#else
constexpr double kCheckpointSeconds = corvane::kCheckpointIntervalSeconds;
#endif

// A fresh seed for the core's random draws, from the system's generator; the
// clock and the process id when that fails, so runs still differ. The seed
// only spreads logins, so the generator in the already loaded advapi32 serves:
// the cryptography library would be loaded, with all it needs, for 4 bytes.
uint32_t FreshRandomSeed() {
  uint32_t seed = 0;
  if (RtlGenRandom(&seed, sizeof seed)) return seed;
  return static_cast<uint32_t>(GetTickCount64()) ^ GetCurrentProcessId();
}

// The full path of this program file; paths longer than MAX_PATH are asked
// for again with a bigger buffer.
std::string ProgramFile() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  using namespace corvane;

  const std::string arguments = ArgumentsOf(GetCommandLineA());
  // A script's command asks the running program and ends: no window.
  const ScriptCommand script = ParseScriptCommand(arguments);
  if (script.Action != ScriptAction::None) return RunScriptCommand(script, ProgramFile());

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  Win32Registry registry;
  Win32Clock clock;
  Win32Shell shell;
  Win32MessageBox messages;
  MessageLoop loop;
  Win32EventPump pump(loop);
  Win32Platform platform;
  RasDialUpService dialUp;
  Win32TrayIcon trayIcon(instance);
  Win32FormHost formHost(instance, loop);
  Win32FileSystem files;
  WinInetDownload download(loop);
  Win32FileDialog fileDialog;
  Win32ShellLinks shellLinks;
  Win32ConnectionLogFiles logFiles;
  Ports ports{registry, clock,    shell,    messages, pump,     platform,
              dialUp,   trayIcon, formHost, files,    download, fileDialog, shellLinks, logFiles};
  AppContext context(ports, arguments, FreshRandomSeed(), kCheckpointSeconds);
  context.ProgramFile = ProgramFile();
  // The other windows' forms live in the context: their binders go first.
  struct CloseOtherWindows {
    Win32FormHost& host;
    ~CloseOtherWindows() { host.ReleaseAll(); }
  } closeOtherWindows{formHost};

  // What a handler throws stops where the system called in; the user finds
  // it in the dialer's details log, and the program, a line that is up with
  // it, goes on (see docs/decisions.md).
  const HandlerFailureSink recordFailure = [&context](const HandlerFailure& failure) {
    AppendToDetailsLog(context.frmDialer.txtDetails, HandlerFailureText(failure));
  };
  trayIcon.HandlerFailed = recordFailure;
  formHost.HandlerFailed = recordFailure;

  FormBinder dialer(context.frmDialer, instance, loop);
  dialer.HandlerFailed = recordFailure;
  if (!dialer.Create()) return 1;
  dialer.Destroyed = [] { PostQuitMessage(0); };
  messages.SetOwner(dialer.Window());
  trayIcon.MouseEvent = [&context](uint32_t mouseMessage) { context.frmDialer.TrayIcon_Callback(mouseMessage); };
  formHost.SetOwner(dialer.Window());

  // Scripts may ask the one running program from its start: a second one
  // (which the start-up ends) serves nothing. Until the start-up has
  // returned, a line neither up nor dialled is still to come.
  bool startUpDone = false;
  std::optional<InstanceChannelServer> channel;
  if (shell.ClaimSingleInstance()) {
    channel.emplace(
        instance,
        [&context, &startUpDone](const std::string&) {
          LineStatus status = context.Line.Status();
          if (!startUpDone && status.State == LineState::Ended) status.State = LineState::Starting;
          status.ProcessId = GetCurrentProcessId();
          return EncodeStatus(status);
        },
        [&context](const std::string& question) {
          if (question == kQuestionHangUp) context.Line.HangUpForScript();
        });
    channel->HandlerFailed = recordFailure;
  }

  const bool started = RunGuarded("start-up", recordFailure, [&context] { context.frmDialer.Load(); });
  startUpDone = true;
  if (!started && !context.Line.EndedAtStart()) {
    // Half started, the window may be hidden with no tray icon: shown, it
    // can still be used, and closed through the usual exit path.
    RunGuarded("start-up", recordFailure, [&context] { context.frmDialer.Show(); });
  }
  if (context.Line.EndedAtStart() || !context.frmDialer.Loaded()) return 0;
  return loop.Run();
}
