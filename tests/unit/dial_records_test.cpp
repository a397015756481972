// The dial-up service's records at byte level: which record versions are
// probed in which order, what the answers 603 and 632 do, and where each
// field is read and written, for both Windows ABIs. The service is a table
// of canned answers; the field positions below are written out by hand, not
// taken from the code under test.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "dial/fixed_text.h"
#include "dial/ras_record_service.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

void PutText(Bytes& record, size_t at, const std::string& text) { std::memcpy(&record[at], text.data(), text.size()); }

void PutNumber(Bytes& record, size_t at, uint64_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) record[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t GetNumber(const uint8_t* at, size_t width) {
  uint64_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= static_cast<uint64_t>(at[i]) << (8 * i);
  return value;
}

std::string GetText(const Bytes& record, size_t at) { return std::string(reinterpret_cast<const char*>(&record[at])); }

constexpr uint32_t kInvalidSize = 632;
constexpr uint32_t kTooSmall = 603;

// ---------------------------------------------------------------- connections

// Where the fields of one RASCONN version sit; -1: not in this version.
struct ConnVersion {
  uint32_t pointerSize;
  uint32_t size;
  int entryNameAt, deviceTypeAt, deviceNameAt, phonebookAt, subEntryAt, entryIdAt;
};

const ConnVersion kConnVersions[] = {
    {4, 692, 8, 265, 282, 411, 672, 676}, {4, 676, 8, 265, 282, 411, 672, -1},
    {4, 412, 8, 265, 282, -1, -1, -1},    {4, 32, 8, -1, -1, -1, -1, -1},
    {8, 696, 12, 269, 286, 415, 676, 680}, {8, 680, 12, 269, 286, 415, 676, -1},
    {8, 416, 12, 269, 286, -1, -1, -1},   {8, 36, 12, -1, -1, -1, -1, -1},
};

// A service that knows `known` RASCONN sizes and has `records` connections,
// each written by `fill` at its offset. Logs (dwSize, byte count) per call.
struct ConnService {
  std::set<uint32_t> known;
  uint32_t connections = 0;
  uint32_t reportOnSecondCall = 0;  // 0: report `connections`
  std::function<void(Bytes&, size_t at, uint32_t index)> fill;
  std::vector<std::pair<uint32_t, uint32_t>> calls;
  uint32_t sizingAnswer = kTooSmall;

  RasRawFunctions Raw(uint32_t pointerSize) {
    RasRawFunctions raw;
    raw.pointerSize = pointerSize;
    raw.EnumConnections = [this](uint8_t* records, uint32_t& byteCount, uint32_t& count) -> uint32_t {
      uint32_t size = 0;
      std::memcpy(&size, records, 4);
      calls.emplace_back(size, byteCount);
      if (known.count(size) == 0) return kInvalidSize;
      const uint32_t reported = calls.size() > 1 && reportOnSecondCall != 0 ? reportOnSecondCall : connections;
      if (reported == 0) {
        count = 0;
        return 0;
      }
      if (byteCount < reported * size) {
        count = reported;
        byteCount = reported * size;
        return sizingAnswer;
      }
      Bytes all(byteCount, 0);
      for (uint32_t i = 0; i < reported; ++i) fill(all, static_cast<size_t>(i) * size, i);
      std::memcpy(records, all.data(), byteCount);
      count = reported;
      return 0;
    };
    return raw;
  }
};

TEST(DialRecordsTest, NoConnectionStopsAtTheFirstSize) {
  for (uint32_t pointerSize : {4u, 8u}) {
    ConnService service;
    service.known = {692 + pointerSize - 4, 676 + pointerSize - 4, 412 + pointerSize - 4, 32 + pointerSize - 4};
    RasRecordService records(service.Raw(pointerSize));
    std::vector<ActiveConnection> list(3);
    EXPECT_EQ(records.EnumActiveConnections(list), 0);
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(service.calls.size(), 1u);
    EXPECT_EQ(service.calls[0], std::make_pair(692 + pointerSize - 4, 4u));
  }
}

TEST(DialRecordsTest, ConnectionsAreReadInTheNewestVersionTheServiceKnows) {
  for (const ConnVersion& v : kConnVersions) {
    SCOPED_TRACE(std::to_string(v.pointerSize) + "-byte handles, " + std::to_string(v.size) + "-byte record");
    ConnService service;
    for (const ConnVersion& older : kConnVersions) {
      if (older.pointerSize == v.pointerSize && older.size <= v.size) service.known.insert(older.size);
    }
    service.connections = 2;
    service.fill = [&](Bytes& all, size_t at, uint32_t i) {
      PutNumber(all, at, v.size, 4);
      PutNumber(all, at + 4, 0x1A2B3C40ULL + i + (v.pointerSize == 8 ? 0x7F0000000000ULL : 0), v.pointerSize);
      PutText(all, at + v.entryNameAt, "Entry" + std::to_string(i));
      if (v.deviceTypeAt >= 0) PutText(all, at + v.deviceTypeAt, "modem");
      if (v.deviceNameAt >= 0) PutText(all, at + v.deviceNameAt, "Modem " + std::to_string(i));
      if (v.phonebookAt >= 0) PutText(all, at + v.phonebookAt, "C:\\rasphone.pbk");
      if (v.subEntryAt >= 0) PutNumber(all, at + v.subEntryAt, 7 + i, 4);
      if (v.entryIdAt >= 0) {
        for (int b = 0; b < 16; ++b) all[at + v.entryIdAt + b] = static_cast<uint8_t>(0xA0 + b);
      }
    };
    RasRecordService records(service.Raw(v.pointerSize));
    std::vector<ActiveConnection> list;
    ASSERT_EQ(records.EnumActiveConnections(list), 2);
    ASSERT_EQ(list.size(), 2u);

    // Every newer size refused, the known one answered 603 with a 4-byte
    // buffer, then read with a buffer for both.
    ASSERT_GE(service.calls.size(), 2u);
    EXPECT_EQ(service.calls[service.calls.size() - 2], std::make_pair(v.size, 4u));
    EXPECT_EQ(service.calls.back(), std::make_pair(v.size, 2 * v.size));

    const ActiveConnection& second = list[1];
    EXPECT_EQ(second.Handle, static_cast<RasHandle>(0x1A2B3C41ULL + (v.pointerSize == 8 ? 0x7F0000000000ULL : 0)));
    EXPECT_EQ(second.EntryName, "Entry1");
    EXPECT_EQ(second.DeviceType, v.deviceTypeAt >= 0 ? "modem" : "");
    EXPECT_EQ(second.DeviceName, v.deviceNameAt >= 0 ? "Modem 1" : "");
    EXPECT_EQ(second.Phonebook, v.phonebookAt >= 0 ? "C:\\rasphone.pbk" : "");
    EXPECT_EQ(second.SubEntry, v.subEntryAt >= 0 ? 8u : 0u);
    EXPECT_EQ(second.EntryId[15], v.entryIdAt >= 0 ? 0xAF : 0);
  }
}

TEST(DialRecordsTest, AnyAnswerButInvalidSizeFixesTheSize) {
  // 610 is what some descriptions of the service give for "too small".
  ConnService service;
  service.known = {676, 412, 32};
  service.connections = 1;
  service.sizingAnswer = 610;
  service.fill = [](Bytes& all, size_t at, uint32_t) { PutText(all, at + 8, "Crv"); };
  RasRecordService records(service.Raw(4));
  std::vector<ActiveConnection> list;
  EXPECT_EQ(records.EnumActiveConnections(list), 1);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].EntryName, "Crv");
  EXPECT_EQ(service.calls.back().first, 676u);
}

TEST(DialRecordsTest, AServiceThatCannotListItsConnectionsIsNotTakenAsNone) {
  for (uint32_t failure : {5u, 711u, 87u}) {
    SCOPED_TRACE(failure);
    ConnService service;
    service.known = {692};
    service.connections = 1;
    RasRawFunctions raw = service.Raw(4);
    raw.EnumConnections = [failure](uint8_t*, uint32_t&, uint32_t& count) {
      count = 0;
      return failure;
    };
    RasRecordService records(raw);
    std::vector<ActiveConnection> list(1);
    EXPECT_EQ(records.EnumActiveConnections(list), kConnectionsUnknown);
    EXPECT_TRUE(list.empty());
  }
}

TEST(DialRecordsTest, AConnectionThatAppearsBetweenTheCallsIsNotReadPastTheBuffer) {
  ConnService service;
  service.known = {692};
  service.connections = 1;
  service.reportOnSecondCall = 3;  // the second call answers 603 with a bigger count
  service.fill = [](Bytes&, size_t, uint32_t) {};
  RasRecordService records(service.Raw(4));
  std::vector<ActiveConnection> list;
  EXPECT_EQ(records.EnumActiveConnections(list), 1);  // the sizing call's count
  EXPECT_EQ(list.size(), 1u);                         // never more than the buffer held
}

TEST(DialRecordsTest, LaterLooksAreOneCallWithRoomForTheLastCount) {
  ConnService service;
  service.known = {692, 676};
  service.connections = 1;
  service.fill = [](Bytes& all, size_t at, uint32_t i) { PutText(all, at + 8, "Entry" + std::to_string(i)); };
  RasRecordService records(service.Raw(4));
  std::vector<ActiveConnection> list;
  ASSERT_EQ(records.EnumActiveConnections(list), 1);  // sizing, then the read

  struct Look {
    std::set<uint32_t> known;
    uint32_t connections;
    std::vector<std::pair<uint32_t, uint32_t>> calls;
  };
  const Look looks[] = {
      {{692, 676}, 1, {{692, 692}}},                       // the line stays up
      {{692, 676}, 2, {{692, 692}, {692, 2 * 692}}},        // one more: too small, then read
      {{692, 676}, 2, {{692, 2 * 692}}},                   // room for both now
      {{692, 676}, 0, {{692, 2 * 692}}},                   // none
      {{692, 676}, 1, {{692, 692}}},                       // room for one at least
      {{676}, 1, {{692, 692}, {692, 4}, {676, 4}, {676, 676}}},  // the version refused: probed afresh
  };
  for (const Look& look : looks) {
    SCOPED_TRACE(look.connections);
    service.known = look.known;
    service.connections = look.connections;
    service.calls.clear();
    EXPECT_EQ(records.EnumActiveConnections(list), static_cast<int>(look.connections));
    EXPECT_EQ(service.calls, look.calls);
    ASSERT_EQ(list.size(), look.connections);
    if (!list.empty()) EXPECT_EQ(list.back().EntryName, "Entry" + std::to_string(look.connections - 1));
  }
}

// ---------------------------------------------------------------- status

TEST(DialRecordsTest, StatusIsReadInTheNewestVersionTheServiceKnows) {
  struct Case {
    uint32_t knownUpTo;
    int deviceNameSize;
    bool phoneNumber;
  };
  for (const Case& c : {Case{288, 129, true}, Case{160, 129, false}, Case{64, 33, false}}) {
    SCOPED_TRACE(c.knownUpTo);
    std::vector<uint32_t> probed;
    RasRawFunctions raw;
    raw.GetConnectStatus = [&](RasHandle handle, uint8_t* record) -> uint32_t {
      EXPECT_EQ(handle, 0x4242u);
      uint32_t size = 0;
      std::memcpy(&size, record, 4);
      probed.push_back(size);
      if (size > c.knownUpTo) return kInvalidSize;
      Bytes canned(size, 0);
      PutNumber(canned, 4, 8192, 4);
      PutNumber(canned, 8, 0, 4);
      PutText(canned, 12, "modem");
      PutText(canned, 29, std::string(static_cast<size_t>(c.deviceNameSize) - 1, 'N'));
      if (c.phoneNumber) PutText(canned, 158, "0191 555");
      std::memcpy(record + 4, canned.data() + 4, size - 4);
      return 0;
    };
    RasRecordService records(raw);
    ConnectStatus status;
    EXPECT_EQ(records.QueryConnectStatus(0x4242, status), 0);
    EXPECT_EQ(probed.back(), c.knownUpTo);
    EXPECT_EQ(probed.front(), 288u);
    EXPECT_EQ(status.State, 8192u);
    EXPECT_EQ(status.DeviceType, "modem");
    EXPECT_EQ(status.DeviceName, std::string(static_cast<size_t>(c.deviceNameSize) - 1, 'N'));
    EXPECT_EQ(status.PhoneNumber, c.phoneNumber ? "0191 555" : "");
  }
}

TEST(DialRecordsTest, StatusOfAGoneConnectionIsInvalidHandleAndFillsNothing) {
  int calls = 0;
  RasRawFunctions raw;
  raw.GetConnectStatus = [&](RasHandle, uint8_t*) -> uint32_t {
    ++calls;
    return 6;
  };
  RasRecordService records(raw);
  ConnectStatus status;
  status.State = 77;
  status.DeviceName = "before";
  EXPECT_EQ(records.QueryConnectStatus(0x99, status), 6);
  EXPECT_EQ(calls, 1);  // 6 is an answer: no further sizes
  EXPECT_EQ(status.State, 77u);
  EXPECT_EQ(status.DeviceName, "before");
}

TEST(DialRecordsTest, StatusWhenNoSizeIsKnownIsInvalidSize) {
  RasRawFunctions raw;
  raw.GetConnectStatus = [](RasHandle, uint8_t*) -> uint32_t { return kInvalidSize; };
  RasRecordService records(raw);
  ConnectStatus status;
  EXPECT_EQ(records.QueryConnectStatus(1, status), 632);
}

// ---------------------------------------------------------------- devices

struct DeviceService {
  uint32_t recordSize = 152;
  std::vector<std::pair<std::string, std::string>> devices;
  std::vector<uint32_t> firstSizes;  // dwSize seen on filling calls

  RasRawFunctions Raw() {
    RasRawFunctions raw;
    raw.EnumDevices = [this](uint8_t* records, uint32_t& byteCount, uint32_t& count) -> uint32_t {
      const uint32_t n = static_cast<uint32_t>(devices.size());
      const uint32_t needed = n * recordSize;
      if (records == nullptr || byteCount < needed) {
        byteCount = needed;
        count = n;
        return n == 0 ? 0 : kTooSmall;
      }
      uint32_t size = 0;
      std::memcpy(&size, records, 4);
      firstSizes.push_back(size);
      for (uint32_t i = 0; i < n; ++i) {
        Bytes one(recordSize, 0);
        PutNumber(one, 0, recordSize, 4);
        PutText(one, 4, devices[i].first);
        PutText(one, 21, devices[i].second);
        std::memcpy(records + static_cast<size_t>(i) * recordSize, one.data(), recordSize);
      }
      count = n;
      return 0;
    };
    return raw;
  }
};

TEST(DialRecordsTest, DevicesTakeTheRecordSizeTheServiceReports) {
  for (uint32_t recordSize : {152u, 148u, 200u}) {
    DeviceService service;
    service.recordSize = recordSize;
    service.devices = {{"modem", "Standard 56000 bps Modem"}, {"isdn", "ISDN Adapter"}, {"vpn", "WAN Miniport (PPTP)"}};
    RasRecordService records(service.Raw());
    std::vector<DialDevice> list;
    ASSERT_EQ(records.EnumDialDevices(list), 3);
    EXPECT_EQ(service.firstSizes, std::vector<uint32_t>{recordSize});
    EXPECT_EQ(list[0].DeviceType, "modem");
    EXPECT_EQ(list[0].DeviceName, "Standard 56000 bps Modem");
    EXPECT_EQ(list[2].DeviceType, "vpn");
    EXPECT_EQ(list[2].DeviceName, "WAN Miniport (PPTP)");
  }
}

TEST(DialRecordsTest, NoDevicesOrTooManyOnTheSecondCall) {
  DeviceService none;
  RasRecordService empty(none.Raw());
  std::vector<DialDevice> list(2);
  EXPECT_EQ(empty.EnumDialDevices(list), 0);
  EXPECT_TRUE(list.empty());

  // A device added between the calls: the second call reports two into a
  // buffer for one; one is read.
  bool sizing = true;
  RasRawFunctions oneThenTwo;
  oneThenTwo.EnumDevices = [&](uint8_t* records, uint32_t& byteCount, uint32_t& count) -> uint32_t {
    if (sizing) {
      sizing = false;
      byteCount = 152;
      count = 1;
      return kTooSmall;
    }
    (void)records;
    count = 2;
    return kTooSmall;
  };
  RasRecordService records(oneThenTwo);
  EXPECT_EQ(records.EnumDialDevices(list), 1);
  EXPECT_EQ(list.size(), 1u);
}

// Counts and byte counts from a service that does not tell the truth: the
// program must not allocate what they ask for (one fuzz case asked 3.7 GB).
// Each row answers the sizing call as given; a truthful service is never
// asked to fill a buffer for them, and nothing is listed.
TEST(DialRecordsTest, ImplausibleSizesFromTheServiceAreAServiceError) {
  struct Case {
    std::string name;
    bool devices;  // else connections
    uint32_t count;
    uint32_t byteCount;
  };
  const Case cases[] = {
      {"3.7 GB for one device", true, 1, 3700000000u},
      {"100 MB for one device", true, 1, 100u << 20},
      {"more devices than any machine has", true, 4000000000u, 4000000000u},
      {"a million connections", false, 1000000, 4},
      {"four billion connections", false, 4000000000u, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int fillingCalls = 0;
    auto answer = [&](uint8_t* records, uint32_t& byteCount, uint32_t& count) -> uint32_t {
      if (records != nullptr && byteCount > 4) {
        ++fillingCalls;
        return kTooSmall;
      }
      byteCount = c.byteCount;
      count = c.count;
      return kTooSmall;
    };
    RasRawFunctions raw;
    if (c.devices) raw.EnumDevices = answer; else raw.EnumConnections = answer;
    RasRecordService records(raw);
    if (c.devices) {
      std::vector<DialDevice> list;
      EXPECT_EQ(records.EnumDialDevices(list), 0);
      EXPECT_TRUE(list.empty());
    } else {
      std::vector<ActiveConnection> list;
      // Unknown, not none: a line that is up must not count as lost.
      EXPECT_EQ(records.EnumActiveConnections(list), kConnectionsUnknown);
      EXPECT_TRUE(list.empty());
    }
    EXPECT_EQ(fillingCalls, 0);
  }
}

// ---------------------------------------------------------------- error texts

TEST(DialRecordsTest, ErrorTextsComeFromTheSystemBelow601AndFromTheServiceAbove) {
  RasRawFunctions raw;
  std::vector<std::string> asked;
  raw.FormatSystemMessage = [&](uint32_t code, char* buffer, uint32_t size) -> uint32_t {
    asked.push_back("system " + std::to_string(code));
    EXPECT_EQ(size, 512u);
    if (code == 5) {
      std::strcpy(buffer, "Access denied.\r\n");
      return 16;
    }
    return 0;
  };
  raw.GetErrorString = [&](uint32_t code, char* buffer, uint32_t size) -> uint32_t {
    asked.push_back("service " + std::to_string(code));
    EXPECT_EQ(size, 512u);
    if (code == 676) std::strcpy(buffer, "The line is busy.");
    return code == 676 ? 0 : 87;
  };
  RasRecordService records(raw);
  EXPECT_EQ(records.DialErrorText(5), "Access denied.\r\n");
  EXPECT_EQ(records.DialErrorText(676), "The line is busy.");
  EXPECT_EQ(records.DialErrorText(600), "");
  EXPECT_EQ(records.DialErrorText(601), "");
  EXPECT_EQ(asked, (std::vector<std::string>{"system 5", "service 676", "system 600", "service 601"}));
}

// ---------------------------------------------------------------- dial records

struct DialVersion {
  uint32_t pointerSize;
  uint32_t size;
  int entryNameSize, phoneAt, callbackAt, userAt, passwordAt, domainAt, subEntryAt, callbackIdAt;
};

const DialVersion kDialVersions[] = {
    {4, 1060, 257, 261, 390, 519, 776, 1033, 1052, 1056}, {4, 1052, 257, 261, 390, 519, 776, 1033, -1, -1},
    {4, 816, 21, 25, 154, 283, 540, 797, -1, -1},         {8, 1064, 257, 261, 390, 519, 776, 1033, 1052, 1056},
    {8, 1052, 257, 261, 390, 519, 776, 1033, -1, -1},     {8, 816, 21, 25, 154, 283, 540, 797, -1, -1},
};

TEST(DialRecordsTest, DialRecordIsBuiltInTheNewestVersionTheServiceKnows) {
  for (const DialVersion& v : kDialVersions) {
    SCOPED_TRACE(std::to_string(v.pointerSize) + "-byte pointers, " + std::to_string(v.size) + " bytes");
    std::vector<uint32_t> probed;
    RasRawFunctions raw;
    raw.pointerSize = v.pointerSize;
    raw.GetEntryDialParams = [&](const char* phonebook, uint8_t* record, int32_t&) -> uint32_t {
      EXPECT_EQ(phonebook, nullptr);
      uint32_t size = 0;
      std::memcpy(&size, record, 4);
      probed.push_back(size);
      return size > v.size ? kInvalidSize : 623;  // an empty entry name is never found
    };
    RasRecordService records(raw);
    DialParams params;
    params.EntryName = "Crv";
    params.PhoneNumber = "0191 555 0100";
    params.CallbackNumber = "";
    params.UserName = std::string(300, 'u');  // longer than any field
    params.Password = "secret";
    params.Domain = "WORKGROUP";
    params.SubEntry = 0x01020304;
    params.CallbackId = 0x0A0B0C0D;
    ASSERT_TRUE(records.BuildDialParams(params));
    EXPECT_EQ(probed.back(), v.size);

    const Bytes& r = records.DialRecord();
    ASSERT_EQ(r.size(), v.size);
    EXPECT_EQ(GetNumber(r.data(), 4), v.size);
    EXPECT_EQ(GetText(r, 4), "Crv");
    EXPECT_EQ(GetText(r, v.phoneAt), "0191 555 0100");
    EXPECT_EQ(GetText(r, v.callbackAt), "");
    // The field keeps its terminating zero: 256 characters of a 257-byte field.
    EXPECT_EQ(GetText(r, v.userAt), std::string(256, 'u'));
    EXPECT_EQ(GetText(r, v.passwordAt), "secret");
    EXPECT_EQ(GetText(r, v.domainAt), "WORKGROUP");
    if (v.subEntryAt >= 0) {
      EXPECT_EQ(GetNumber(&r[v.subEntryAt], 4), 0x01020304u);
      EXPECT_EQ(GetNumber(&r[v.callbackIdAt], v.pointerSize), 0x0A0B0C0Du);
    }
  }
}

TEST(DialRecordsTest, ShortEntryNameVersionCutsTheName) {
  RasRawFunctions raw;
  raw.GetEntryDialParams = [](const char*, uint8_t* record, int32_t&) -> uint32_t {
    uint32_t size = 0;
    std::memcpy(&size, record, 4);
    return size == 816 ? 623 : kInvalidSize;
  };
  RasRecordService records(raw);
  DialParams params;
  params.EntryName = std::string(30, 'e');
  params.PhoneNumber = "1";
  ASSERT_TRUE(records.BuildDialParams(params));
  EXPECT_EQ(GetText(records.DialRecord(), 4), std::string(20, 'e'));
  EXPECT_EQ(GetText(records.DialRecord(), 25), "1");
}

TEST(DialRecordsTest, NoAcceptedDialRecordKeepsThePreviousOne) {
  bool accept = true;
  RasRawFunctions raw;
  raw.GetEntryDialParams = [&](const char*, uint8_t*, int32_t&) -> uint32_t { return accept ? 623 : kInvalidSize; };
  std::vector<uint8_t> dialled;
  raw.Dial = [&](const char* phonebook, uint8_t* record, RasWindow window, RasHandle& handle) -> uint32_t {
    EXPECT_EQ(phonebook, nullptr);
    EXPECT_EQ(window, 0x1234u);
    EXPECT_EQ(handle, 0u);
    uint32_t size = 0;
    std::memcpy(&size, record, 4);
    dialled.assign(record, record + size);
    handle = 0x5678;
    return 0;
  };
  RasRecordService records(raw);
  DialParams first;
  first.PhoneNumber = "111";
  ASSERT_TRUE(records.BuildDialParams(first));
  accept = false;
  DialParams second;
  second.PhoneNumber = "222";
  EXPECT_FALSE(records.BuildDialParams(second));

  RasHandle handle = 99;
  EXPECT_EQ(records.Dial("", 0x1234, handle), 0);
  EXPECT_EQ(handle, 0x5678u);
  ASSERT_EQ(dialled.size(), 1060u);
  EXPECT_EQ(GetText(dialled, 261), "111");
}

TEST(DialRecordsTest, DialBeforeAnyRecordSendsSizeZero) {
  RasRawFunctions raw;
  raw.Dial = [](const char*, uint8_t* record, RasWindow, RasHandle&) -> uint32_t {
    uint32_t size = 1;
    std::memcpy(&size, record, 4);
    return size == 0 ? kInvalidSize : 0;
  };
  RasRecordService records(raw);
  RasHandle handle = 5;
  EXPECT_EQ(records.Dial("", 1, handle), 632);
  EXPECT_EQ(handle, 0u);
}

// ---------------------------------------------------------------- the rest

TEST(DialRecordsTest, DialEventMessageIsRegisteredOnceWithItsFallback) {
  for (uint32_t registered : {0u, 0xC123u}) {
    int registrations = 0;
    RasRawFunctions raw;
    raw.RegisterMessage = [&](const char* name) -> uint32_t {
      EXPECT_STREQ(name, "RasDialEvent");
      ++registrations;
      return registered;
    };
    RasRecordService records(raw);
    const uint32_t expected = registered != 0 ? registered : 52429u;
    EXPECT_EQ(records.DialEventMessage(), expected);
    EXPECT_EQ(records.DialEventMessage(), expected);
    EXPECT_EQ(registrations, 1);
  }
}

TEST(DialRecordsTest, StatisticsAreReadFromTheSixtyByteRecord) {
  RasRawFunctions raw;
  raw.GetConnectionStatistics = [](RasHandle, uint8_t* record) -> uint32_t {
    uint32_t size = 0;
    std::memcpy(&size, record, 4);
    if (size != 60) return kInvalidSize;
    for (uint32_t i = 1; i < 15; ++i) {
      const uint32_t value = 1000 * i;
      std::memcpy(record + 4 * i, &value, 4);
    }
    return 0;
  };
  RasRecordService records(raw);
  ConnectionStatistics statistics;
  EXPECT_EQ(records.GetConnectionStatistics(1, statistics), 0);
  EXPECT_EQ(statistics.BytesTransmitted, 1000u);
  EXPECT_EQ(statistics.BytesReceived, 2000u);
  EXPECT_EQ(statistics.Bps, 13000u);
  EXPECT_EQ(statistics.ConnectDuration, 14000u);

  raw.GetConnectionStatistics = [](RasHandle, uint8_t* record) -> uint32_t {
    std::memset(record + 4, 0xFF, 56);
    return 6;
  };
  RasRecordService gone(raw);
  ConnectionStatistics untouched;
  untouched.Bps = 5;
  EXPECT_EQ(gone.GetConnectionStatistics(1, untouched), 6);
  EXPECT_EQ(untouched.Bps, 5u);
}

TEST(DialRecordsTest, EntryRecordWritesOnlyTheFieldsWithinTheReportedSize) {
  PhonebookEntryRecord record;
  record.Options = 0x210;
  record.CountryCode = 1;
  record.LocalPhoneNumber = "55555555";
  record.NetProtocols = 7;
  record.FramingProtocol = 1;
  record.DeviceType = "modem";
  record.DeviceName = "Standard Modem";
  record.Type = 1;           // from the 2088-byte version on
  record.RedialPause = 60;   // the last field of the 2884-byte version

  struct Case {
    uint32_t size;
    bool hasType, hasRedialPause;
  };
  for (const Case& c : {Case{1768, false, false}, Case{1796, false, false}, Case{2088, true, false},
                        Case{2884, true, true}}) {
    SCOPED_TRACE(c.size);
    const Bytes b = LayOutEntryRecord(record, c.size);
    ASSERT_EQ(b.size(), c.size + 2u);  // the empty alternate-numbers list behind it
    EXPECT_EQ(GetNumber(&b[0], 4), c.size);
    EXPECT_EQ(GetNumber(&b[4], 4), 0x210u);
    EXPECT_EQ(GetNumber(&b[12], 4), 1u);
    EXPECT_EQ(GetText(b, 27), "55555555");
    EXPECT_EQ(GetNumber(&b[184], 4), 7u);
    EXPECT_EQ(GetNumber(&b[188], 4), 1u);
    EXPECT_EQ(GetText(b, 972), "modem");
    EXPECT_EQ(GetText(b, 989), "Standard Modem");
    if (c.size > 1796) {
      EXPECT_EQ(GetNumber(&b[1796], 4), c.hasType ? 1u : 0u);
    }
    if (c.size > 2880) {
      EXPECT_EQ(GetNumber(&b[2880], 4), c.hasRedialPause ? 60u : 0u);
    }
    EXPECT_EQ(b[c.size], 0);
    EXPECT_EQ(b[c.size + 1], 0);
  }
}

TEST(DialRecordsTest, EntryPropertiesPassTheSizeAndTheDefaultPhonebook) {
  RasRawFunctions raw;
  raw.GetEntryProperties = [](const char* phonebook, const char* entryName, uint8_t* record,
                              uint32_t& size) -> uint32_t {
    EXPECT_EQ(phonebook, nullptr);
    EXPECT_EQ(entryName, nullptr);
    EXPECT_EQ(record, nullptr);
    size = 2088;
    return kTooSmall;
  };
  uint32_t storedSize = 0;
  std::string storedName;
  raw.SetEntryProperties = [&](const char* phonebook, const char* entryName, uint8_t* record,
                               uint32_t size) -> uint32_t {
    EXPECT_EQ(phonebook, nullptr);
    storedName = entryName;
    storedSize = size;
    EXPECT_EQ(GetNumber(record, 4), size);
    return 0;
  };
  RasRecordService records(raw);
  uint32_t size = 0;
  EXPECT_EQ(records.QueryEntryRecordSize(size), 603);
  EXPECT_EQ(size, 2088u);
  EXPECT_EQ(records.SetEntryProperties("", "Crv", PhonebookEntryRecord{}, size), 0);
  EXPECT_EQ(storedName, "Crv");
  EXPECT_EQ(storedSize, 2088u);
}

// The entry's device is read from a record of the size the service names
// for a new entry, in a buffer with room for the entry's alternate numbers.
TEST(DialRecordsTest, EntryDeviceIsReadFromTheNewestRecordVersion) {
  RasRawFunctions raw;
  std::vector<uint32_t> dwSizes;
  raw.GetEntryProperties = [&](const char*, const char* entryName, uint8_t* record, uint32_t& size) -> uint32_t {
    if (entryName == nullptr) {
      size = 2088;
      return kTooSmall;
    }
    if (std::string(entryName) != "Crv") return 623;
    if (record == nullptr || size < 2100) {
      size = 2100;  // the record and its alternate numbers
      return kTooSmall;
    }
    dwSizes.push_back(static_cast<uint32_t>(GetNumber(record, 4)));
    std::memcpy(record + 989, "Modem A", 8);
    return 0;
  };
  RasRecordService records(raw);
  std::string device = "untouched";
  EXPECT_EQ(records.GetEntryDeviceName("", "Other", device), 623);
  EXPECT_EQ(device, "untouched");
  EXPECT_EQ(records.GetEntryDeviceName("", "Crv", device), 0);
  EXPECT_EQ(device, "Modem A");
  EXPECT_EQ(dwSizes, std::vector<uint32_t>{2088});
}

TEST(DialRecordsTest, FixedTexts) {
  struct Case {
    std::string text;
    size_t size;
    std::string stored;
  };
  for (const Case& c : {Case{"Crv", 21, "Crv"}, Case{"", 5, ""}, Case{"12345", 5, "1234"}, Case{"123", 4, "123"},
                        Case{"abc", 1, ""}}) {
    Bytes field(c.size + 1, 0xEE);  // a guard byte behind the field
    WriteFixedText(field.data(), c.text, c.size);
    EXPECT_EQ(field[c.size], 0xEE) << c.text;
    EXPECT_EQ(ReadFixedText(field.data(), c.size), c.stored) << c.text;
  }
  const uint8_t full[4] = {'a', 'b', 'c', 'd'};  // no terminator: the whole field
  EXPECT_EQ(ReadFixedText(full, 4), "abcd");
  const uint8_t early[4] = {'a', 0, 'c', 'd'};
  EXPECT_EQ(ReadFixedText(early, 4), "a");
}

TEST(DialRecordsTest, PasswordLeavesTheRecordOnceDialled) {
  std::string passwordSeen;
  RasRawFunctions raw;
  raw.GetEntryDialParams = [](const char*, uint8_t* record, int32_t&) -> uint32_t {
    uint32_t size = 0;
    std::memcpy(&size, record, 4);
    return size == 816 ? 623 : kInvalidSize;
  };
  constexpr size_t kPasswordAt = 540;  // 816-byte form: after size, entry 21, number, callback, user
  raw.Dial = [&](const char*, uint8_t* record, RasWindow, RasHandle& handle) -> uint32_t {
    passwordSeen = reinterpret_cast<const char*>(record + kPasswordAt);
    handle = 7;
    return 0;
  };
  RasRecordService records(raw);
  DialParams params;
  params.EntryName = "Crv";
  params.Password = "secret";
  ASSERT_TRUE(records.BuildDialParams(params));
  RasHandle handle = 0;
  ASSERT_EQ(records.Dial("", 1, handle), 0);
  EXPECT_EQ(passwordSeen, "secret");
  EXPECT_EQ(GetText(records.DialRecord(), kPasswordAt), "");
}

}  // namespace
}  // namespace corvane
