// The whole program on fakes: every port faked, a fresh context per test,
// and a record of the window calls the dialer window made.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "fakes/fake_dialup_service.h"
#include "fakes/fake_files.h"
#include "fakes/fake_form_host.h"
#include "fakes/fake_log_files.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell_links.h"
#include "fakes/fake_system.h"
#include "fakes/fake_tray_icon.h"
#include "forms/form.h"

namespace corvane::testing {

// Stands in for the binder: remembers window calls and pop-up menus.
class RecordingWindow : public forms::FormObserver {
 public:
  void ControlChanged(forms::Control&, forms::Prop) override {}
  void FormChanged(forms::FormProp property) override { formChanges.push_back(property); }
  void PopupMenu(forms::MenuItem& menu) override { popups.push_back(&menu); }
  void Call(forms::WindowCall call) override { calls.push_back(call); }

  std::vector<forms::FormProp> formChanges;
  std::vector<forms::MenuItem*> popups;
  std::vector<forms::WindowCall> calls;
};

class ProgramFixture {
 public:
  // Builds the context for `commandLine`; the dialer window is not loaded yet.
  AppContext& Create(const std::string& commandLine) {
    context = std::make_unique<AppContext>(ports, commandLine, randomSeed);
    context->frmDialer.Attach(&window);
    return *context;
  }

  // Builds the context and runs the dialer window's start-up.
  AppContext& Start(const std::string& commandLine) {
    Create(commandLine);
    context->frmDialer.Load();
    return *context;
  }

  std::string EntryKey(const std::string& name) const { return std::string(kSettingsRoot) + name; }

  FakeRegistry registry;
  FakeClock clock;
  FakeShell shell;
  FakeMessageBox messages;
  FakeEventPump pump{clock};
  FakePlatform platform;
  FakeDialUpService dialUp;
  FakeTrayIcon trayIcon;
  FakeFormHost formHost;
  FakeFileSystem files;
  FakeDownload download;
  FakeFileDialog fileDialog;
  FakeShellLinks shellLinks;
  FakeLogFiles logFiles;
  FakeProcesses processes;
  Ports ports{registry, clock,    shell, messages, pump,       platform,
              dialUp,   trayIcon, formHost, files, download, fileDialog, shellLinks, logFiles, processes};
  uint32_t randomSeed = 1;  // what the platform would draw afresh each run
  RecordingWindow window;
  std::unique_ptr<AppContext> context;
};

}  // namespace corvane::testing
