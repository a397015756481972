// WinInetDownload.
#include "win32/wininet_download.h"

#include <wininet.h>

#include <algorithm>
#include <string>
#include <utility>

#include "win32/handler_guard.h"

namespace corvane {

// What one download asks and what its worker found. Shared by the worker and
// the UI thread: the UI thread reads the results only after the worker has
// ended, and a job whose caller gave up is simply left to its worker.
struct WinInetDownload::Job {
  std::string url;
  DWORD timeoutMs = 0;
  size_t maxBytes = 0;
  int32_t status = kDownloadFailed;
  std::string body;
};

namespace {

constexpr const char* kAgent = "Corvane";
constexpr DWORD kChunkBytes = 1024;

// The HTTP status of an opened URL; 200 for schemes without statuses.
int32_t StatusOf(HINTERNET request) {
  DWORD type = 0;
  DWORD size = sizeof type;
  const bool isHttp = !InternetQueryOptionA(request, INTERNET_OPTION_HANDLE_TYPE, &type, &size) ||
                      type == INTERNET_HANDLE_TYPE_HTTP_REQUEST;
  DWORD code = 0;
  size = sizeof code;
  if (HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr)) {
    return static_cast<int32_t>(code);
  }
  return isHttp ? kDownloadFailed : 200;
}

// The failures of the platform's certificate checks. None of them is ever
// waived: a number from a server that cannot prove who it is is no number.
bool IsCertificateError(DWORD error) {
  switch (error) {
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
      return true;
    default:
      return false;
  }
}

bool ReadBody(HINTERNET request, size_t maxBytes, std::string& body) {
  char chunk[kChunkBytes];
  while (body.size() < maxBytes) {
    DWORD read = 0;
    const auto wanted = static_cast<DWORD>(std::min<size_t>(sizeof chunk, maxBytes - body.size()));
    if (!InternetReadFile(request, chunk, wanted, &read)) return false;
    if (read == 0) break;
    body.append(chunk, read);
  }
  return true;
}

void Fetch(WinInetDownload::Job& job) {
  const UniqueInternetHandle session(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return;
  // Bounds the worker's own life: the caller stops waiting at the time-out
  // anyway, and these let the abandoned transfer end soon after.
  DWORD timeout = job.timeoutMs;
  for (DWORD option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(session.get(), option, &timeout, sizeof timeout);
  }
  // The number changes on the server: never answer from the cache.
  const DWORD flags =
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI;
  const UniqueInternetHandle request(InternetOpenUrlA(session.get(), job.url.c_str(), nullptr, 0, flags, 0));
  if (!request) {
    if (IsCertificateError(GetLastError())) job.status = kDownloadCertificateRefused;
    return;
  }
  const int32_t status = StatusOf(request.get());
  if (DownloadSucceeded(status)) {
    std::string body;
    if (!ReadBody(request.get(), job.maxBytes, body)) return;
    job.body = std::move(body);
  }
  job.status = status;
}

DWORD WINAPI Worker(void* parameter) {
  std::unique_ptr<std::shared_ptr<WinInetDownload::Job>> job(
      static_cast<std::shared_ptr<WinInetDownload::Job>*>(parameter));
  // Nothing may leave a thread's start routine; a body that could not be
  // held (out of memory) is a failed download, which the caller handles.
  RunGuarded("the number file download", {}, [&job] { Fetch(**job); });
  return 0;
}

bool QuitPending() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

}  // namespace

WinInetDownload::WinInetDownload(MessageLoop& loop) : loop_(loop) {}

int32_t WinInetDownload::Download(const std::string& url, unsigned timeoutMs, size_t maxBytes, std::string& body) {
  if (worker_) {
    if (WaitForSingleObject(worker_.get(), 0) != WAIT_OBJECT_0) return kDownloadFailed;
    worker_.reset();
  }
  auto job = std::make_shared<Job>();
  job->url = url;
  job->timeoutMs = timeoutMs;
  job->maxBytes = maxBytes;
  auto* handOver = new std::shared_ptr<Job>(job);
  worker_.reset(CreateThread(nullptr, 0, Worker, handOver, 0, nullptr));
  if (!worker_) {
    delete handOver;
    return kDownloadFailed;
  }

  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  bool finished = false;
  const HANDLE worker = worker_.get();
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(1, &worker, static_cast<DWORD>(deadline - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0) {
      finished = true;
      break;
    }
    if (woke != WAIT_OBJECT_0 + 1) break;
    loop_.DispatchWaiting();
    // The program is ending: its answer no longer matters.
    if (QuitPending()) break;
  }
  if (!finished && WaitForSingleObject(worker, 0) != WAIT_OBJECT_0) return kDownloadFailed;
  if (DownloadSucceeded(job->status)) body = std::move(job->body);
  return job->status;
}

}  // namespace corvane
