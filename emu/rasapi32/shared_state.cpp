// The shared block, its mutex and the evaluation of a connection's timeline.
#include "shared_state.h"

#include <cstring>

namespace standin {

namespace {

constexpr uint32_t kMagic = 0x43525634;  // layout version of SharedState
constexpr char kMappingName[] = "Local\\CorvaneRasStandin.State.2";
constexpr char kMutexName[] = "Local\\CorvaneRasStandin.Lock.1";

// Opened once per process and kept: the block must outlive every caller in
// the process, and each process's handle keeps the block alive.
HANDLE TheMutex() {
  static HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  return mutex;
}

SharedState* TheState() {
  static SharedState* state = [] () -> SharedState* {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(SharedState), kMappingName);
    if (mapping == nullptr) return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedState));
    return static_cast<SharedState*>(view);
  }();
  return state;
}

uint32_t StateAt(const Connection& c, uint64_t at) {
  const uint64_t elapsed = at - c.dialedAt;
  uint32_t state = c.steps[0].state;
  for (uint32_t i = 0; i < c.stepCount && c.steps[i].atMs <= elapsed; ++i) state = c.steps[i].state;
  return state;
}

}  // namespace

uint64_t Now() { return GetTickCount64(); }

const char* CountedCallName(CountedCall call) {
  switch (call) {
    case CountedCall::EnumConnections: return "enum-connections";
    case CountedCall::ConnectStatus: return "status";
    case CountedCall::ValidateEntryName: return "validate-entry-name";
    case CountedCall::HangUp: return "hang-up";
    case CountedCall::EnumDevices: return "enum-devices";
    case CountedCall::ErrorString: return "error-string";
    case CountedCall::GetEntry: return "get-entry";
    case CountedCall::SetEntry: return "set-entry";
    case CountedCall::DialParams: return "dial-params";
    case CountedCall::Dial: return "dial";
    case CountedCall::Statistics: return "statistics";
    case CountedCall::Count: break;
  }
  return "";
}

View Evaluate(const Connection& c, uint64_t now) {
  View view;
  if (c.used == 0 || c.stepCount == 0) return view;
  if (c.hungUpAt != 0) {
    if (now >= c.hungUpAt + c.hangUpMs) return view;
    view.phase = Phase::HangingUp;
    view.state = kStateDisconnected;
    view.endedAt = c.hungUpAt;
    return view;
  }

  constexpr uint64_t kNever = UINT64_MAX;
  const Step& last = c.steps[c.stepCount - 1];
  const uint64_t failAt = last.error != 0 ? c.dialedAt + last.atMs : kNever;
  const uint64_t connectAt = last.error == 0 && last.state == kStateConnected ? c.dialedAt + last.atMs : kNever;
  uint64_t dropAt = c.dropRequestedAt != 0 ? c.dropRequestedAt : kNever;
  if (connectAt != kNever && c.dropAfterMs != 0 && connectAt + c.dropAfterMs < dropAt) {
    dropAt = connectAt + c.dropAfterMs;
  }

  if (dropAt <= now && dropAt < failAt) {
    view.endedAt = dropAt;
    view.error = c.dropError;
    if (dropAt >= connectAt) {
      view.phase = Phase::Dropped;
      view.state = kStateDisconnected;
      view.connectedAt = connectAt;
    } else {
      // Dropped while dialling: the dial fails where it had got to.
      view.phase = Phase::Failed;
      view.state = StateAt(c, dropAt);
    }
    return view;
  }
  if (failAt <= now) {
    view.phase = Phase::Failed;
    view.state = last.state;
    view.error = last.error;
    return view;
  }
  if (connectAt <= now) {
    view.phase = Phase::Connected;
    view.state = kStateConnected;
    view.connectedAt = connectAt;
    return view;
  }
  view.phase = Phase::Dialling;
  view.state = StateAt(c, now);
  return view;
}

StateLock::StateLock() {
  mutex_ = TheMutex();
  if (mutex_ == nullptr) return;
  const DWORD wait = WaitForSingleObject(mutex_, 10000);
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
    mutex_ = nullptr;
    return;
  }
  state_ = TheState();
  if (state_ != nullptr && state_->magic != kMagic) {
    std::memset(state_, 0, sizeof(SharedState));
    state_->magic = kMagic;
    state_->lastHandle = 0x1000;
  }
}

StateLock::~StateLock() {
  if (mutex_ != nullptr) ReleaseMutex(mutex_);
}

void CountCall(CountedCall call) {
  // Once the block is set up a count is one interlocked add: the mutex's two
  // round trips to the server would double what a caller's look at its
  // connections costs. Until then (the first call of all), under the lock.
  SharedState* state = TheState();
  if (state != nullptr && state->magic == kMagic) {
    InterlockedIncrement64(reinterpret_cast<volatile LONG64*>(&state->calls[static_cast<int>(call)]));
    return;
  }
  StateLock lock;
  if (lock.State() != nullptr) ++lock.State()->calls[static_cast<int>(call)];
}

Connection* StateLock::Find(uint64_t handle) {
  if (state_ == nullptr || handle == 0) return nullptr;
  const uint64_t now = Now();
  for (Connection& c : state_->connections) {
    if (c.used == 0 || c.handle != handle) continue;
    if (Evaluate(c, now).phase == Phase::Gone) {
      c.used = 0;
      return nullptr;
    }
    return &c;
  }
  return nullptr;
}

}  // namespace standin
