// RasRecordService: record-size probing and field layout of the dial-up
// service's records.
#include "dial/ras_record_service.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "dial/fixed_text.h"
#include "dial/ras_layout.h"

namespace corvane {

namespace {

// Every version of the dial record holds texts this long, so a text the
// program lets through is never cut in the record.
static_assert(ras::DialParamsLayouts(4)[2].phoneNumber.size == kMaxDialPhoneNumber + 1);
static_assert(ras::DialParamsLayouts(4)[2].userName.size == kMaxDialUserName + 1);
static_assert(ras::DialParamsLayouts(4)[2].password.size == kMaxDialPassword + 1);

// What an entry point that is missing from the table answers.
constexpr uint32_t kCallNotImplemented = 120;

void PutU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t GetUnsigned(const uint8_t* at, uint32_t width) {
  uint64_t value = 0;
  for (uint32_t i = 0; i < width; ++i) value |= static_cast<uint64_t>(at[i]) << (8 * i);
  return value;
}

void PutUnsigned(uint8_t* at, uint64_t value, uint32_t width) {
  for (uint32_t i = 0; i < width; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const uint8_t* at) { return static_cast<uint32_t>(GetUnsigned(at, 4)); }

// A zeroed record of `size` bytes whose dwSize says `size`; never shorter
// than dwSize itself.
std::vector<uint8_t> SizedRecord(uint32_t size) {
  std::vector<uint8_t> record(std::max<uint32_t>(size, 4), 0);
  PutU32(record.data(), size);
  return record;
}

std::string Text(const uint8_t* record, ras::FieldAt field) {
  return field.exists() ? ReadFixedText(record + field.offset, field.size) : std::string();
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

// Writes the entry record's fields that fit in `limit` bytes.
class EntryWriter {
 public:
  EntryWriter(std::vector<uint8_t>& buffer, uint32_t limit) : buffer_(buffer), limit_(limit) {}

  void Number(ras::FieldAt field, uint32_t value) {
    if (Fits(field)) PutU32(&buffer_[field.offset], value);
  }
  void Text(ras::FieldAt field, const std::string& text) {
    if (Fits(field)) WriteFixedText(&buffer_[field.offset], text, field.size);
  }
  template <size_t N>
  void Bytes(ras::FieldAt field, const std::array<uint8_t, N>& bytes) {
    if (Fits(field)) std::memcpy(&buffer_[field.offset], bytes.data(), std::min<size_t>(N, field.size));
  }

 private:
  bool Fits(ras::FieldAt field) const { return field.end() <= limit_; }

  std::vector<uint8_t>& buffer_;
  uint32_t limit_;
};

}  // namespace

// Until BuildDialParams succeeds the dial record is the largest one, zeroed:
// its dwSize of 0 is refused by every service.
RasRecordService::RasRecordService(RasRawFunctions raw)
    : raw_(std::move(raw)), dialRecord_(ras::DialParamsLayouts(8)[0].size, 0) {}

uint32_t RasRecordService::DialEventMessage() {
  if (dialEventMessage_ == 0) {
    const uint32_t registered = raw_.RegisterMessage ? raw_.RegisterMessage("RasDialEvent") : 0;
    dialEventMessage_ = registered != 0 ? registered : kDefaultDialEventMessage;
  }
  return dialEventMessage_;
}

int RasRecordService::EnumActiveConnections(std::vector<ActiveConnection>& connections) {
  connections.clear();
  if (!raw_.EnumConnections) return 0;

  // Once the service has taken a record version, a look is one call with room
  // for as many connections as the last look found (at least one): the
  // supervisor's tick then costs the service a single call, connected or not.
  // A service that no longer takes the version is probed afresh.
  std::vector<uint8_t> records;
  uint32_t count = 0;
  uint32_t answer = static_cast<uint32_t>(kRasInvalidSize);
  ras::ConnLayout layout{};
  // Lists into room for `room` records of `layout`, the first carrying the
  // version's size.
  const auto listInto = [&](uint32_t room, uint32_t& listed) {
    records.assign(static_cast<size_t>(room) * layout.size, 0);
    PutU32(records.data(), layout.size);
    uint32_t byteCount = static_cast<uint32_t>(records.size());
    return raw_.EnumConnections(records.data(), byteCount, listed);
  };
  if (connLayout_.has_value()) {
    layout = *connLayout_;
    answer = listInto(std::max<uint32_t>(lastConnCount_, 1), count);
    if (answer == static_cast<uint32_t>(kRasInvalidSize)) connLayout_.reset();
  }
  if (!connLayout_.has_value()) {
    // Sizing: a record holding only dwSize. The answer for the newest
    // version the service knows is 0 with count 0 when nothing is connected,
    // or "too small" with the count.
    records.clear();
    for (const ras::ConnLayout& candidate : ras::ConnLayouts(raw_.pointerSize)) {
      layout = candidate;
      std::vector<uint8_t> probe = SizedRecord(candidate.size);
      uint32_t byteCount = 4;
      count = 0;
      answer = raw_.EnumConnections(probe.data(), byteCount, count);
      if (answer != static_cast<uint32_t>(kRasInvalidSize)) break;
    }
  }
  // A service that cannot list its connections has not said there are none:
  // taken as none, a line that is up would count as lost. (Some services
  // say "too small" with 610 instead of 603.) A count no machine has is a
  // service error too: nothing is allocated for it.
  const bool filled = answer == 0 && !records.empty();
  const bool answered = answer == 0 || answer == static_cast<uint32_t>(kRasBufferTooSmall) ||
                        answer == static_cast<uint32_t>(kRasBufferInvalid);
  if (!answered || count > ras::kMaxListedRecords) return kConnectionsUnknown;
  connLayout_ = layout;
  lastConnCount_ = count;
  if (count == 0) return 0;

  uint32_t listed = count;
  if (!filled) {
    listed = 0;
    listInto(count, listed);
  }

  // A connection that came up between the two calls makes the service report
  // more than the buffer holds; read only what is there.
  const uint32_t held = std::min({listed, count, static_cast<uint32_t>(records.size() / layout.size)});
  connections.resize(held);
  for (uint32_t i = 0; i < held; ++i) {
    const uint8_t* record = records.data() + static_cast<size_t>(i) * layout.size;
    ActiveConnection& connection = connections[i];
    connection.Handle = static_cast<RasHandle>(GetUnsigned(record + layout.handle.offset, layout.handle.size));
    connection.EntryName = Text(record, layout.entryName);
    connection.DeviceType = Text(record, layout.deviceType);
    connection.DeviceName = Text(record, layout.deviceName);
    connection.Phonebook = Text(record, layout.phonebook);
    if (layout.subEntry.exists()) connection.SubEntry = GetU32(record + layout.subEntry.offset);
    if (layout.entryId.exists()) std::memcpy(connection.EntryId.data(), record + layout.entryId.offset, 16);
  }
  return static_cast<int>(count);
}

int32_t RasRecordService::QueryConnectStatus(RasHandle handle, ConnectStatus& status) {
  if (!raw_.GetConnectStatus) return kCallNotImplemented;
  uint32_t answer = static_cast<uint32_t>(kRasInvalidSize);
  for (const ras::ConnStatusLayout& layout : ras::ConnStatusLayouts()) {
    std::vector<uint8_t> record = SizedRecord(layout.size);
    answer = raw_.GetConnectStatus(handle, record.data());
    if (answer == static_cast<uint32_t>(kRasInvalidSize)) continue;
    if (answer == 0) {
      status.State = GetU32(record.data() + layout.state.offset);
      status.Error = GetU32(record.data() + layout.error.offset);
      status.DeviceType = Text(record.data(), layout.deviceType);
      status.DeviceName = Text(record.data(), layout.deviceName);
      status.PhoneNumber = Text(record.data(), layout.phoneNumber);
    }
    break;
  }
  return static_cast<int32_t>(answer);
}

int RasRecordService::EnumDialDevices(std::vector<DialDevice>& devices) {
  devices.clear();
  if (!raw_.EnumDevices) return 0;
  uint32_t byteCount = 0;
  uint32_t count = 0;
  raw_.EnumDevices(nullptr, byteCount, count);
  // The byte count is allocated only as far as the counted devices can need
  // it; anything beyond is a service error, answered with no devices.
  if (count == 0 || count > ras::kMaxListedRecords) return 0;
  if (byteCount > static_cast<uint64_t>(count) * ras::kDeviceInfoMaxSize) return 0;

  const uint32_t recordSize = byteCount / count;
  if (recordSize < 4) return 0;  // not even room for dwSize: nothing to ask for
  std::vector<uint8_t> records(byteCount, 0);
  PutU32(records.data(), recordSize);
  uint32_t listed = 0;
  raw_.EnumDevices(records.data(), byteCount, listed);

  // Read no further than the buffer, whatever count the second call reports.
  const uint32_t filled = std::min(listed, static_cast<uint32_t>(records.size() / recordSize));
  devices.resize(filled);
  for (uint32_t i = 0; i < filled; ++i) {
    const uint8_t* record = records.data() + static_cast<size_t>(i) * recordSize;
    const uint32_t typeSize = std::min(ras::kDeviceInfoType.size, recordSize - ras::kDeviceInfoType.offset);
    devices[i].DeviceType = ReadFixedText(record + ras::kDeviceInfoType.offset, typeSize);
    if (recordSize > ras::kDeviceInfoNameAt) {
      devices[i].DeviceName =
          ReadFixedText(record + ras::kDeviceInfoNameAt, recordSize - ras::kDeviceInfoNameAt);
    }
  }
  return static_cast<int>(filled);
}

std::string RasRecordService::DialErrorText(int32_t code) {
  constexpr uint32_t kBufferSize = 512;
  char buffer[kBufferSize + 1] = {};  // one spare zero, whatever the callee leaves
  if (code < 601) {
    if (raw_.FormatSystemMessage) raw_.FormatSystemMessage(static_cast<uint32_t>(code), buffer, kBufferSize);
  } else if (raw_.GetErrorString) {
    raw_.GetErrorString(static_cast<uint32_t>(code), buffer, kBufferSize);
  }
  return std::string(buffer);
}

bool RasRecordService::BuildDialParams(const DialParams& params) {
  if (!raw_.GetEntryDialParams) return false;
  // The service answers "no such entry" (623) to a record of a version it
  // knows whose entry name is empty: that version is the one to use.
  for (const ras::DialParamsLayout& layout : ras::DialParamsLayouts(raw_.pointerSize)) {
    std::vector<uint8_t> probe = SizedRecord(layout.size);
    int32_t passwordSaved = 0;
    if (raw_.GetEntryDialParams(nullptr, probe.data(), passwordSaved) != static_cast<uint32_t>(kRasEntryNotFound)) {
      continue;
    }
    std::vector<uint8_t> record = SizedRecord(layout.size);
    uint8_t* at = record.data();
    WriteFixedText(at + layout.entryName.offset, params.EntryName, layout.entryName.size);
    WriteFixedText(at + layout.phoneNumber.offset, params.PhoneNumber, layout.phoneNumber.size);
    WriteFixedText(at + layout.callbackNumber.offset, params.CallbackNumber, layout.callbackNumber.size);
    WriteFixedText(at + layout.userName.offset, params.UserName, layout.userName.size);
    WriteFixedText(at + layout.password.offset, params.Password, layout.password.size);
    WriteFixedText(at + layout.domain.offset, params.Domain, layout.domain.size);
    if (layout.subEntry.exists()) PutU32(at + layout.subEntry.offset, params.SubEntry);
    if (layout.callbackId.exists()) PutUnsigned(at + layout.callbackId.offset, params.CallbackId, layout.callbackId.size);
    dialRecord_ = std::move(record);
    dialPassword_ = layout.password;
    return true;
  }
  return false;
}

int32_t RasRecordService::Dial(const std::string& phonebook, RasWindow window, RasHandle& handle) {
  handle = 0;
  if (!raw_.Dial) return kCallNotImplemented;
  RasHandle dialled = 0;  // the service wants a null handle for a new dial
  const uint32_t answer = raw_.Dial(OrNull(phonebook), dialRecord_.data(), window, dialled);
  // The service has taken the record; the plain password must not linger.
  std::fill_n(dialRecord_.begin() + dialPassword_.offset, dialPassword_.size, uint8_t{0});
  handle = dialled;
  return static_cast<int32_t>(answer);
}

int32_t RasRecordService::HangUp(RasHandle handle) {
  if (!raw_.HangUp) return kCallNotImplemented;
  return static_cast<int32_t>(raw_.HangUp(handle));
}

int32_t RasRecordService::GetConnectionStatistics(RasHandle handle, ConnectionStatistics& statistics) {
  if (!raw_.GetConnectionStatistics) return kCallNotImplemented;
  std::vector<uint8_t> record = SizedRecord(ras::kStatisticsSize);
  const uint32_t answer = raw_.GetConnectionStatistics(handle, record.data());
  if (answer == 0) {
    const uint8_t* at = record.data() + 4;
    uint32_t* const counters[] = {
        &statistics.BytesTransmitted,  &statistics.BytesReceived,       &statistics.FramesTransmitted,
        &statistics.FramesReceived,    &statistics.CrcErrors,           &statistics.TimeoutErrors,
        &statistics.AlignmentErrors,   &statistics.HardwareOverrunErrors, &statistics.FramingErrors,
        &statistics.BufferOverrunErrors, &statistics.CompressionRatioIn, &statistics.CompressionRatioOut,
        &statistics.Bps,               &statistics.ConnectDuration};
    for (uint32_t* counter : counters) {
      *counter = GetU32(at);
      at += 4;
    }
  }
  return static_cast<int32_t>(answer);
}

int32_t RasRecordService::ValidateEntryName(const std::string& phonebook, const std::string& entryName) {
  if (!raw_.ValidateEntryName) return kCallNotImplemented;
  return static_cast<int32_t>(raw_.ValidateEntryName(OrNull(phonebook), entryName.c_str()));
}

int32_t RasRecordService::QueryEntryRecordSize(uint32_t& size) {
  size = 0;
  if (!raw_.GetEntryProperties) return kCallNotImplemented;
  return static_cast<int32_t>(raw_.GetEntryProperties(nullptr, nullptr, nullptr, size));
}

// The record is asked for in the size the service names for a new entry
// (its newest version), in a buffer as large as the entry needs with its
// alternate numbers behind it.
int32_t RasRecordService::GetEntryDeviceName(const std::string& phonebook, const std::string& entryName,
                                             std::string& deviceName) {
  if (!raw_.GetEntryProperties) return kCallNotImplemented;
  uint32_t recordSize = 0;
  int32_t answer = QueryEntryRecordSize(recordSize);
  if (answer != kRasBufferTooSmall) return answer;
  const uint32_t deviceNameEnd = ras::entry::kDeviceName.offset + ras::entry::kDeviceName.size;
  if (recordSize < deviceNameEnd) return kRasInvalidSize;
  uint32_t size = 0;
  answer = static_cast<int32_t>(raw_.GetEntryProperties(OrNull(phonebook), entryName.c_str(), nullptr, size));
  if (answer != kRasBufferTooSmall) return answer;
  std::vector<uint8_t> buffer(std::max(size, recordSize));
  PutU32(buffer.data(), recordSize);
  size = static_cast<uint32_t>(buffer.size());
  answer = static_cast<int32_t>(raw_.GetEntryProperties(OrNull(phonebook), entryName.c_str(), buffer.data(), size));
  if (answer == kRasSuccess) deviceName = ReadFixedText(buffer.data() + ras::entry::kDeviceName.offset,
                                                         ras::entry::kDeviceName.size);
  return answer;
}

int32_t RasRecordService::SetEntryProperties(const std::string& phonebook, const std::string& entryName,
                                             const PhonebookEntryRecord& record, uint32_t size) {
  if (!raw_.SetEntryProperties) return kCallNotImplemented;
  std::vector<uint8_t> buffer = LayOutEntryRecord(record, size);
  return static_cast<int32_t>(raw_.SetEntryProperties(OrNull(phonebook), entryName.c_str(), buffer.data(), size));
}

std::vector<uint8_t> LayOutEntryRecord(const PhonebookEntryRecord& record, uint32_t size) {
  std::vector<uint8_t> buffer = SizedRecord(size);
  buffer.resize(buffer.size() + 2, 0);
  namespace e = ras::entry;
  EntryWriter w(buffer, size);
  w.Number(e::kOptions, record.Options);
  w.Number(e::kCountryId, record.CountryId);
  w.Number(e::kCountryCode, record.CountryCode);
  w.Text(e::kAreaCode, record.AreaCode);
  w.Text(e::kLocalPhoneNumber, record.LocalPhoneNumber);
  w.Number(e::kAlternateOffset, record.AlternateOffset);
  w.Bytes(e::kIpAddress, record.IpAddress);
  w.Bytes(e::kIpAddressDns, record.IpAddressDns);
  w.Bytes(e::kIpAddressDnsAlt, record.IpAddressDnsAlt);
  w.Bytes(e::kIpAddressWins, record.IpAddressWins);
  w.Bytes(e::kIpAddressWinsAlt, record.IpAddressWinsAlt);
  w.Number(e::kFrameSize, record.FrameSize);
  w.Number(e::kNetProtocols, record.NetProtocols);
  w.Number(e::kFramingProtocol, record.FramingProtocol);
  w.Text(e::kScript, record.Script);
  w.Text(e::kAutodialDll, record.AutodialDll);
  w.Text(e::kAutodialFunc, record.AutodialFunc);
  w.Text(e::kDeviceType, record.DeviceType);
  w.Text(e::kDeviceName, record.DeviceName);
  w.Text(e::kX25PadType, record.X25PadType);
  w.Text(e::kX25Address, record.X25Address);
  w.Text(e::kX25Facilities, record.X25Facilities);
  w.Text(e::kX25UserData, record.X25UserData);
  w.Number(e::kChannels, record.Channels);
  w.Number(e::kReserved1, record.Reserved1);
  w.Number(e::kReserved2, record.Reserved2);
  w.Number(e::kSubEntries, record.SubEntries);
  w.Number(e::kDialMode, record.DialMode);
  w.Number(e::kDialExtraPercent, record.DialExtraPercent);
  w.Number(e::kDialExtraSampleSeconds, record.DialExtraSampleSeconds);
  w.Number(e::kHangUpExtraPercent, record.HangUpExtraPercent);
  w.Number(e::kHangUpExtraSampleSeconds, record.HangUpExtraSampleSeconds);
  w.Number(e::kIdleDisconnectSeconds, record.IdleDisconnectSeconds);
  w.Number(e::kType, record.Type);
  w.Number(e::kEncryptionType, record.EncryptionType);
  w.Number(e::kCustomAuthKey, record.CustomAuthKey);
  w.Bytes(e::kGuidId, record.GuidId);
  w.Text(e::kCustomDialDll, record.CustomDialDll);
  w.Number(e::kVpnStrategy, record.VpnStrategy);
  w.Number(e::kOptions2, record.Options2);
  w.Number(e::kOptions3, record.Options3);
  w.Text(e::kDnsSuffix, record.DnsSuffix);
  w.Number(e::kTcpWindowSize, record.TcpWindowSize);
  w.Text(e::kPrerequisitePbk, record.PrerequisitePbk);
  w.Text(e::kPrerequisiteEntry, record.PrerequisiteEntry);
  w.Number(e::kRedialCount, record.RedialCount);
  w.Number(e::kRedialPause, record.RedialPause);
  return buffer;
}

}  // namespace corvane
