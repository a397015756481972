// The stand-in's entry points: the ANSI functions of the dial-up service,
// answering as the real service does from the caller's side.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config.h"
#include "dialing.h"
#include "error_texts.h"
#include "line_watch.h"
#include "phonebook.h"
#include "records.h"
#include "shared_state.h"
#include "versions.h"

using namespace standin;

namespace {

constexpr DWORD kBufferTooSmall = 603;
constexpr DWORD kBufferInvalid = 610;
constexpr DWORD kEntryNotFound = 623;
constexpr DWORD kCannotWritePhonebook = 624;
constexpr DWORD kInvalidSize = 632;
constexpr DWORD kServiceNotRunning = 711;
constexpr DWORD kDeviceNotFoundOrBusy = 797;
constexpr UINT kDefaultDialEventMessage = 0xCCCD;

uint64_t HandleValue(void* handle) { return reinterpret_cast<uintptr_t>(handle); }

// As the platform validates them: at least one letter or digit, none of the
// characters file names cannot hold, no leading dot, at most 256 characters.
// Entry names also become phonebook section names, so brackets and control
// characters are refused too.
bool ValidEntryName(const char* name) {
  if (name == nullptr || name[0] == 0 || name[0] == '.') return false;
  size_t length = 0;
  bool alphanumeric = false;
  for (const char* c = name; *c != 0; ++c, ++length) {
    if (static_cast<unsigned char>(*c) < 32 || std::string("\\/:*?\"<>|[]").find(*c) != std::string::npos) {
      return false;
    }
    if (IsCharAlphaNumericA(*c)) alphanumeric = true;
  }
  return alphanumeric && length <= 256;
}

// The fields an entry must have before it can be stored: a number to dial, a
// device to dial it on, and how to frame the link.
bool EntryComplete(const RasEntry& entry) {
  return entry.szLocalPhoneNumber[0] != 0 && entry.szDeviceType[0] != 0 && entry.szDeviceName[0] != 0 &&
         entry.dwFramingProtocol != 0;
}

// A new entry's identity; entries keep theirs when overwritten.
GUID NewGuid() {
  GUID guid{};
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  uint64_t seed = static_cast<uint64_t>(counter.QuadPart) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 32);
  auto* bytes = reinterpret_cast<unsigned char*>(&guid);
  for (int i = 0; i < 16; ++i) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    bytes[i] = static_cast<unsigned char>(seed >> 56);
  }
  bytes[7] = static_cast<unsigned char>((bytes[7] & 0x0F) | 0x40);
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
  return guid;
}

bool IsZero(const GUID& guid) {
  const GUID zero{};
  return std::memcmp(&guid, &zero, sizeof guid) == 0;
}

UINT DialEventMessage() {
  const UINT message = RegisterWindowMessageA("RasDialEvent");
  return message != 0 ? message : kDefaultDialEventMessage;
}

bool OwnerRunning(const Connection& c) {
  HANDLE owner = OpenProcess(SYNCHRONIZE, FALSE, c.ownerProcess);
  const bool running = owner != nullptr && WaitForSingleObject(owner, 0) == WAIT_TIMEOUT;
  if (owner != nullptr) CloseHandle(owner);
  return running;
}

// A failed or dropped connection waits for its dialler to hang it up, and a
// hung-up one for its release (which a scenario may withhold); when that
// process has ended, nobody will ever use it again.
bool Abandoned(const Connection& c, Phase phase) {
  return (phase == Phase::Failed || phase == Phase::Dropped || phase == Phase::HangingUp) && !OwnerRunning(c);
}

// A free slot: unused, released, or abandoned.
Connection* FreeSlot(SharedState& state) {
  const uint64_t now = Now();
  for (Connection& c : state.connections) {
    if (c.used == 0 || Evaluate(c, now).phase == Phase::Gone) return &c;
  }
  for (Connection& c : state.connections) {
    if (Abandoned(c, Evaluate(c, now).phase)) return &c;
  }
  return nullptr;
}

// A device is busy from its dial until its connection is released.
bool DeviceInUse(const SharedState& state, const Device& device) {
  const uint64_t now = Now();
  for (const Connection& c : state.connections) {
    if (c.used == 0) continue;
    const Phase phase = Evaluate(c, now).phase;
    if (phase == Phase::Gone || Abandoned(c, phase)) continue;
    if (SameName(c.deviceType, device.type) && SameName(c.deviceName, device.name)) return true;
  }
  return false;
}

const Device* FindDevice(const Scenario& scenario, const std::string& type, const std::string& name) {
  for (const Device& device : scenario.devices) {
    if (SameName(device.type, type) && (name.empty() || SameName(device.name, name))) return &device;
  }
  return nullptr;
}

struct DialRequest {
  std::string entryName, phoneNumber, userName, password;
  DWORD subEntry = 0;
  ULONG_PTR callbackId = 0;
};

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

DWORD WINAPI RasEnumConnectionsA(void* records, LPDWORD byteCount, LPDWORD count) {
  CountCall(CountedCall::EnumConnections);
  if (byteCount == nullptr || count == nullptr) return ERROR_INVALID_PARAMETER;
  const std::shared_ptr<const Config> config = CurrentConfig();
  const int level = config->scenario.level;
  const DWORD size = records != nullptr ? *static_cast<DWORD*>(records) : NewestConnSize(level);
  if (!WithConnVersion(size, level, [] <class R>() {})) return kInvalidSize;
  if (const DWORD failure = config->scenario.FailureOf("enum-connections")) return failure;

  StateLock lock;
  if (lock.State() == nullptr) return kServiceNotRunning;
  const uint64_t now = Now();
  std::vector<const Connection*> listed;
  for (const Connection& c : lock.State()->connections) {
    if (c.used != 0 && IsListed(Evaluate(c, now).phase)) listed.push_back(&c);
  }
  const DWORD needed = static_cast<DWORD>(listed.size()) * size;
  if (listed.empty()) {
    *byteCount = 0;
    *count = 0;
    return ERROR_SUCCESS;
  }
  if (records == nullptr || *byteCount < needed) {
    *byteCount = needed;
    *count = static_cast<DWORD>(listed.size());
    return kBufferTooSmall;
  }
  auto* at = static_cast<BYTE*>(records);
  for (const Connection* c : listed) {
    WithConnVersion(size, level, [&] <class R>() {
      R r{};
      r.dwSize = sizeof(R);
      r.hrasconn = reinterpret_cast<ConnHandle>(static_cast<uintptr_t>(c->handle));
      CopyText(r.szEntryName, c->entryName);
      if constexpr (requires { r.szDeviceType; }) {
        CopyText(r.szDeviceType, c->deviceType);
        CopyText(r.szDeviceName, c->deviceName);
      }
      if constexpr (requires { r.szPhonebook; }) {
        CopyText(r.szPhonebook, c->phonebook);
        r.dwSubEntry = 1;
      }
      if constexpr (requires { r.guidEntry; }) r.guidEntry = c->entryId;
      std::memcpy(at, &r, sizeof(R));
    });
    at += size;
  }
  *byteCount = needed;
  *count = static_cast<DWORD>(listed.size());
  return ERROR_SUCCESS;
}

DWORD WINAPI RasGetConnectStatusA(void* handle, void* record) {
  CountCall(CountedCall::ConnectStatus);
  if (record == nullptr) return ERROR_INVALID_PARAMETER;
  const std::shared_ptr<const Config> config = CurrentConfig();
  const int level = config->scenario.level;
  const DWORD size = *static_cast<DWORD*>(record);
  if (!WithStatusVersion(size, level, [] <class R>() {})) return kInvalidSize;
  if (const DWORD failure = config->scenario.FailureOf("status")) return failure;

  StateLock lock;
  if (lock.State() == nullptr) return kServiceNotRunning;
  const Connection* c = lock.Find(HandleValue(handle));
  if (c == nullptr) return ERROR_INVALID_HANDLE;
  const View view = Evaluate(*c, Now());
  WithStatusVersion(size, level, [&] <class R>() {
    R r{};
    r.dwSize = sizeof(R);
    r.rasconnstate = view.state;
    r.dwError = view.error;
    CopyText(r.szDeviceType, c->deviceType);
    CopyText(r.szDeviceName, c->deviceName);
    if constexpr (requires { r.szPhoneNumber; }) CopyText(r.szPhoneNumber, c->phoneNumber);
    std::memcpy(record, &r, sizeof(R));
  });
  return ERROR_SUCCESS;
}

DWORD WINAPI RasHangUpA(void* handle) {
  CountCall(CountedCall::HangUp);
  if (const DWORD failure = CurrentConfig()->scenario.FailureOf("hang-up")) return failure;
  StateLock lock;
  if (lock.State() == nullptr) return kServiceNotRunning;
  Connection* c = lock.Find(HandleValue(handle));
  if (c == nullptr) return ERROR_INVALID_HANDLE;
  if (c->hungUpAt == 0) {
    const uint64_t now = Now();
    // A line that came up ends here, or ended when it dropped.
    const View view = Evaluate(*c, now);
    if (view.connectedAt != 0) {
      LogLineEnd(c->handle, c->phoneNumber, (view.endedAt != 0 ? view.endedAt : now) - view.connectedAt);
    }
    c->hungUpAt = now;
  }
  WakeLineWatch(c->handle);
  return ERROR_SUCCESS;
}

DWORD WINAPI RasEnumDevicesA(void* records, LPDWORD byteCount, LPDWORD count) {
  CountCall(CountedCall::EnumDevices);
  if (byteCount == nullptr || count == nullptr) return ERROR_INVALID_PARAMETER;
  // The NT family answers a wrong record size with 632 before it looks at
  // the byte count (a count of 0 included); only the 9x family said 1784.
  if (records != nullptr && *static_cast<DWORD*>(records) != sizeof(RasDevInfo)) return kInvalidSize;
  const std::shared_ptr<const Config> config = CurrentConfig();
  const Scenario& scenario = config->scenario;
  if (const DWORD failure = scenario.FailureOf("enum-devices")) return failure;
  const std::vector<Device>& devices = scenario.devices;
  const DWORD needed = static_cast<DWORD>(devices.size() * sizeof(RasDevInfo));
  if (devices.empty()) {
    *byteCount = 0;
    *count = 0;
    return ERROR_SUCCESS;
  }
  if (records == nullptr || *byteCount < needed) {
    *byteCount = needed;
    *count = static_cast<DWORD>(devices.size());
    return kBufferTooSmall;
  }
  auto* at = static_cast<RasDevInfo*>(records);
  for (const Device& device : devices) {
    RasDevInfo info{};
    info.dwSize = sizeof info;
    CopyText(info.szDeviceType, device.type.c_str());
    CopyText(info.szDeviceName, device.name.c_str());
    std::memcpy(at++, &info, sizeof info);
  }
  *byteCount = needed;
  *count = static_cast<DWORD>(devices.size());
  return ERROR_SUCCESS;
}

DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR buffer, DWORD size) {
  CountCall(CountedCall::ErrorString);
  if (buffer == nullptr || size == 0) return ERROR_INVALID_PARAMETER;
  std::string text;
  if (code >= 600) {
    const char* own = ServiceErrorText(code);
    if (own == nullptr) return ERROR_INVALID_PARAMETER;
    text = own;
  } else {
    char system[512];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        system, sizeof system, nullptr);
    if (length == 0) return ERROR_INVALID_PARAMETER;
    text.assign(system, length);
  }
  if (text.size() + 1 > size) return ERROR_INSUFFICIENT_BUFFER;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return ERROR_SUCCESS;
}

DWORD WINAPI RasValidateEntryNameA(LPCSTR phonebook, LPCSTR entryName) {
  CountCall(CountedCall::ValidateEntryName);
  if (entryName == nullptr) return ERROR_INVALID_PARAMETER;
  if (!ValidEntryName(entryName)) return ERROR_INVALID_NAME;
  const std::shared_ptr<const Config> held = CurrentConfig();
  const Config& config = *held;
  if (const DWORD failure = config.scenario.FailureOf("validate-name")) return failure;
  StateLock lock;
  const std::vector<PhonebookEntry> entries = LoadPhonebook(PhonebookPath(phonebook, config));
  return FindEntry(entries, entryName) != nullptr ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
}

DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName, void* record, LPDWORD size,
                                    LPBYTE deviceInfo, LPDWORD deviceInfoSize) {
  CountCall(CountedCall::GetEntry);
  (void)deviceInfo;
  if (size == nullptr && record != nullptr) return ERROR_INVALID_PARAMETER;
  const std::shared_ptr<const Config> held = CurrentConfig();
  const Config& config = *held;
  const int level = config.scenario.level;
  if (deviceInfoSize != nullptr) *deviceInfoSize = 0;
  const DWORD recordSize = record != nullptr ? *static_cast<DWORD*>(record) : NewestEntrySize(level);
  if (record != nullptr && !EntrySizeKnown(recordSize, level)) return kInvalidSize;
  if (const DWORD failure = config.scenario.FailureOf("get-entry")) return failure;

  RasEntry entry{};
  if (entryName != nullptr && entryName[0] != 0) {
    StateLock lock;
    const std::vector<PhonebookEntry> entries = LoadPhonebook(PhonebookPath(phonebook, config));
    const PhonebookEntry* found = FindEntry(entries, entryName);
    if (found == nullptr) return kEntryNotFound;
    entry = found->record;
  } else {
    // The properties a new entry starts with.
    entry.dwCountryID = 1;
    entry.dwCountryCode = 1;
    entry.dwfNetProtocols = 4;
    entry.dwFramingProtocol = 1;
    CopyText(entry.szDeviceType, "modem");
  }
  // Alternate numbers are not kept: none follow the record.
  entry.dwAlternateOffset = 0;
  if (size == nullptr) return ERROR_SUCCESS;  // asked for neither record nor its size
  if (record == nullptr || *size < recordSize) {
    *size = recordSize;
    return kBufferTooSmall;
  }
  entry.dwSize = recordSize;
  std::memcpy(record, &entry, recordSize);
  *size = recordSize;
  return ERROR_SUCCESS;
}

DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName, void* record, DWORD size, LPBYTE,
                                    DWORD) {
  CountCall(CountedCall::SetEntry);
  if (record == nullptr) return kBufferInvalid;
  if (entryName == nullptr) return ERROR_INVALID_PARAMETER;
  if (!ValidEntryName(entryName)) return ERROR_INVALID_NAME;
  const std::shared_ptr<const Config> held = CurrentConfig();
  const Config& config = *held;
  const DWORD recordSize = *static_cast<DWORD*>(record);
  if (!EntrySizeKnown(recordSize, config.scenario.level)) return kInvalidSize;
  if (size < recordSize) return kBufferInvalid;

  RasEntry stored{};
  std::memcpy(&stored, record, recordSize);
  stored.dwSize = 0;
  stored.dwAlternateOffset = 0;
  if (!EntryComplete(stored)) return ERROR_INVALID_PARAMETER;
  if (const DWORD failure = config.scenario.FailureOf("set-entry")) return failure;

  StateLock lock;
  const std::string path = PhonebookPath(phonebook, config);
  std::vector<PhonebookEntry> entries = LoadPhonebook(path);
  PhonebookEntry* existing = const_cast<PhonebookEntry*>(FindEntry(entries, entryName));
  if (existing == nullptr) {
    entries.push_back({entryName, RasEntry{}});
    existing = &entries.back();
    existing->record.guidId = NewGuid();
  }
  if (IsZero(stored.guidId)) stored.guidId = existing->record.guidId;
  existing->record = stored;
  CreateParentFolders(path);
  return SavePhonebook(path, entries) ? ERROR_SUCCESS : kCannotWritePhonebook;
}

DWORD WINAPI RasGetEntryDialParamsA(LPCSTR phonebook, void* record, LPBOOL passwordSaved) {
  CountCall(CountedCall::DialParams);
  if (record == nullptr || passwordSaved == nullptr) return kBufferInvalid;
  const std::shared_ptr<const Config> held = CurrentConfig();
  const Config& config = *held;
  const DWORD size = *static_cast<DWORD*>(record);
  std::string entryName;
  if (!WithDialParamsVersion(size, config.scenario.level,
                             [&] <class R>() { entryName = FieldText(static_cast<R*>(record)->szEntryName); })) {
    return kInvalidSize;
  }
  if (const DWORD failure = config.scenario.FailureOf("dial-params")) return failure;
  StateLock lock;
  const std::vector<PhonebookEntry> entries = LoadPhonebook(PhonebookPath(phonebook, config));
  if (entryName.empty() || FindEntry(entries, entryName) == nullptr) return kEntryNotFound;
  // Logins are not remembered: the caller supplies them with every dial.
  WithDialParamsVersion(size, config.scenario.level, [&] <class R>() {
    R* r = static_cast<R*>(record);
    r->szCallbackNumber[0] = 0;
    r->szUserName[0] = 0;
    r->szPassword[0] = 0;
    r->szDomain[0] = 0;
  });
  *passwordSaved = FALSE;
  return ERROR_SUCCESS;
}

DWORD WINAPI RasDialA(void* extensions, LPCSTR phonebook, void* params, DWORD notifierType, LPVOID notifier,
                      void** handleOut) {
  CountCall(CountedCall::Dial);
  (void)extensions;
  if (params == nullptr || handleOut == nullptr) return ERROR_INVALID_PARAMETER;
  // A handle going in would name a paused dial to resume; there are none here.
  if (*handleOut != nullptr) return ERROR_INVALID_PARAMETER;
  if (notifier != nullptr && notifierType > 2 && notifierType != 0xFFFFFFFF) return ERROR_INVALID_PARAMETER;

  const std::shared_ptr<const Config> held = CurrentConfig();
  const Config& config = *held;
  const Scenario& scenario = config.scenario;
  DialRequest request;
  if (!WithDialParamsVersion(*static_cast<DWORD*>(params), scenario.level, [&] <class R>() {
        const R* r = static_cast<const R*>(params);
        request.entryName = FieldText(r->szEntryName);
        request.phoneNumber = FieldText(r->szPhoneNumber);
        request.userName = FieldText(r->szUserName);
        request.password = FieldText(r->szPassword);
        if constexpr (requires { r->dwCallbackId; }) {
          request.subEntry = r->dwSubEntry;
          request.callbackId = r->dwCallbackId;
        }
      })) {
    return kInvalidSize;
  }

  uint64_t handle = 0;
  bool silent = false;
  {
    StateLock lock;
    SharedState* state = lock.State();
    if (state == nullptr) return kServiceNotRunning;
    const std::string path = PhonebookPath(phonebook, config);
    std::string entryName, deviceType = "modem", deviceName, phoneNumber = request.phoneNumber;
    GUID entryId{};
    if (!request.entryName.empty()) {
      const std::vector<PhonebookEntry> entries = LoadPhonebook(path);
      const PhonebookEntry* entry = FindEntry(entries, request.entryName);
      if (entry == nullptr) return kEntryNotFound;
      entryName = entry->name;
      deviceType = FieldText(entry->record.szDeviceType);
      deviceName = FieldText(entry->record.szDeviceName);
      if (phoneNumber.empty()) phoneNumber = FieldText(entry->record.szLocalPhoneNumber);
      entryId = entry->record.guidId;
    } else {
      entryName = "." + phoneNumber;  // a dial without an entry is listed by its number
    }

    DialOutcome outcome;
    const Device* device = FindDevice(scenario, deviceType, deviceName);
    if (device == nullptr || DeviceInUse(*state, *device)) {
      // Fails in the first state and does not count as one of the scenario's dials.
      outcome.error = kDeviceNotFoundOrBusy;
      outcome.failState = 0;
    } else {
      outcome = scenario.DialAt(NextDialIndex(config.scenarioKey));
      bool loginKnown = scenario.logins.empty();
      for (const Login& login : scenario.logins) {
        if (login.user == request.userName && login.password == request.password) loginKnown = true;
      }
      if (outcome.error == 0 && !loginKnown) {
        outcome.error = 691;
        outcome.failState = 5;
      }
    }
    LogDial(phoneNumber, request.userName, outcome.error);
    if (outcome.atOnce) return outcome.error;  // refused before it starts: there is nothing to hang up
    silent = outcome.silent;

    Connection* c = FreeSlot(*state);
    if (c == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    *c = Connection{};
    c->used = 1;
    c->ownerProcess = GetCurrentProcessId();
    state->lastHandle += 0x10;
    c->handle = state->lastHandle;
    c->dialedAt = Now();
    c->stepCount = BuildTimeline(outcome, scenario, c->steps);
    c->bps = outcome.bps;
    c->rxPerSecond = outcome.rxPerSecond;
    c->txPerSecond = outcome.txPerSecond;
    c->quietAfterMs = outcome.quietAfterMs;
    c->dropAfterMs = outcome.dropAfterMs;
    c->dropError = scenario.dropError;
    c->hangUpMs = scenario.hangUpMs;
    CopyText(c->entryName, entryName.c_str());
    CopyText(c->phonebook, path.c_str());
    CopyText(c->deviceType, device != nullptr ? device->type.c_str() : deviceType.c_str());
    CopyText(c->deviceName, device != nullptr ? device->name.c_str() : deviceName.c_str());
    CopyText(c->phoneNumber, phoneNumber.c_str());
    CopyText(c->userName, request.userName.c_str());
    c->entryId = entryId;
    handle = c->handle;
  }
  *handleOut = reinterpret_cast<void*>(static_cast<uintptr_t>(handle));

  Notifier follow;
  follow.type = notifierType;
  follow.target = notifier;
  follow.message = notifierType == 0xFFFFFFFF ? DialEventMessage() : kDefaultDialEventMessage;
  follow.callbackId = request.callbackId;
  follow.subEntry = request.subEntry;
  follow.handle = handle;
  if (notifier == nullptr) return FollowDial(follow, false);  // synchronous: returns when up or failed
  if (silent) return ERROR_SUCCESS;  // the dial goes on, but its caller never hears of it
  if (!FollowDialInBackground(follow)) return ERROR_NOT_ENOUGH_MEMORY;
  return ERROR_SUCCESS;
}

DWORD WINAPI RasGetConnectionStatistics(void* handle, void* record) {
  CountCall(CountedCall::Statistics);
  const std::shared_ptr<const Config> config = CurrentConfig();
  const Scenario& scenario = config->scenario;
  if (scenario.level < kLevel500) return ERROR_CALL_NOT_IMPLEMENTED;
  // One answer for all three mistakes the documentation names.
  if (handle == nullptr || record == nullptr || *static_cast<DWORD*>(record) != sizeof(RasStats)) {
    return static_cast<DWORD>(E_INVALIDARG);
  }
  if (const DWORD failure = scenario.FailureOf("statistics")) return failure;
  StateLock lock;
  if (lock.State() == nullptr) return kServiceNotRunning;
  const Connection* c = lock.Find(HandleValue(handle));
  if (c == nullptr) return ERROR_INVALID_HANDLE;
  const uint64_t now = Now();
  const View view = Evaluate(*c, now);
  if (view.phase == Phase::HangingUp) return ERROR_INVALID_HANDLE;

  RasStats stats{};
  stats.dwSize = sizeof stats;
  if (view.connectedAt != 0) {
    const uint64_t until = view.endedAt != 0 ? view.endedAt : now;
    const uint64_t ms = until - view.connectedAt;
    const uint64_t trafficMs = c->quietAfterMs != 0 && ms > c->quietAfterMs ? c->quietAfterMs : ms;
    stats.dwBytesXmited = static_cast<DWORD>(c->txPerSecond * trafficMs / 1000);
    stats.dwBytesRcved = static_cast<DWORD>(c->rxPerSecond * trafficMs / 1000);
    stats.dwFramesXmited = stats.dwBytesXmited / 1500 + 1;
    stats.dwFramesRcved = stats.dwBytesRcved / 1500 + 1;
    stats.dwCompressionRatioIn = 100;
    stats.dwCompressionRatioOut = 100;
    stats.dwBps = c->bps;
    stats.dwConnectDuration = static_cast<DWORD>(ms);
    LogTraffic(c->handle, stats.dwBytesXmited, stats.dwBytesRcved, ms);
  }
  std::memcpy(record, &stats, sizeof stats);
  return ERROR_SUCCESS;
}

}  // extern "C"
