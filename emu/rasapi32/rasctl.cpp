// rasctl: the stand-in dial-up service from the command line. Looks at the
// system-wide connections, drops a line from outside the process that
// dialled it, and dials an entry the way a provider's own connection program
// would (staying until the line goes down).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "records.h"

extern "C" {
DWORD WINAPI StandinControlA(LPCSTR command, LPSTR reply, DWORD replySize);
DWORD WINAPI RasDialA(void* extensions, LPCSTR phonebook, void* params, DWORD notifierType, LPVOID notifier,
                      void** handle);
DWORD WINAPI RasGetConnectStatusA(void* handle, void* status);
DWORD WINAPI RasHangUpA(void* handle);
DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR buffer, DWORD size);
}

namespace {

// A provider's program fills the records of an older service version, which
// every service level knows.
using DialParams = standin::RasDialParamsV400;
using Status = standin::RasConnStatusV400;

int Usage() {
  std::fputs(
      "usage: rasctl list                       connections of every process\n"
      "       rasctl drop [all|ENTRY|HANDLE]    drop the line (default: all)\n"
      "       rasctl reset                      forget every connection, restart the scenario\n"
      "       rasctl dials                      every dial since the reset: number, user name, error\n"
      "       rasctl lines                      every line hung up since the reset: handle, number, seconds up\n"
      "       rasctl traffic                    every traffic answer since the reset: handle, sent, received, seconds up\n"
      "       rasctl calls                      how often each entry point was called, and in all\n"
      "       rasctl where                      scenario and phonebook in use\n"
      "       rasctl dial ENTRY [NUMBER [USER [PASSWORD]]] [--detach]\n"
      "                                         dial and stay until the line goes down\n",
      stderr);
  return 2;
}

std::string ErrorText(DWORD code) {
  char text[512] = {};
  RasGetErrorStringA(code, text, sizeof text);
  return text;
}

int Dial(int argc, char** argv) {
  DialParams params{};
  params.dwSize = sizeof params;
  bool detach = false;
  int position = 0;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--detach") == 0) {
      detach = true;
      continue;
    }
    char* fields[] = {params.szEntryName, params.szPhoneNumber, params.szUserName, params.szPassword};
    const size_t sizes[] = {257, 129, 257, 257};
    if (position < 4) {
      std::strncpy(fields[position], argv[i], sizes[position] - 1);
      ++position;
    }
  }
  if (position == 0) return Usage();

  void* handle = nullptr;
  const DWORD answer = RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle);
  if (answer != 0) {
    std::printf("dial failed: %lu %s\n", answer, ErrorText(answer).c_str());
    if (handle != nullptr) RasHangUpA(handle);
    return 1;
  }
  std::printf("connected 0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
  std::fflush(stdout);
  if (detach) return 0;
  for (;;) {
    Sleep(250);
    Status status{};
    status.dwSize = sizeof status;
    const DWORD result = RasGetConnectStatusA(handle, &status);
    if (result != 0 || status.rasconnstate != 0x2000) {
      std::printf("line down: state %lu error %lu\n", status.rasconnstate, status.dwError);
      RasHangUpA(handle);
      return 0;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (std::strcmp(argv[1], "dial") == 0) return Dial(argc, argv);
  std::string command;
  for (int i = 1; i < argc; ++i) command += std::string(i > 1 ? " " : "") + argv[i];
  static char reply[64 * 1024];
  if (StandinControlA(command.c_str(), reply, sizeof reply) != 0) return Usage();
  std::fputs(reply, stdout);
  return 0;
}
