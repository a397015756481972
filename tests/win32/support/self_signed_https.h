// The address of a file on the https server with a self-signed certificate
// that ctest starts for the number file's tests
// (self_signed_https_server.py); it names its folder in
// CORVANE_HTTPS_SERVER_DIR, where the server wrote its port.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

namespace corvane::testing {

// "https://127.0.0.1:PORT" + `path`; empty when the test was started
// without the server (by hand rather than by ctest).
inline std::string SelfSignedHttpsUrl(const std::string& path) {
  char folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("CORVANE_HTTPS_SERVER_DIR", folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return {};
  // The folder is the host's: Wine shows the host's root as drive Z:.
  std::string portFile = std::string("Z:") + folder + "/port";
  for (char& c : portFile) {
    if (c == '/') c = '\\';
  }
  std::ifstream file(portFile);
  std::string port;
  if (!(file >> port)) return {};
  return "https://127.0.0.1:" + port + path;
}

}  // namespace corvane::testing
