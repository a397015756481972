// DownloadPort over WinINet. The transfer runs on a worker thread while the
// UI thread sleeps in MsgWaitForMultipleObjectsEx and dispatches the window
// messages that arrive, so the window, the tray icon and its menu stay
// responsive and no processor spins.
#pragma once

#include <windows.h>

#include <memory>

#include "system/download_port.h"
#include "win32/message_loop.h"
#include "win32/unique_handle.h"

namespace corvane {

class WinInetDownload : public DownloadPort {
 public:
  explicit WinInetDownload(MessageLoop& loop);
  WinInetDownload(const WinInetDownload&) = delete;
  WinInetDownload& operator=(const WinInetDownload&) = delete;

  // Also refused (kDownloadFailed) while the worker of an earlier download
  // that ran out of time has not yet ended.
  int32_t Download(const std::string& url, unsigned timeoutMs, size_t maxBytes, std::string& body) override;

  struct Job;

 private:
  MessageLoop& loop_;
  UniqueKernelHandle worker_;  // the last download's thread
};

}  // namespace corvane
