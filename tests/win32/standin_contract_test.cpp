// The stand-in against the dial-up service's published contract, called the
// way any program calls the service: every record size the current headers
// produce for this ABI (and the older versions' sizes) is accepted, other
// sizes are refused, and each invalid argument the documentation names gets
// the code it lists. Sizes and codes are written out from the headers and
// the documentation, not taken from the stand-in.
#include <windows.h>
#include <ras.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "dial_standin_fixture.h"

namespace corvane::testing {
namespace {

constexpr bool k64 = sizeof(void*) == 8;
constexpr DWORD kInvalidArgument = 0x80070057;  // E_INVALIDARG

// A zeroed record whose dwSize says `size`, with room for `size` bytes.
std::vector<BYTE> Record(DWORD size, DWORD room = 0) {
  std::vector<BYTE> record(std::max<DWORD>(std::max<DWORD>(size, room), 4), 0);
  std::memcpy(record.data(), &size, 4);
  return record;
}

void PutText(std::vector<BYTE>& record, size_t offset, const char* text) {
  std::memcpy(record.data() + offset, text, std::strlen(text) + 1);
}

// A complete entry record of `size` bytes: number, device and framing.
std::vector<BYTE> EntryRecord(DWORD size) {
  std::vector<BYTE> record = Record(size);
  PutText(record, offsetof(RASENTRYA, szLocalPhoneNumber), "5550100");
  PutText(record, offsetof(RASENTRYA, szDeviceType), "modem");
  PutText(record, offsetof(RASENTRYA, szDeviceName), "Modem A");
  const DWORD ppp = RASFP_Ppp;
  std::memcpy(record.data() + offsetof(RASENTRYA, dwFramingProtocol), &ppp, 4);
  return record;
}

class StandinContractTest : public StandinTest {};

// Every size a released set of headers gives each record: the classic
// 32-bit sizes grow by the 8-byte handles and pointers on 64-bit Windows.
TEST_F(StandinContractTest, RecordSizesOfEveryHeaderVersionAreAccepted) {
  struct Case {
    const char* record;
    DWORD size;
    bool accepted;
  };
  const Case cases[] = {
      // RASCONN: WINVER < 0x400, 0x400, 0x401, 0x500, 0x501, 0x600 (current)
      {"RASCONN", k64 ? 36u : 32u, true},
      {"RASCONN", k64 ? 416u : 412u, true},
      {"RASCONN", k64 ? 680u : 676u, true},
      {"RASCONN", k64 ? 696u : 692u, true},
      {"RASCONN", k64 ? 708u : 704u, true},
      {"RASCONN", k64 ? 724u : 720u, true},
      {"RASCONN", k64 ? 720u : 724u, false},  // the other ABI's newest
      {"RASCONN", 4, false},
      // RASCONNSTATUS: WINVER < 0x400, 0x400, 0x401, 0x601 (current)
      {"RASCONNSTATUS", 64, true},
      {"RASCONNSTATUS", 160, true},
      {"RASCONNSTATUS", 288, true},
      {"RASCONNSTATUS", 332, true},
      {"RASCONNSTATUS", 336, false},
      // RASDIALPARAMS: WINVER < 0x400 (and its long-callback form), 0x400,
      // 0x401, 0x601, 0x602 (current)
      {"RASDIALPARAMS", 736, true},
      {"RASDIALPARAMS", 816, true},
      {"RASDIALPARAMS", 1052, true},
      {"RASDIALPARAMS", k64 ? 1064u : 1060u, true},
      {"RASDIALPARAMS", k64 ? 1068u : 1064u, true},
      {"RASDIALPARAMS", k64 ? 1076u : 1068u, true},
      {"RASDIALPARAMS", 1080, false},
      // RASENTRY: 0x400, 0x401, 0x500, 0x501, 0x600, 0x601, 0xA00 (current)
      {"RASENTRY", 1768, true},
      {"RASENTRY", 1796, true},
      {"RASENTRY", 2088, true},
      {"RASENTRY", 2884, true},
      {"RASENTRY", 2924, true},
      {"RASENTRY", 2948, true},
      {"RASENTRY", 3480, true},
      {"RASENTRY", 3476, false},
      // RASDEVINFO and RAS_STATS have one version each.
      {"RASDEVINFO", 152, true},
      {"RASDEVINFO", 148, false},
      {"RASDEVINFO", 0, false},
      {"RASDEVINFO", 151, false},
      {"RASDEVINFO", 153, false},
      {"RAS_STATS", 60, true},
      {"RAS_STATS", 64, false},
  };
  // A phonebook entry to probe the entry-bound calls with.
  std::vector<BYTE> crv = EntryRecord(3480);
  ASSERT_EQ(RasSetEntryPropertiesA(nullptr, "Crv", reinterpret_cast<LPRASENTRYA>(crv.data()), 3480, nullptr, 0), 0u);

  const HRASCONN stale = reinterpret_cast<HRASCONN>(static_cast<uintptr_t>(0x7770));
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.record) + " of " + std::to_string(c.size) + " bytes");
    const std::string name = c.record;
    if (name == "RASCONN") {
      std::vector<BYTE> record = Record(c.size);
      DWORD bytes = c.size, count = 99;
      const DWORD answer = RasEnumConnectionsA(reinterpret_cast<LPRASCONNA>(record.data()), &bytes, &count);
      EXPECT_EQ(answer, c.accepted ? 0u : 632u);
      if (c.accepted) {
        EXPECT_EQ(count, 0u);
      }
    } else if (name == "RASCONNSTATUS") {
      // Known sizes get as far as the handle, which names no connection.
      std::vector<BYTE> record = Record(c.size);
      EXPECT_EQ(RasGetConnectStatusA(stale, reinterpret_cast<LPRASCONNSTATUSA>(record.data())),
                c.accepted ? 6u : 632u);
    } else if (name == "RASDIALPARAMS") {
      std::vector<BYTE> probe = Record(c.size);
      BOOL saved = TRUE;
      EXPECT_EQ(RasGetEntryDialParamsA(nullptr, reinterpret_cast<LPRASDIALPARAMSA>(probe.data()), &saved),
                c.accepted ? 623u : 632u);  // no entry name: "no such entry" once the size is known
      std::vector<BYTE> dial = Record(c.size);
      PutText(dial, 4, "Nowhere");
      HRASCONN handle = nullptr;
      EXPECT_EQ(RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(dial.data()), 0, nullptr, &handle),
                c.accepted ? 623u : 632u);
      EXPECT_EQ(handle, nullptr);
    } else if (name == "RASENTRY") {
      std::vector<BYTE> record = Record(c.size);
      DWORD size = c.size;
      EXPECT_EQ(RasGetEntryPropertiesA(nullptr, "Crv", reinterpret_cast<LPRASENTRYA>(record.data()), &size, nullptr,
                                       nullptr),
                c.accepted ? 0u : 632u);
      if (c.accepted) {
        EXPECT_STREQ(reinterpret_cast<char*>(record.data() + offsetof(RASENTRYA, szDeviceName)), "Modem A");
      }
      std::vector<BYTE> written = EntryRecord(c.size);
      EXPECT_EQ(RasSetEntryPropertiesA(nullptr, "Other", reinterpret_cast<LPRASENTRYA>(written.data()), c.size,
                                       nullptr, 0),
                c.accepted ? 0u : 632u);
    } else if (name == "RASDEVINFO") {
      std::vector<BYTE> records = Record(c.size, 4096);
      DWORD bytes = 4096, count = 0;
      EXPECT_EQ(RasEnumDevicesA(reinterpret_cast<LPRASDEVINFOA>(records.data()), &bytes, &count),
                c.accepted ? 0u : 632u);
    } else if (name == "RAS_STATS") {
      std::vector<BYTE> record = Record(c.size);
      EXPECT_EQ(RasGetConnectionStatistics(stale, reinterpret_cast<RAS_STATS*>(record.data())),
                c.accepted ? 6u : kInvalidArgument);
    }
  }
}

// The entry-name rules the validation documents, and what it says of a
// name that is taken.
TEST_F(StandinContractTest, EntryNamesAsThePlatformValidatesThem) {
  struct Case {
    std::string name;
    DWORD answer;
  };
  const Case cases[] = {
      {"Provider 2", 0},
      {"x", 0},
      {std::string(256, 'a'), 0},
      {std::string(257, 'a'), ERROR_INVALID_NAME},
      {"", ERROR_INVALID_NAME},
      {"   ", ERROR_INVALID_NAME},   // no letter or digit
      {"-+-", ERROR_INVALID_NAME},   // no letter or digit
      {".hidden", ERROR_INVALID_NAME},
      {"a|b", ERROR_INVALID_NAME},
      {"a>b", ERROR_INVALID_NAME},
      {"a<b", ERROR_INVALID_NAME},
      {"a?b", ERROR_INVALID_NAME},
      {"a*b", ERROR_INVALID_NAME},
      {"a\\b", ERROR_INVALID_NAME},
      {"a/b", ERROR_INVALID_NAME},
      {"a:b", ERROR_INVALID_NAME},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.name + "\"");
    EXPECT_EQ(RasValidateEntryNameA(nullptr, c.name.c_str()), c.answer);
    // A name the validation refuses cannot be stored either.
    if (c.answer != 0) {
      std::vector<BYTE> record = EntryRecord(3480);
      EXPECT_EQ(RasSetEntryPropertiesA(nullptr, c.name.c_str(), reinterpret_cast<LPRASENTRYA>(record.data()), 3480,
                                       nullptr, 0),
                c.answer);
    }
  }
  std::vector<BYTE> record = EntryRecord(3480);
  ASSERT_EQ(RasSetEntryPropertiesA(nullptr, "Crv", reinterpret_cast<LPRASENTRYA>(record.data()), 3480, nullptr, 0), 0u);
  EXPECT_EQ(RasValidateEntryNameA(nullptr, "CRV"), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(RasValidateEntryNameA(nullptr, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// Zero handles, NULL records and pointers, short buffers and incomplete
// records, each with the code the documentation lists for it.
TEST_F(StandinContractTest, InvalidArgumentsGetTheDocumentedCodes) {
  const DWORD connSize = k64 ? 724 : 720;
  std::vector<BYTE> conn = Record(connSize);
  std::vector<BYTE> status = Record(332);
  std::vector<BYTE> stats = Record(60);
  std::vector<BYTE> device = Record(152);
  std::vector<BYTE> zeroDevice = Record(0, 152);
  std::vector<BYTE> dial = Record(k64 ? 1076 : 1068);
  PutText(dial, 4, "Crv");
  std::vector<BYTE> entry = EntryRecord(3480);
  std::vector<BYTE> noDevice = EntryRecord(3480);
  noDevice[offsetof(RASENTRYA, szDeviceName)] = 0;
  std::vector<BYTE> noNumber = EntryRecord(3480);
  noNumber[offsetof(RASENTRYA, szLocalPhoneNumber)] = 0;
  std::vector<BYTE> noFraming = EntryRecord(3480);
  std::memset(noFraming.data() + offsetof(RASENTRYA, dwFramingProtocol), 0, 4);
  auto asEntry = [](std::vector<BYTE>& r) { return reinterpret_cast<LPRASENTRYA>(r.data()); };
  DWORD bytes = 0, count = 0, size = 0;
  BOOL saved = FALSE;
  HRASCONN handle = nullptr;
  HRASCONN paused = reinterpret_cast<HRASCONN>(static_cast<uintptr_t>(0x10));
  char text[512];

  struct Case {
    const char* call;
    DWORD answer;
    DWORD expected;
  };
  const Case cases[] = {
      {"RasEnumConnectionsA without a byte count",
       RasEnumConnectionsA(reinterpret_cast<LPRASCONNA>(conn.data()), nullptr, &count), ERROR_INVALID_PARAMETER},
      {"RasEnumConnectionsA without a count",
       RasEnumConnectionsA(reinterpret_cast<LPRASCONNA>(conn.data()), &bytes, nullptr), ERROR_INVALID_PARAMETER},
      {"RasGetConnectStatusA on a zero handle",
       RasGetConnectStatusA(nullptr, reinterpret_cast<LPRASCONNSTATUSA>(status.data())), ERROR_INVALID_HANDLE},
      {"RasGetConnectStatusA without a record", RasGetConnectStatusA(paused, nullptr), ERROR_INVALID_PARAMETER},
      {"RasHangUpA on a zero handle", RasHangUpA(nullptr), ERROR_INVALID_HANDLE},
      {"RasEnumDevicesA without a byte count", RasEnumDevicesA(nullptr, nullptr, &count), ERROR_INVALID_PARAMETER},
      {"RasEnumDevicesA without a count", RasEnumDevicesA(nullptr, &bytes, nullptr), ERROR_INVALID_PARAMETER},
      {"RasEnumDevicesA asking for the size", (bytes = 0, RasEnumDevicesA(nullptr, &bytes, &count)), 603},
      {"RasEnumDevicesA with a buffer too small for the devices",
       (bytes = 152, RasEnumDevicesA(reinterpret_cast<LPRASDEVINFOA>(device.data()), &bytes, &count)), 603},
      // The size is looked at before the byte count: 632, not "too small".
      {"RasEnumDevicesA with a record of size 0 and a byte count of 0",
       (bytes = 0, RasEnumDevicesA(reinterpret_cast<LPRASDEVINFOA>(zeroDevice.data()), &bytes, &count)), 632},
      {"RasGetErrorStringA without a buffer", RasGetErrorStringA(676, nullptr, 512), ERROR_INVALID_PARAMETER},
      {"RasGetErrorStringA with a buffer too small", RasGetErrorStringA(676, text, 5), ERROR_INSUFFICIENT_BUFFER},
      {"RasGetEntryPropertiesA asking for the size",
       (size = 0, RasGetEntryPropertiesA(nullptr, nullptr, nullptr, &size, nullptr, nullptr)), 603},
      {"RasGetEntryPropertiesA with a record but no size",
       RasGetEntryPropertiesA(nullptr, "", asEntry(entry), nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER},
      {"RasGetEntryPropertiesA with a buffer smaller than the record",
       (size = 100, RasGetEntryPropertiesA(nullptr, "", asEntry(entry), &size, nullptr, nullptr)), 603},
      {"RasGetEntryPropertiesA of a missing entry",
       (size = 3480, RasGetEntryPropertiesA(nullptr, "Missing", asEntry(entry), &size, nullptr, nullptr)), 623},
      {"RasSetEntryPropertiesA without a record", RasSetEntryPropertiesA(nullptr, "Crv", nullptr, 3480, nullptr, 0),
       610},
      {"RasSetEntryPropertiesA without a name", RasSetEntryPropertiesA(nullptr, nullptr, asEntry(entry), 3480, nullptr, 0),
       ERROR_INVALID_PARAMETER},
      {"RasSetEntryPropertiesA with a buffer smaller than the record",
       RasSetEntryPropertiesA(nullptr, "Crv", asEntry(entry), 100, nullptr, 0), 610},
      {"RasSetEntryPropertiesA without a device name",
       RasSetEntryPropertiesA(nullptr, "Crv", asEntry(noDevice), 3480, nullptr, 0), ERROR_INVALID_PARAMETER},
      {"RasSetEntryPropertiesA without a phone number",
       RasSetEntryPropertiesA(nullptr, "Crv", asEntry(noNumber), 3480, nullptr, 0), ERROR_INVALID_PARAMETER},
      {"RasSetEntryPropertiesA without a framing protocol",
       RasSetEntryPropertiesA(nullptr, "Crv", asEntry(noFraming), 3480, nullptr, 0), ERROR_INVALID_PARAMETER},
      {"RasGetEntryDialParamsA without a record", RasGetEntryDialParamsA(nullptr, nullptr, &saved), 610},
      {"RasGetEntryDialParamsA without the password flag",
       RasGetEntryDialParamsA(nullptr, reinterpret_cast<LPRASDIALPARAMSA>(dial.data()), nullptr), 610},
      {"RasGetEntryDialParamsA of a missing entry",
       RasGetEntryDialParamsA(nullptr, reinterpret_cast<LPRASDIALPARAMSA>(dial.data()), &saved), 623},
      {"RasDialA without a record", RasDialA(nullptr, nullptr, nullptr, 0, nullptr, &handle), ERROR_INVALID_PARAMETER},
      {"RasDialA without a handle variable",
       RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(dial.data()), 0, nullptr, nullptr),
       ERROR_INVALID_PARAMETER},
      {"RasDialA resuming a dial that is not paused",
       RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(dial.data()), 0, nullptr, &paused),
       ERROR_INVALID_PARAMETER},
      {"RasDialA of a missing entry",
       RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(dial.data()), 0, nullptr, &handle), 623},
      {"RasGetConnectionStatistics on a zero handle",
       RasGetConnectionStatistics(nullptr, reinterpret_cast<RAS_STATS*>(stats.data())), kInvalidArgument},
      {"RasGetConnectionStatistics without a record", RasGetConnectionStatistics(paused, nullptr), kInvalidArgument},
      {"RasGetConnectionStatistics of a handle that names no connection",
       RasGetConnectionStatistics(paused, reinterpret_cast<RAS_STATS*>(stats.data())), ERROR_INVALID_HANDLE},
  };
  for (const Case& c : cases) EXPECT_EQ(c.answer, c.expected) << c.call;
  EXPECT_EQ(handle, nullptr) << "a dial refused at once leaves no handle to hang up";
}

}  // namespace
}  // namespace corvane::testing
