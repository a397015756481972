// Timelines and the dial-following thread.
#include "dialing.h"

#include <memory>

#include "line_watch.h"

namespace standin {

namespace {

constexpr uint32_t kProgress[] = {0, 1, 2, 3, 4, 5, 14, kStateConnected};
constexpr uint32_t kDialling = 2;
constexpr DWORD kWatchMs = 50;

using RasDialFunc = void(WINAPI*)(UINT, DWORD, DWORD);
using RasDialFunc1 = void(WINAPI*)(void*, UINT, DWORD, DWORD, DWORD);
using RasDialFunc2 = DWORD(WINAPI*)(ULONG_PTR, DWORD, void*, UINT, DWORD, DWORD, DWORD);

// Reports one state; false when the caller asked for no more reports.
bool Notify(const Notifier& n, uint32_t state, uint32_t error) {
  if (n.target == nullptr) return true;
  switch (n.type) {
    case 0xFFFFFFFF:
      PostMessageA(static_cast<HWND>(n.target), n.message, state, error);
      return true;
    case 0:
      reinterpret_cast<RasDialFunc>(n.target)(n.message, state, error);
      return true;
    case 1:
      reinterpret_cast<RasDialFunc1>(n.target)(reinterpret_cast<void*>(n.handle), n.message, state, error, 0);
      return true;
    case 2:
      return reinterpret_cast<RasDialFunc2>(n.target)(n.callbackId, n.subEntry, reinterpret_cast<void*>(n.handle),
                                                      n.message, state, error, 0) != 0;
    default:
      return false;
  }
}

struct Look {
  bool exists = false;
  View view;
  bool dropRequested = false;
  uint64_t dropDueAt = 0;  // when the scenario drops the connected line; 0: never
};

Look LookAt(uint64_t handle) {
  Look look;
  StateLock lock;
  Connection* c = lock.Find(handle);
  if (c == nullptr) return look;
  look.exists = true;
  look.view = Evaluate(*c, Now());
  look.dropRequested = c->dropRequestedAt != 0;
  if (look.view.phase == Phase::Connected && c->dropAfterMs != 0) look.dropDueAt = look.view.connectedAt + c->dropAfterMs;
  return look;
}

DWORD WINAPI FollowThread(void* parameter) {
  std::unique_ptr<Notifier> notifier(static_cast<Notifier*>(parameter));
  FollowDial(*notifier, true);
  return 0;
}

}  // namespace

uint32_t BuildTimeline(const DialOutcome& outcome, const Scenario& scenario, Step (&steps)[kMaxSteps]) {
  uint32_t count = 0;
  uint32_t at = 0;
  for (uint32_t state : kProgress) {
    const bool failsHere = outcome.error != 0 && state == outcome.failState;
    if (state == kStateConnected && outcome.error != 0 && !failsHere) {
      // A failure in a state the usual progress does not pass through.
      steps[count++] = {at, outcome.failState, 0};
      at += scenario.paceMs;
      steps[count++] = {at, outcome.failState, outcome.error};
      return count;
    }
    steps[count++] = {at, state, 0};
    const uint32_t spent = state == kDialling ? scenario.dialMs + outcome.ringMs : scenario.paceMs;
    if (failsHere) {
      steps[count++] = {at + spent, state, outcome.error};
      return count;
    }
    at += spent;
  }
  return count;
}

DWORD FollowDial(const Notifier& n, bool watchLine) {
  Step steps[kMaxSteps];
  uint32_t count = 0;
  uint64_t dialedAt = 0;
  {
    StateLock lock;
    Connection* c = lock.Find(n.handle);
    if (c == nullptr) return ERROR_INVALID_HANDLE;
    count = c->stepCount;
    dialedAt = c->dialedAt;
    for (uint32_t i = 0; i < count; ++i) steps[i] = c->steps[i];
  }

  bool reporting = true;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t due = dialedAt + steps[i].atMs;
    for (;;) {
      const Look look = LookAt(n.handle);
      if (!look.exists) return ERROR_INVALID_HANDLE;
      // A hang-up or a drop ends the reports, but only from its own time on:
      // a state reached before it is still reported.
      if (look.view.phase == Phase::HangingUp && look.view.endedAt < due) return 631;
      if (look.view.phase == Phase::Failed && look.dropRequested && look.view.endedAt < due) {
        if (reporting) Notify(n, look.view.state, look.view.error);
        return look.view.error;
      }
      const uint64_t now = Now();
      if (now >= due) break;
      Sleep(static_cast<DWORD>(due - now < kWatchMs ? due - now : kWatchMs));
    }
    if (reporting) reporting = Notify(n, steps[i].state, steps[i].error);
    if (steps[i].error != 0) return steps[i].error;
  }
  if (!watchLine) return 0;

  // The line changes by itself only when its scenario drops it; a hang-up,
  // a drop from outside and a reset wake the watch. Without the event it
  // falls back to looking every few milliseconds.
  const LineWatchEvent wake = OpenLineWatch(n.handle);
  for (;;) {
    const Look look = LookAt(n.handle);
    if (!look.exists || look.view.phase == Phase::HangingUp) return 0;
    if (look.view.phase == Phase::Dropped) {
      // A line that was up and went down reports Disconnected without an
      // error; the reason is in the connection's status.
      if (reporting) Notify(n, kStateDisconnected, 0);
      return 0;
    }
    DWORD waitMs = wake != nullptr ? INFINITE : kWatchMs;
    if (look.dropDueAt != 0) {
      const uint64_t now = Now();
      const uint64_t left = look.dropDueAt > now ? look.dropDueAt - now : 0;
      if (left < waitMs) waitMs = static_cast<DWORD>(left);
    }
    if (wake != nullptr) {
      WaitForSingleObject(wake.get(), waitMs);
    } else {
      Sleep(waitMs);
    }
  }
}

bool FollowDialInBackground(const Notifier& notifier) {
  // The thread may outlive a FreeLibrary of this DLL: keep the DLL loaded.
  static HMODULE pinned = [] {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&FollowThread), &self);
    return self;
  }();
  (void)pinned;
  auto* copy = new Notifier(notifier);
  HANDLE thread = CreateThread(nullptr, 0, FollowThread, copy, 0, nullptr);
  if (thread == nullptr) {
    delete copy;
    return false;
  }
  CloseHandle(thread);
  return true;
}

}  // namespace standin
