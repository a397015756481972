// Test helper run under Wine: goes through the uninstaller's pages as a user
// would, optionally ticking the box that also removes the entries and the
// installation key. Usage: uninstall_by_hand.exe UNINSTALLER [--remove-data].
// Exit code 0 when the uninstaller reported completion and was closed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kTitle[] = "Corvane Uninstall";
constexpr char kRemoveDataBox[] = "&Also remove my dialing entries and the installation key";

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 20000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    Sleep(100);
  }
  return true;
}

// The first control anywhere in the window whose text is `text`.
HWND FindControl(HWND window, const char* text) {
  struct Search {
    const char* text;
    HWND found;
  } search{text, nullptr};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char caption[256] = {};
        GetWindowTextA(child, caption, sizeof caption);
        if (std::strcmp(caption, s->text) != 0) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: uninstall_by_hand UNINSTALLER [--remove-data]\n", stderr);
    return 2;
  }
  const bool removeData = argc > 2 && std::strcmp(argv[2], "--remove-data") == 0;
  std::string command = std::string("\"") + argv[1] + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fputs("the uninstaller did not start\n", stderr);
    return 1;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  // The uninstaller goes on in a copy of itself; its window is what counts.
  HWND window = nullptr;
  if (!WaitUntil([&] { return (window = FindWindowA(nullptr, kTitle)) != nullptr; })) {
    std::fputs("no uninstaller window\n", stderr);
    return 1;
  }
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = FindControl(window, kRemoveDataBox)) != nullptr; })) {
    std::fputs("no box to remove the entries\n", stderr);
    return 1;
  }
  if (removeData) SendMessageA(box, BM_CLICK, 0, 0);
  HWND uninstall = GetDlgItem(window, IDOK);
  WaitUntil([&] { return IsWindowEnabled(uninstall); });
  SendMessageA(uninstall, BM_CLICK, 0, 0);

  // When it is done, the Uninstall button has become Close, and is enabled
  // (a click on a disabled button is lost).
  HWND close = nullptr;
  if (!WaitUntil([&] { return (close = FindControl(window, "&Close")) != nullptr && IsWindowEnabled(close); })) {
    std::fputs("the uninstall did not complete\n", stderr);
    return 1;
  }
  // Told as the button itself tells its window: under Wine a BM_CLICK (mouse
  // messages to the button) on this last page was now and then lost, and a
  // press that comes while the page is still settling is ignored; pressing
  // Close again is harmless, so press until the window goes.
  bool closed = false;
  for (int attempt = 0; attempt < 10 && !closed; ++attempt) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(close));
    closed = WaitUntil([&] { return !IsWindow(window); }, 2000);
  }
  if (!closed) {
    std::fputs("the uninstaller did not close\n", stderr);
    return 1;
  }
  return 0;
}
