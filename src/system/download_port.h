// Fetching a small file, the current phone number, from a URL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {

// Download's answer when nothing was fetched.
inline constexpr int32_t kDownloadFailed = 0;
// Download's answer when the server's certificate failed the platform's
// checks: nothing was fetched, and the user should be told why.
inline constexpr int32_t kDownloadCertificateRefused = -1;

class DownloadPort {
 public:
  virtual ~DownloadPort() = default;

  // Fetches `url` into `body`, at most `maxBytes` of it. Returns the server's
  // HTTP status (200 ok; `body` is only filled for a 2xx answer), 200 for a
  // scheme without statuses that delivered the file, kDownloadCertificateRefused
  // for an https server whose certificate the platform does not trust, or
  // kDownloadFailed (bad address, no connection, time-out, a download
  // already running). Window events keep running while it waits; it returns
  // within about `timeoutMs`.
  virtual int32_t Download(const std::string& url, unsigned timeoutMs, size_t maxBytes, std::string& body) = 0;
};

// True for the answers whose body is the file.
inline bool DownloadSucceeded(int32_t status) { return status >= 200 && status <= 299; }

}  // namespace corvane
