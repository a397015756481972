// The named pipe between a script's command and the running program.
#include "win32/instance_channel.h"

#include <sddl.h>

#include <memory>
#include <vector>

namespace corvane {

namespace {

constexpr wchar_t kChannelWindowClass[] = L"Corvane.Channel";
constexpr UINT kQuestionMessage = WM_APP + 1;
constexpr UINT kActMessage = WM_APP + 2;
constexpr DWORD kBufferBytes = 4096;
// The window thread's time to answer, and every other step's: a question
// gets its reply or its refusal well within the asking side's bound.
constexpr UINT kAnswerMilliseconds = 800;
constexpr DWORD kTransferMilliseconds = 1000;
constexpr DWORD kAskMilliseconds = 2500;

// Holds an SRW lock for its scope.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;

 private:
  SRWLOCK& lock_;
};

// The current user's SID out of the process token; empty when unreadable.
std::vector<BYTE> CurrentUserToken() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
  const UniqueKernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) return {};
  return user;
}

PSID SidOf(std::vector<BYTE>& tokenUser) { return reinterpret_cast<TOKEN_USER*>(tokenUser.data())->User.Sid; }

// "\\.\pipe\Corvane.<session>.<user SID>": the same user in another session
// finds a pipe of its own.
std::string ChannelName() {
  std::vector<BYTE> user = CurrentUserToken();
  if (user.empty()) return {};
  char* text = nullptr;
  if (!ConvertSidToStringSidA(SidOf(user), &text)) return {};
  const std::string sid(text);
  LocalFree(text);
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  return "\\\\.\\pipe\\Corvane." + std::to_string(session) + "." + sid;
}

// Reads or writes `size` bytes at most, giving up after `milliseconds` or
// when `stop` is set; false then, or when the pipe failed.
bool Transfer(HANDLE pipe, HANDLE io, HANDLE stop, bool write, void* buffer, DWORD size, DWORD& done,
              DWORD milliseconds) {
  OVERLAPPED overlapped{};
  overlapped.hEvent = io;
  ResetEvent(io);
  const BOOL finished = write ? WriteFile(pipe, buffer, size, nullptr, &overlapped)
                              : ReadFile(pipe, buffer, size, nullptr, &overlapped);
  if (!finished && GetLastError() != ERROR_IO_PENDING && GetLastError() != ERROR_MORE_DATA) return false;
  const HANDLE waits[] = {io, stop};
  const DWORD woke = WaitForMultipleObjects(stop != nullptr ? 2 : 1, waits, FALSE, milliseconds);
  if (woke != WAIT_OBJECT_0) CancelIo(pipe);
  // After a cancel the operation still has to end before `overlapped` goes.
  const BOOL ended = GetOverlappedResult(pipe, &overlapped, &done, TRUE);
  return woke == WAIT_OBJECT_0 && ended;
}

}  // namespace

InstanceChannelServer::InstanceChannelServer(HINSTANCE instance,
                                             std::function<std::string(const std::string&)> answer,
                                             std::function<void(const std::string&)> act)
    : instance_(instance), answer_(std::move(answer)), act_(std::move(act)), name_(ChannelName()) {
  if (name_.empty()) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kChannelWindowClass;
  if (const ATOM atom = RegisterClassExW(&windowClass); atom != 0) class_.reset({atom, instance_});
  // A message-only window: never shown, never activated, never in the way.
  window_.reset(CreateWindowExW(0, kChannelWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, this));
  stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  io_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!window_ || !stop_ || !io_) return;
  thread_.reset(CreateThread(nullptr, 0, ServeThread, this, 0, nullptr));
}

InstanceChannelServer::~InstanceChannelServer() {
  if (thread_) {
    SetEvent(stop_.get());
    // A question in flight is refused within kAnswerMilliseconds: this
    // thread no longer answers.
    WaitForSingleObject(thread_.get(), INFINITE);
  }
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK InstanceChannelServer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* server = reinterpret_cast<InstanceChannelServer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (server != nullptr && message == kQuestionMessage) {
    std::string question;
    if (!server->TakeQuestion(wParam, question)) return 0;
    std::string answer;
    RunGuarded("script channel", server->HandlerFailed, [&] { answer = server->answer_(question); });
    // A question whose time ran out is not acted on: its asker was told so.
    if (!server->GiveAnswer(wParam, std::move(answer))) return 0;
    // The act waits for a loop that dispatches: the reply goes first.
    auto* pending = new std::string(std::move(question));
    if (!PostMessageW(window, kActMessage, 0, reinterpret_cast<LPARAM>(pending))) delete pending;
    return 1;
  }
  if (message == kActMessage) {
    const std::unique_ptr<std::string> question(reinterpret_cast<std::string*>(lParam));
    if (server != nullptr) RunGuarded("script channel", server->HandlerFailed, [&] { server->act_(*question); });
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool InstanceChannelServer::TakeQuestion(WPARAM id, std::string& question) {
  const ExclusiveLock lock(exchangeLock_);
  if (id != questionId_) return false;
  question = question_;
  return true;
}

bool InstanceChannelServer::GiveAnswer(WPARAM id, std::string answer) {
  const ExclusiveLock lock(exchangeLock_);
  if (id != questionId_) return false;
  reply_ = std::move(answer);
  return true;
}

DWORD WINAPI InstanceChannelServer::ServeThread(void* server) {
  static_cast<InstanceChannelServer*>(server)->Serve();
  return 0;
}

void InstanceChannelServer::Serve() {
  std::vector<BYTE> user = CurrentUserToken();
  if (user.empty()) return;
  // Only this user may open the pipe, with every right it needs.
  const DWORD aclBytes = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(SidOf(user));
  std::vector<BYTE> aclBuffer(aclBytes);
  auto* acl = reinterpret_cast<ACL*>(aclBuffer.data());
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeAcl(acl, aclBytes, ACL_REVISION) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_READ | GENERIC_WRITE | SYNCHRONIZE, SidOf(user)) ||
      !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) {
    return;
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  bool first = true;
  const auto makePipe = [&] {
    // The first instance must be the program's own: a pipe of that name made
    // by anyone else is never served.
    const DWORD openMode = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    first = false;
    return UniqueFileHandle(CreateNamedPipeA(name_.c_str(), openMode,
                                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT |
                                                 PIPE_REJECT_REMOTE_CLIENTS,
                                             PIPE_UNLIMITED_INSTANCES, kBufferBytes, kBufferBytes, 0, &attributes));
  };
  UniqueFileHandle pipe = makePipe();
  while (pipe) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = io_.get();
    ResetEvent(io_.get());
    bool connected = ConnectNamedPipe(pipe.get(), &overlapped) != FALSE || GetLastError() == ERROR_PIPE_CONNECTED;
    if (!connected && GetLastError() == ERROR_IO_PENDING) {
      const HANDLE waits[] = {io_.get(), stop_.get()};
      if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIo(pipe.get());
        DWORD ignored = 0;
        GetOverlappedResult(pipe.get(), &overlapped, &ignored, TRUE);
        return;
      }
      DWORD ignored = 0;
      connected = GetOverlappedResult(pipe.get(), &overlapped, &ignored, FALSE) != FALSE;
    }
    // The next instance waits before this one is served: while the program
    // runs, an asking program never finds the name gone.
    UniqueFileHandle next = makePipe();
    if (connected) ServeClient(pipe.get());
    DisconnectNamedPipe(pipe.get());
    if (next) pipe = std::move(next);
    if (WaitForSingleObject(stop_.get(), 0) == WAIT_OBJECT_0) return;
  }
}

void InstanceChannelServer::ServeClient(HANDLE pipe) {
  char buffer[kBufferBytes];
  DWORD read = 0;
  if (!Transfer(pipe, io_.get(), stop_.get(), false, buffer, sizeof buffer, read, kTransferMilliseconds)) return;
  WPARAM id = 0;
  {
    const ExclusiveLock lock(exchangeLock_);
    id = ++questionId_;
    question_.assign(buffer, read);
    reply_.clear();
  }
  DWORD_PTR result = 0;
  const bool replied = SendMessageTimeoutW(window_.get(), kQuestionMessage, id, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                           kAnswerMilliseconds, &result) != 0 &&
                       result == 1;
  std::string answer;
  {
    const ExclusiveLock lock(exchangeLock_);
    // No reply in time (the window thread is inside a call that does not
    // pump): the empty reply tells the asking side so, and a late one is
    // dropped.
    if (replied) answer = std::move(reply_);
    ++questionId_;
  }
  if (answer.size() > kBufferBytes) answer.clear();
  DWORD written = 0;
  if (!Transfer(pipe, io_.get(), stop_.get(), true, answer.data(), static_cast<DWORD>(answer.size()), written,
                kTransferMilliseconds)) {
    return;
  }
  // The reply is read once the asking side closes its end.
  Transfer(pipe, io_.get(), stop_.get(), false, buffer, sizeof buffer, read, kTransferMilliseconds);
}

ChannelReply AskRunningProgram(const std::string& question, std::string& answer) {
  const std::string name = ChannelName();
  if (name.empty()) return ChannelReply::NoAnswer;
  const ULONGLONG deadline = GetTickCount64() + kAskMilliseconds;
  UniqueFileHandle pipe;
  for (;;) {
    // Identification only: a program that took the name cannot act as us.
    pipe.reset(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
    if (pipe) break;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return ChannelReply::NotRunning;
    const ULONGLONG now = GetTickCount64();
    if (error != ERROR_PIPE_BUSY || now >= deadline) return ChannelReply::NoAnswer;
    WaitNamedPipeA(name.c_str(), static_cast<DWORD>(deadline - now));
  }
  DWORD mode = PIPE_READMODE_MESSAGE;
  if (!SetNamedPipeHandleState(pipe.get(), &mode, nullptr, nullptr)) return ChannelReply::NoAnswer;
  const UniqueKernelHandle io(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!io) return ChannelReply::NoAnswer;
  std::string text = question;
  DWORD done = 0;
  const auto left = [deadline] {
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? DWORD{0} : static_cast<DWORD>(deadline - now);
  };
  if (!Transfer(pipe.get(), io.get(), nullptr, true, text.data(), static_cast<DWORD>(text.size()), done, left())) {
    return ChannelReply::NoAnswer;
  }
  std::string buffer(kBufferBytes, '\0');
  if (!Transfer(pipe.get(), io.get(), nullptr, false, buffer.data(), kBufferBytes, done, left()) || done == 0) {
    return ChannelReply::NoAnswer;
  }
  buffer.resize(done);
  answer = std::move(buffer);
  return ChannelReply::Answered;
}

}  // namespace corvane
