// ProgramUnderTest and registry helpers for the Windows-side tests.
#include "support/program_under_test.h"

#include "app/dialer_ids.h"
#include "win32/win32_tray_icon.h"

namespace corvane::testing {

namespace {

// The first top-level window of `processId` that `matches`.
struct Search {
  DWORD processId;
  bool (*matches)(HWND window, const std::string& className);
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && search->matches(window, className)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The dialer is the program's dialog with a Dial button; the other windows
// of the program are dialogs too.
bool IsDialer(HWND window, const std::string& className) {
  return className == "#32770" && GetDlgItem(window, IDC_CMDDIAL) != nullptr;
}

bool IsTrayWindow(HWND /*window*/, const std::string& className) { return className == kTrayWindowClass; }

}  // namespace

std::string PathBesideThisProgram(const std::string& program) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + program;
}

ProgramUnderTest::ProgramUnderTest(const std::string& arguments, const std::string& program) {
  std::string commandLine = "\"" + PathBesideThisProgram(program) + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    UniqueKernelHandle thread(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
  }
}

ProgramUnderTest::~ProgramUnderTest() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

HWND ProgramUnderTest::MainWindow(DWORD timeoutMs) { return FindOwnWindow(IsDialer, timeoutMs); }

bool ProgramUnderTest::PostTrayMouseEvent(UINT mouseMessage, DWORD timeoutMs) {
  const HWND tray = FindOwnWindow(IsTrayWindow, timeoutMs);
  return tray != nullptr && PostMessageA(tray, kTrayCallbackMessage, 1, mouseMessage) != FALSE;
}

HWND ProgramUnderTest::FindOwnWindow(bool (*matches)(HWND, const std::string&), DWORD timeoutMs) {
  Search search{processId_, matches, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !Running();
      },
      timeoutMs);
  return search.found;
}

bool ProgramUnderTest::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode != nullptr) GetExitCodeProcess(process_.get(), exitCode);
  return true;
}

bool ProgramUnderTest::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return text;
}

std::string ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

bool ControlVisible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

std::string EntryKey(const std::string& entryName) { return "Software\\Tamberlo\\Corvane\\" + entryName; }

void SeedEntry(const std::string& entryName, const std::vector<std::pair<std::string, std::string>>& values) {
  DeleteEntry(entryName);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, EntryKey(entryName).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  for (const auto& [name, text] : values) {
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
  }
  RegCloseKey(key);
}

void DeleteEntry(const std::string& entryName) { RegDeleteTreeA(HKEY_CURRENT_USER, EntryKey(entryName).c_str()); }

std::string ReadValue(const std::string& keyPath, const std::string& valueName, const std::string& missing) {
  char text[1024] = {};
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS) {
    return missing;
  }
  return text;
}

}  // namespace corvane::testing
