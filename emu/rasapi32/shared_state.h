// The service's system-wide state: every connection of every process that
// uses the stand-in, in one named shared-memory block under one named mutex.
// A connection's progress is a timeline fixed at dial time, so any process
// can tell its current state from the clock, whether or not the process that
// dialled is still running.
#pragma once

#include <windows.h>

#include <cstdint>

namespace standin {

inline constexpr uint32_t kStateConnected = 0x2000;
inline constexpr uint32_t kStateDisconnected = 0x2001;

inline constexpr int kMaxConnections = 32;
inline constexpr int kMaxSteps = 12;

// One progress report of a dial, `atMs` after the dial started.
struct Step {
  uint32_t atMs;
  uint32_t state;
  uint32_t error;
};

struct Connection {
  uint32_t used;
  uint32_t ownerProcess;
  uint64_t handle;
  uint64_t dialedAt;         // GetTickCount64 at the dial
  uint64_t hungUpAt;         // 0: not hung up
  uint64_t dropRequestedAt;  // 0: nobody dropped the line
  uint32_t stepCount;
  Step steps[kMaxSteps];     // the last one is Connected or the failure
  uint32_t bps;
  uint32_t rxPerSecond;
  uint32_t txPerSecond;
  uint32_t quietAfterMs;     // 0: the counters grow as long as the line is up
  uint32_t dropAfterMs;      // 0: the line stays up
  uint32_t dropError;
  uint32_t hangUpMs;
  char entryName[257];
  char phonebook[MAX_PATH];
  char deviceType[17];
  char deviceName[129];
  char phoneNumber[129];
  char userName[257];
  GUID entryId;
};

// Every entry point's calls are counted, so a test can wait until the caller
// has looked again (a supervisor tick) or reached a step of its start (the
// phonebook check) instead of sleeping, and a benchmark can tell how often
// an idle caller troubles the service.
enum class CountedCall {
  EnumConnections,
  ConnectStatus,
  ValidateEntryName,
  HangUp,
  EnumDevices,
  ErrorString,
  GetEntry,
  SetEntry,
  DialParams,
  Dial,
  Statistics,
  Count
};

// The name `rasctl calls` gives the entry point's count.
const char* CountedCallName(CountedCall call);

struct SharedState {
  uint32_t magic;
  uint64_t lastHandle;
  Connection connections[kMaxConnections];
  uint64_t calls[static_cast<int>(CountedCall::Count)];
};

// Counts one call of `call` (any answer, a failing one included).
void CountCall(CountedCall call);

enum class Phase {
  Gone,       // never existed, or released after a hang-up: handle invalid
  Dialling,   // progressing through its timeline
  Connected,
  Failed,     // the dial reported an error; waits for the hang-up
  Dropped,    // was connected, the line went down; waits for the hang-up
  HangingUp,  // hung up, not yet released
};

struct View {
  Phase phase = Phase::Gone;
  uint32_t state = 0;
  uint32_t error = 0;
  uint64_t connectedAt = 0;  // 0 when the line never came up
  uint64_t endedAt = 0;      // when the line dropped or was hung up, else 0
};

// What `connection` is doing at `now`.
View Evaluate(const Connection& connection, uint64_t now);

// Dialling or connected: what RasEnumConnections lists.
inline bool IsListed(Phase phase) { return phase == Phase::Dialling || phase == Phase::Connected; }

// Holds the system-wide mutex while alive. `State()` is null when the shared
// block cannot be had (then every operation fails as the service would
// when it is not running).
class StateLock {
 public:
  StateLock();
  ~StateLock();
  StateLock(const StateLock&) = delete;
  StateLock& operator=(const StateLock&) = delete;

  SharedState* State() const { return state_; }

  // The live connection with `handle`, or null (also for released ones,
  // whose slot is then freed).
  Connection* Find(uint64_t handle);

 private:
  SharedState* state_ = nullptr;
  HANDLE mutex_ = nullptr;
};

uint64_t Now();

}  // namespace standin
