// Byte layouts of the dial-up service's records, every version the program
// reads or writes, for both Windows ABIs. The service packs its records to
// 4 bytes, so on 64-bit Windows the only differences are the 8-byte
// connection handle and callback id, which push the fields behind them 4
// bytes further (the 32-bit sizes are the classic ones).
#pragma once

#include <array>
#include <cstdint>

namespace corvane::ras {

// A field of a record: where it starts and how many bytes it has; a field
// of size 0 does not exist in that version.
struct FieldAt {
  uint32_t offset = 0;
  uint32_t size = 0;
  constexpr uint32_t end() const { return offset + size; }
  constexpr bool exists() const { return size != 0; }
};

// RASCONN: one active connection.
struct ConnLayout {
  uint32_t size;
  FieldAt handle, entryName, deviceType, deviceName, phonebook, subEntry, entryId;
};

// Newest version first: the order the program probes them in.
constexpr std::array<ConnLayout, 4> ConnLayouts(uint32_t pointerSize) {
  const uint32_t s = pointerSize - 4;  // what the wider handle pushes along
  const FieldAt handle{4, pointerSize};
  const ConnLayout v400{412 + s, handle, {8 + s, 257}, {265 + s, 17}, {282 + s, 129}, {}, {}, {}};
  ConnLayout v401 = v400;
  v401.size = 676 + s;
  v401.phonebook = {411 + s, 260};
  v401.subEntry = {672 + s, 4};
  ConnLayout v500 = v401;
  v500.size = 692 + s;
  v500.entryId = {676 + s, 16};
  const ConnLayout v300{32 + s, handle, {8 + s, 21}, {}, {}, {}, {}, {}};
  return {v500, v401, v400, v300};
}

// RASCONNSTATUS: the status of one connection. No handle inside, so the
// same on both ABIs.
struct ConnStatusLayout {
  uint32_t size;
  FieldAt state, error, deviceType, deviceName, phoneNumber;
};

constexpr std::array<ConnStatusLayout, 3> ConnStatusLayouts() {
  return {{
      {288, {4, 4}, {8, 4}, {12, 17}, {29, 129}, {158, 129}},
      {160, {4, 4}, {8, 4}, {12, 17}, {29, 129}, {}},
      {64, {4, 4}, {8, 4}, {12, 17}, {29, 33}, {}},
  }};
}

// RASDIALPARAMS: what a dial hands over.
struct DialParamsLayout {
  uint32_t size;
  FieldAt entryName, phoneNumber, callbackNumber, userName, password, domain, subEntry, callbackId;
};

constexpr std::array<DialParamsLayout, 3> DialParamsLayouts(uint32_t pointerSize) {
  // The callback id is pointer sized; at 1056 it is aligned for both ABIs.
  const DialParamsLayout v401{1052 + 4 + pointerSize, {4, 257}, {261, 129}, {390, 129}, {519, 257},
                              {776, 257}, {1033, 16}, {1052, 4}, {1056, pointerSize}};
  const DialParamsLayout v400{1052, {4, 257}, {261, 129}, {390, 129}, {519, 257},
                              {776, 257}, {1033, 16}, {}, {}};
  const DialParamsLayout v300{816, {4, 21}, {25, 129}, {154, 129}, {283, 257},
                              {540, 257}, {797, 16}, {}, {}};
  return {v401, v400, v300};
}

// RASDEVINFO: the record size is whatever the service reports (byte count
// divided by device count); the name takes the rest of the record. Every
// version so far has 152 bytes; a service reporting more than kDeviceInfoMaxSize
// per device is not telling the truth.
inline constexpr FieldAt kDeviceInfoType{4, 17};
inline constexpr uint32_t kDeviceInfoNameAt = 21;
inline constexpr uint32_t kDeviceInfoMaxSize = 512;

// More records than any machine has connections or dial devices: a count
// above it is a service error, not a reason to allocate its records.
inline constexpr uint32_t kMaxListedRecords = 4096;

// RAS_STATS: fourteen counters after dwSize, in this order.
inline constexpr uint32_t kStatisticsSize = 60;

// RASENTRY: the fields in the service's order. Versions only add at the end
// (the newest here is the one with the redial fields), so a reported size
// tells which fields exist.
namespace entry {
inline constexpr FieldAt kSize{0, 4};
inline constexpr FieldAt kOptions{4, 4};
inline constexpr FieldAt kCountryId{8, 4};
inline constexpr FieldAt kCountryCode{12, 4};
inline constexpr FieldAt kAreaCode{16, 11};
inline constexpr FieldAt kLocalPhoneNumber{27, 129};
inline constexpr FieldAt kAlternateOffset{156, 4};
inline constexpr FieldAt kIpAddress{160, 4};
inline constexpr FieldAt kIpAddressDns{164, 4};
inline constexpr FieldAt kIpAddressDnsAlt{168, 4};
inline constexpr FieldAt kIpAddressWins{172, 4};
inline constexpr FieldAt kIpAddressWinsAlt{176, 4};
inline constexpr FieldAt kFrameSize{180, 4};
inline constexpr FieldAt kNetProtocols{184, 4};
inline constexpr FieldAt kFramingProtocol{188, 4};
inline constexpr FieldAt kScript{192, 260};
inline constexpr FieldAt kAutodialDll{452, 260};
inline constexpr FieldAt kAutodialFunc{712, 260};
inline constexpr FieldAt kDeviceType{972, 17};
inline constexpr FieldAt kDeviceName{989, 129};
inline constexpr FieldAt kX25PadType{1118, 33};
inline constexpr FieldAt kX25Address{1151, 201};
inline constexpr FieldAt kX25Facilities{1352, 201};
inline constexpr FieldAt kX25UserData{1553, 201};
inline constexpr FieldAt kChannels{1756, 4};
inline constexpr FieldAt kReserved1{1760, 4};
inline constexpr FieldAt kReserved2{1764, 4};
inline constexpr FieldAt kSubEntries{1768, 4};
inline constexpr FieldAt kDialMode{1772, 4};
inline constexpr FieldAt kDialExtraPercent{1776, 4};
inline constexpr FieldAt kDialExtraSampleSeconds{1780, 4};
inline constexpr FieldAt kHangUpExtraPercent{1784, 4};
inline constexpr FieldAt kHangUpExtraSampleSeconds{1788, 4};
inline constexpr FieldAt kIdleDisconnectSeconds{1792, 4};
inline constexpr FieldAt kType{1796, 4};
inline constexpr FieldAt kEncryptionType{1800, 4};
inline constexpr FieldAt kCustomAuthKey{1804, 4};
inline constexpr FieldAt kGuidId{1808, 16};
inline constexpr FieldAt kCustomDialDll{1824, 260};
inline constexpr FieldAt kVpnStrategy{2084, 4};
inline constexpr FieldAt kOptions2{2088, 4};
inline constexpr FieldAt kOptions3{2092, 4};
inline constexpr FieldAt kDnsSuffix{2096, 256};
inline constexpr FieldAt kTcpWindowSize{2352, 4};
inline constexpr FieldAt kPrerequisitePbk{2356, 260};
inline constexpr FieldAt kPrerequisiteEntry{2616, 257};
inline constexpr FieldAt kRedialCount{2876, 4};
inline constexpr FieldAt kRedialPause{2880, 4};
// Record sizes of the versions: the first one with entry properties, the
// one with sub-entries, the one with the VPN fields, the one above.
inline constexpr uint32_t kSizeV400 = 1768;
inline constexpr uint32_t kSizeV401 = 1796;
inline constexpr uint32_t kSizeV500 = 2088;
inline constexpr uint32_t kSizeV501 = 2884;
}  // namespace entry

}  // namespace corvane::ras
