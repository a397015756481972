// The dial-up networking service as the program sees it: plain records in,
// plain records out, the service's own result codes passed through. The byte
// records the service really exchanges, and the probing of their sizes, live
// behind this interface (ras_record_service.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// Result codes the program tests.
inline constexpr int32_t kRasSuccess = 0;
inline constexpr int32_t kRasInvalidHandle = 6;        // the connection no longer exists
inline constexpr int32_t kEntryAlreadyExists = 183;    // entry-name check: the name is taken
inline constexpr int32_t kRasBufferTooSmall = 603;
inline constexpr int32_t kRasBufferInvalid = 610;
inline constexpr int32_t kRasEntryNotFound = 623;
inline constexpr int32_t kRasInvalidSize = 632;        // record version unknown to the service
inline constexpr int32_t kRasLineBusy = 676;
inline constexpr int32_t kRasNoAnswer = 678;
inline constexpr int32_t kRasNoDialTone = 680;
inline constexpr int32_t kRasAuthenticationFailure = 691;
inline constexpr int32_t kRasHardwareFailure = 692;
inline constexpr int32_t kRasDeviceNotFoundOrBusy = 797;

// Connection states as the dial-event message carries them in wParam.
inline constexpr uint32_t kRasStateConnected = 8192;
inline constexpr uint32_t kRasStateDisconnected = 8193;

// What EnumActiveConnections answers when the service cannot list its
// connections: not the same as none.
inline constexpr int kConnectionsUnknown = -1;

// The dial-event message number when registering "RasDialEvent" fails.
inline constexpr uint32_t kDefaultDialEventMessage = 52429;

// The service's connection handle. Pointer sized: 64-bit Windows hands out
// pointers.
using RasHandle = std::uintptr_t;
// A window that receives the dial-event messages, as its numeric handle.
using RasWindow = std::uintptr_t;

struct ActiveConnection {
  RasHandle Handle = 0;
  std::string EntryName;
  std::string DeviceType;
  std::string DeviceName;
  std::string Phonebook;
  uint32_t SubEntry = 0;
  std::array<uint8_t, 16> EntryId{};
};

struct ConnectStatus {
  uint32_t State = 0;
  uint32_t Error = 0;
  std::string DeviceType;
  std::string DeviceName;
  std::string PhoneNumber;
};

struct DialDevice {
  std::string DeviceType;
  std::string DeviceName;
};

// The longest texts a dial record holds: the service's fields keep one
// byte for the terminating zero. A longer text would be cut, and the cut
// one dialled.
inline constexpr size_t kMaxDialPhoneNumber = 128;
inline constexpr size_t kMaxDialUserName = 256;
inline constexpr size_t kMaxDialPassword = 256;

// What one dial hands to the service.
struct DialParams {
  std::string EntryName;
  std::string PhoneNumber;
  std::string CallbackNumber;
  std::string UserName;
  std::string Password;
  std::string Domain;
  uint32_t SubEntry = 0;
  uint32_t CallbackId = 0;
};

// Traffic of one connection since it came up.
struct ConnectionStatistics {
  uint32_t BytesTransmitted = 0;
  uint32_t BytesReceived = 0;
  uint32_t FramesTransmitted = 0;
  uint32_t FramesReceived = 0;
  uint32_t CrcErrors = 0;
  uint32_t TimeoutErrors = 0;
  uint32_t AlignmentErrors = 0;
  uint32_t HardwareOverrunErrors = 0;
  uint32_t FramingErrors = 0;
  uint32_t BufferOverrunErrors = 0;
  uint32_t CompressionRatioIn = 0;
  uint32_t CompressionRatioOut = 0;
  uint32_t Bps = 0;
  uint32_t ConnectDuration = 0;  // milliseconds
};

// A phonebook entry's properties, field for field in the service's order;
// the service's fixed character arrays are texts here. Zero and empty mean
// "not set".
struct PhonebookEntryRecord {
  uint32_t Options = 0;  // RASEO_* flags
  uint32_t CountryId = 0;
  uint32_t CountryCode = 0;
  std::string AreaCode;
  std::string LocalPhoneNumber;
  uint32_t AlternateOffset = 0;
  std::array<uint8_t, 4> IpAddress{};
  std::array<uint8_t, 4> IpAddressDns{};
  std::array<uint8_t, 4> IpAddressDnsAlt{};
  std::array<uint8_t, 4> IpAddressWins{};
  std::array<uint8_t, 4> IpAddressWinsAlt{};
  uint32_t FrameSize = 0;
  uint32_t NetProtocols = 0;     // RASNP_* flags
  uint32_t FramingProtocol = 0;  // RASFP_*: 1 PPP
  std::string Script;
  std::string AutodialDll;
  std::string AutodialFunc;
  std::string DeviceType;
  std::string DeviceName;
  std::string X25PadType;
  std::string X25Address;
  std::string X25Facilities;
  std::string X25UserData;
  uint32_t Channels = 0;
  uint32_t Reserved1 = 0;
  uint32_t Reserved2 = 0;
  uint32_t SubEntries = 0;
  uint32_t DialMode = 0;
  uint32_t DialExtraPercent = 0;
  uint32_t DialExtraSampleSeconds = 0;
  uint32_t HangUpExtraPercent = 0;
  uint32_t HangUpExtraSampleSeconds = 0;
  uint32_t IdleDisconnectSeconds = 0;
  uint32_t Type = 0;
  uint32_t EncryptionType = 0;
  uint32_t CustomAuthKey = 0;
  std::array<uint8_t, 16> GuidId{};
  std::string CustomDialDll;
  uint32_t VpnStrategy = 0;
  uint32_t Options2 = 0;
  uint32_t Options3 = 0;
  std::string DnsSuffix;
  uint32_t TcpWindowSize = 0;
  std::string PrerequisitePbk;
  std::string PrerequisiteEntry;
  uint32_t RedialCount = 0;
  uint32_t RedialPause = 0;
};

// Operations return the service's result code unless they say otherwise. An
// empty phonebook text means the service's default phonebook.
class DialUpService {
 public:
  virtual ~DialUpService() = default;

  // Number of the registered "RasDialEvent" message (kDefaultDialEventMessage
  // when registration yields 0); registered on first use.
  virtual uint32_t DialEventMessage() = 0;

  // Fills `connections` with the active connections; returns their count as
  // the service first reported it (0 when none), or kConnectionsUnknown when
  // the service fails to list them.
  virtual int EnumActiveConnections(std::vector<ActiveConnection>& connections) = 0;

  // Status of one connection; `status` is only written when the answer is 0.
  // kRasInvalidHandle once the connection is gone.
  virtual int32_t QueryConnectStatus(RasHandle handle, ConnectStatus& status) = 0;

  // Fills `devices` with the dial-capable devices; returns their count.
  virtual int EnumDialDevices(std::vector<DialDevice>& devices) = 0;

  // The text for an error code: the system's below 601 (with its trailing
  // line break), the service's from 601 on; empty when there is none.
  virtual std::string DialErrorText(int32_t code) = 0;

  // Prepares the dial record for the next Dial from `params`, in the newest
  // record version the service accepts. False when it accepts none; the
  // previously prepared record is then kept.
  virtual bool BuildDialParams(const DialParams& params) = 0;

  // Starts an asynchronous dial with the prepared record; progress arrives as
  // DialEventMessage() at `window`. `handle` receives the connection handle
  // (0 when the service refused at once).
  virtual int32_t Dial(const std::string& phonebook, RasWindow window, RasHandle& handle) = 0;

  virtual int32_t HangUp(RasHandle handle) = 0;

  // Traffic counters of a connection; `statistics` is only written on 0.
  virtual int32_t GetConnectionStatistics(RasHandle handle, ConnectionStatistics& statistics) = 0;

  // 0 when `entryName` is free, kEntryAlreadyExists when the entry exists,
  // another code when the name is not acceptable.
  virtual int32_t ValidateEntryName(const std::string& phonebook, const std::string& entryName) = 0;

  // Asks the service for the byte size of its entry record; the expected
  // answer is kRasBufferTooSmall with `size` set.
  virtual int32_t QueryEntryRecordSize(uint32_t& size) = 0;

  // The device `entryName` in `phonebook` dials on, read from its stored
  // properties; `deviceName` is only written when the answer is 0.
  virtual int32_t GetEntryDeviceName(const std::string& phonebook, const std::string& entryName,
                                     std::string& deviceName) = 0;

  // Creates or overwrites `entryName` with `record`, laid out in a record of
  // `size` bytes (fields beyond it are left out).
  virtual int32_t SetEntryProperties(const std::string& phonebook, const std::string& entryName,
                                     const PhonebookEntryRecord& record, uint32_t size) = 0;
};

}  // namespace corvane
