// What the dial-up tests under Wine share: a scenario and a phonebook of
// their own for each test, the stand-in's control entry point, rasctl.exe
// in a child process, and a window that collects the dial-event messages.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/program_under_test.h"
#include "win32/unique_handle.h"

namespace corvane::testing {

inline std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder;
}

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Runs rasctl.exe with `arguments`, waits up to `timeoutMs` and returns what
// it printed.
inline std::string RunRasctl(const std::string& arguments, DWORD timeoutMs = 20000) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE pipeRead = nullptr, pipeWrite = nullptr;
  if (!CreatePipe(&pipeRead, &pipeWrite, &inherit, 0)) return "<no pipe>";
  const UniqueKernelHandle readEnd(pipeRead);
  UniqueKernelHandle writeEnd(pipeWrite);
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::string commandLine = "\"" + ExeFolder() + "rasctl.exe\" " + arguments;
  PROCESS_INFORMATION info{};
  const BOOL started =
      CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                     &info);
  // Only the child holds the write end now, so the reads end when it does.
  writeEnd.reset();
  if (!started) return "<rasctl.exe did not start>";
  const UniqueKernelHandle thread(info.hThread), process(info.hProcess);
  std::string output;
  char chunk[512];
  DWORD got = 0;
  while (ReadFile(readEnd.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) output.append(chunk, got);
  WaitForSingleObject(process.get(), timeoutMs);
  return output;
}

// A hidden window that records every dial-event message it receives.
class DialEventWindow {
 public:
  explicit DialEventWindow(UINT message) : message_(message) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CorvaneDialEventTestWindow";
    RegisterClassA(&windowClass);
    window_ = CreateWindowA("CorvaneDialEventTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~DialEventWindow() { DestroyWindow(window_); }
  DialEventWindow(const DialEventWindow&) = delete;
  DialEventWindow& operator=(const DialEventWindow&) = delete;

  HWND Handle() const { return window_; }

  // Pumps messages until `done` holds or `timeoutMs` pass.
  template <typename Done>
  bool PumpUntil(Done done, DWORD timeoutMs = 10000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now < 50 ? end - now : 50), QS_ALLINPUT);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
  }

  bool Saw(uint32_t state, uint32_t error = 0) const {
    for (const auto& event : events) {
      if (event.first == state && event.second == error) return true;
    }
    return false;
  }

  std::vector<std::pair<uint32_t, uint32_t>> events;  // (state, error)

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DialEventWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == self->message_) {
      self->events.emplace_back(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  UINT message_;
  HWND window_ = nullptr;
};

// Gives each test its own scenario file and phonebook through the stand-in's
// environment variables, and starts the stand-in afresh.
class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::string(temp) + "corvane-dial-" + info->test_suite_name() + "-" + info->name();
    CreateDirectoryA(folder_.c_str(), nullptr);
    scenarioPath_ = folder_ + "\\test.scenario";
    phonebookPath_ = folder_ + "\\rasphone.pbk";
    DeleteFileA(phonebookPath_.c_str());
    SetEnvironmentVariableA("CORVANE_RAS_SCENARIO", scenarioPath_.c_str());
    SetEnvironmentVariableA("CORVANE_RAS_PHONEBOOK", phonebookPath_.c_str());
    WriteScenario("");
    ASSERT_EQ(Control("reset"), "reset\n") << "is the stand-in rasapi32.dll beside the test?";
  }

  void TearDown() override {
    Control("reset");
    SetEnvironmentVariableA("CORVANE_RAS_SCENARIO", nullptr);
    SetEnvironmentVariableA("CORVANE_RAS_PHONEBOOK", nullptr);
  }

  // The test's scenario: quick dials and the devices every test expects
  // (unless it wants none), then `extra` lines.
  void WriteScenario(const std::string& extra, bool withDevices = true) {
    std::ofstream file(scenarioPath_, std::ios::binary | std::ios::trunc);
    if (withDevices) {
      file << "device isdn ISDN Adapter\n"
              "device modem Modem A\n"
              "device vpn WAN Miniport (PPTP)\n"
              "device modem Modem B\n";
    }
    file << "pace 0.02\n"
            "dial-time 0.05\n"
            "hangup-time 0.1\n"
         << extra;
    file.close();
    // A new scenario version starts at its first dial; make sure the time
    // stamp moves even for two writes within one clock tick.
    const UniqueFileHandle handle(CreateFileA(scenarioPath_.c_str(), FILE_WRITE_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (handle) {
      FILETIME now;
      GetSystemTimeAsFileTime(&now);
      ULARGE_INTEGER stamp{{now.dwLowDateTime, now.dwHighDateTime}};
      stamp.QuadPart += ++writes_;
      now.dwLowDateTime = stamp.LowPart;
      now.dwHighDateTime = stamp.HighPart;
      SetFileTime(handle.get(), nullptr, nullptr, &now);
    }
  }

  // How many dials the stand-in has seen since the test began.
  static size_t DialCount() {
    std::istringstream log(Control("dials"));
    size_t count = 0;
    for (std::string line; std::getline(log, line);) count += line.empty() ? 0 : 1;
    return count;
  }

  // The seconds each line was up, as the stand-in timed it, in the order
  // they were hung up since the test began.
  static std::vector<double> LineSeconds() {
    std::istringstream log(Control("lines"));
    std::vector<double> seconds;
    for (std::string line; std::getline(log, line);) {
      const size_t lastTab = line.rfind('\t');
      if (lastTab != std::string::npos) seconds.push_back(std::atof(line.c_str() + lastTab + 1));
    }
    return seconds;
  }

  // How often the stand-in's entry point was called since the reset, by its
  // name in `rasctl calls`: "enum-connections" (with online time monitored,
  // once a supervisor tick), "status", "validate-entry-name".
  static uint64_t Calls(const std::string& entryPoint) {
    std::istringstream calls(Control("calls"));
    std::string name;
    uint64_t count = 0;
    while (calls >> name >> count) {
      if (name == entryPoint) return count;
    }
    return 0;
  }

  // Waits until the program has ticked `ticks` more times: what a tick
  // would have done by then is done (or never will be).
  static bool WaitTicks(uint64_t ticks, DWORD timeoutMs = 10000) {
    const uint64_t target = Calls("enum-connections") + ticks;
    return WaitUntil([target] { return Calls("enum-connections") >= target; }, timeoutMs);
  }

  // The stand-in's own control entry point; empty when it is not there.
  static std::string Control(const std::string& command) {
    using ControlFunction = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    HMODULE module = GetModuleHandleA("rasapi32.dll");
    if (module == nullptr) module = LoadLibraryA("rasapi32.dll");
    auto control = reinterpret_cast<ControlFunction>(reinterpret_cast<void*>(GetProcAddress(module, "StandinControlA")));
    if (control == nullptr) return std::string();
    static char reply[64 * 1024];  // the line log of a long soak
    reply[0] = 0;
    if (control(command.c_str(), reply, sizeof reply) != 0) return std::string();
    return reply;
  }

  std::string folder_;
  std::string scenarioPath_;
  std::string phonebookPath_;
  unsigned writes_ = 0;
};

// A run of the real program with the entry "Work", which no earlier test may
// have left behind and none may leave for the next.
class WorkEntryTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    DeleteEntry("Work");
  }
  void TearDown() override {
    DeleteEntry("Work");
    StandinTest::TearDown();
  }
};

}  // namespace corvane::testing
