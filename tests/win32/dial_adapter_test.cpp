// The rasapi32 adapter against the stand-in service: size probing as the
// service answers it, the fields read from its records, dialling with the
// registered dial-event message, status of a hung-up handle, error texts,
// connections shared between processes, a line dropped from outside, and
// a service that knows only older record versions.
#include <gtest/gtest.h>

#include <cstring>

#include "dial/phonebook_entry.h"
#include "dial_standin_fixture.h"
#include "win32/ras_dialup_service.h"
#include "win32/unique_handle.h"

namespace corvane::testing {
namespace {

constexpr uint32_t kWide = sizeof(void*) - 4;  // what 8-byte handles add to a connection record

// The adapter's raw table, with a log of (record size, answer) for the
// calls whose probing the tests look at.
struct ProbeLog {
  std::vector<std::pair<uint32_t, uint32_t>> enumConnections, connectStatus, entryDialParams;
};

RasRawFunctions Logged(ProbeLog& log) {
  RasRawFunctions raw = Rasapi32Functions();
  auto sizeOf = [](const uint8_t* record) {
    uint32_t size = 0;
    std::memcpy(&size, record, 4);
    return size;
  };
  raw.EnumConnections = [inner = raw.EnumConnections, &log, sizeOf](uint8_t* records, uint32_t& byteCount,
                                                                    uint32_t& count) {
    const uint32_t size = sizeOf(records);
    const uint32_t answer = inner(records, byteCount, count);
    log.enumConnections.emplace_back(size, answer);
    return answer;
  };
  raw.GetConnectStatus = [inner = raw.GetConnectStatus, &log, sizeOf](RasHandle handle, uint8_t* record) {
    const uint32_t size = sizeOf(record);
    const uint32_t answer = inner(handle, record);
    log.connectStatus.emplace_back(size, answer);
    return answer;
  };
  raw.GetEntryDialParams = [inner = raw.GetEntryDialParams, &log, sizeOf](const char* phonebook, uint8_t* record,
                                                                          int32_t& saved) {
    const uint32_t size = sizeOf(record);
    const uint32_t answer = inner(phonebook, record, saved);
    log.entryDialParams.emplace_back(size, answer);
    return answer;
  };
  return raw;
}

using Probes = std::vector<std::pair<uint32_t, uint32_t>>;

class DialAdapterTest : public StandinTest {
 protected:
  // Creates "Crv" as start-up does, then dials it through `service`.
  RasHandle DialCrv(DialUpService& service, DialEventWindow& window, const std::string& user = "alice") {
    CreatePhonebookEntry(service, true);
    DialParams params;
    params.EntryName = "Crv";
    params.PhoneNumber = "0191 555 0100";
    params.UserName = user;
    params.Password = "secret";
    EXPECT_TRUE(service.BuildDialParams(params));
    RasHandle handle = 0;
    EXPECT_EQ(service.Dial("", reinterpret_cast<RasWindow>(window.Handle()), handle), 0);
    EXPECT_NE(handle, 0u);
    return handle;
  }

  static bool WaitForGone(DialUpService& service, RasHandle handle) {
    const ULONGLONG end = GetTickCount64() + 5000;
    ConnectStatus status;
    while (service.QueryConnectStatus(handle, status) != kRasInvalidHandle) {
      if (GetTickCount64() > end) return false;
      Sleep(10);
    }
    return true;
  }
};

TEST_F(DialAdapterTest, NoConnectionAnswersZeroAtTheFirstSize) {
  ProbeLog log;
  RasRecordService service(Logged(log));
  std::vector<ActiveConnection> list;
  EXPECT_EQ(service.EnumActiveConnections(list), 0);
  EXPECT_EQ(log.enumConnections, (Probes{{692 + kWide, 0}}));
}

TEST_F(DialAdapterTest, DialReportsTheStatesAndTheConnectionIsListed) {
  ProbeLog log;
  RasRecordService service(Logged(log));
  DialEventWindow window(service.DialEventMessage());
  EXPECT_EQ(service.DialEventMessage(), RegisterWindowMessageA("RasDialEvent"));

  const RasHandle handle = DialCrv(service, window);
  EXPECT_EQ(log.entryDialParams, (Probes{{1060 + kWide, 623}}));
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8192); }));
  EXPECT_EQ(window.events, (Probes{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {14, 0}, {8192, 0}}));

  std::vector<ActiveConnection> list;
  ASSERT_EQ(service.EnumActiveConnections(list), 1);
  EXPECT_EQ(log.enumConnections, (Probes{{692 + kWide, 603}, {692 + kWide, 0}}));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Handle, handle);
  EXPECT_EQ(list[0].EntryName, "Crv");
  EXPECT_EQ(list[0].DeviceType, "modem");
  EXPECT_EQ(list[0].DeviceName, "Modem A");
  EXPECT_EQ(list[0].Phonebook, phonebookPath_);

  ConnectStatus status;
  EXPECT_EQ(service.QueryConnectStatus(handle, status), 0);
  EXPECT_EQ(log.connectStatus, (Probes{{288, 0}}));
  EXPECT_EQ(status.State, 8192u);
  EXPECT_EQ(status.Error, 0u);
  EXPECT_EQ(status.DeviceName, "Modem A");
  EXPECT_EQ(status.PhoneNumber, "0191 555 0100");
}

TEST_F(DialAdapterTest, HungUpHandleAnswersSixAndFillsNothing) {
  RasDialUpService service;
  DialEventWindow window(service.DialEventMessage());
  const RasHandle handle = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8192); }));

  EXPECT_EQ(service.HangUp(handle), 0);
  std::vector<ActiveConnection> list;
  EXPECT_EQ(service.EnumActiveConnections(list), 0);  // gone from the list at once
  ASSERT_TRUE(WaitForGone(service, handle));          // the handle turns invalid a moment later

  ConnectStatus status;
  status.State = 12345;
  status.DeviceName = "untouched";
  EXPECT_EQ(service.QueryConnectStatus(handle, status), kRasInvalidHandle);
  EXPECT_EQ(status.State, 12345u);
  EXPECT_EQ(status.DeviceName, "untouched");
  EXPECT_EQ(service.HangUp(handle), kRasInvalidHandle);
  ConnectionStatistics statistics;
  EXPECT_EQ(service.GetConnectionStatistics(handle, statistics), kRasInvalidHandle);
}

TEST_F(DialAdapterTest, ErrorTextsOfTheServiceAndOfTheSystem) {
  RasDialUpService service;
  EXPECT_EQ(service.DialErrorText(676), "The phone line is busy.");
  EXPECT_EQ(service.DialErrorText(691), "Access was denied because the user name or password is not valid on the domain.");
  const std::string accessDenied = service.DialErrorText(5);
  ASSERT_GE(accessDenied.size(), 2u);
  EXPECT_NE(accessDenied.find("ccess"), std::string::npos) << accessDenied;
  EXPECT_EQ(accessDenied.back(), '\n') << "the system's text keeps its line break";
  EXPECT_EQ(service.DialErrorText(999), "");
}

TEST_F(DialAdapterTest, FailingDialsReportTheirErrorInTheStateTheyFailIn) {
  WriteScenario("dial busy\ndial no-dial-tone\ndial no-answer\ndial refused\ndial hardware\ndial device-busy\n");
  struct Case {
    uint32_t state, error;
  };
  RasDialUpService service;
  for (const Case& c : {Case{2, 676}, Case{2, 680}, Case{2, 678}, Case{5, 691}, Case{2, 692}, Case{0, 797}}) {
    SCOPED_TRACE(c.error);
    DialEventWindow window(service.DialEventMessage());
    const RasHandle handle = DialCrv(service, window);
    ASSERT_TRUE(window.PumpUntil([&] { return !window.events.empty() && window.events.back().second != 0; }));
    EXPECT_EQ(window.events.back(), std::make_pair(c.state, c.error));
    EXPECT_FALSE(window.Saw(8192));

    ConnectStatus status;
    EXPECT_EQ(service.QueryConnectStatus(handle, status), 0);  // until it is hung up
    EXPECT_EQ(status.State, c.state);
    EXPECT_EQ(status.Error, c.error);
    std::vector<ActiveConnection> list;
    EXPECT_EQ(service.EnumActiveConnections(list), 0);
    EXPECT_EQ(service.HangUp(handle), 0);
    ASSERT_TRUE(WaitForGone(service, handle));
  }
}

TEST_F(DialAdapterTest, OnlyTheScenarioLoginsConnect) {
  WriteScenario("login bob hunter2\n");
  RasDialUpService service;
  DialEventWindow refused(service.DialEventMessage());
  const RasHandle first = DialCrv(service, refused, "alice");
  ASSERT_TRUE(refused.PumpUntil([&] { return refused.Saw(5, 691); }));
  service.HangUp(first);
  ASSERT_TRUE(WaitForGone(service, first));

  DialEventWindow accepted(service.DialEventMessage());
  DialParams params;
  params.EntryName = "Crv";
  params.PhoneNumber = "1";
  params.UserName = "bob";
  params.Password = "hunter2";
  ASSERT_TRUE(service.BuildDialParams(params));
  RasHandle second = 0;
  ASSERT_EQ(service.Dial("", reinterpret_cast<RasWindow>(accepted.Handle()), second), 0);
  EXPECT_TRUE(accepted.PumpUntil([&] { return accepted.Saw(8192); }));
  service.HangUp(second);
}

TEST_F(DialAdapterTest, DevicesAsConfigured) {
  RasDialUpService service;
  std::vector<DialDevice> devices;
  ASSERT_EQ(service.EnumDialDevices(devices), 4);
  EXPECT_EQ(devices[0].DeviceType, "isdn");
  EXPECT_EQ(devices[0].DeviceName, "ISDN Adapter");
  EXPECT_EQ(devices[1].DeviceType, "modem");
  EXPECT_EQ(devices[1].DeviceName, "Modem A");
  EXPECT_EQ(devices[2].DeviceType, "vpn");
  EXPECT_EQ(devices[3].DeviceName, "Modem B");
}

TEST_F(DialAdapterTest, StatisticsGrowWhileConnected) {
  WriteScenario("dial connect 33600 rx 5000 tx 1000\n");
  RasDialUpService service;
  DialEventWindow window(service.DialEventMessage());
  const RasHandle handle = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8192); }));
  ConnectionStatistics first, later;
  ASSERT_EQ(service.GetConnectionStatistics(handle, first), 0);
  Sleep(300);
  ASSERT_EQ(service.GetConnectionStatistics(handle, later), 0);
  EXPECT_EQ(later.Bps, 33600u);
  EXPECT_GT(later.BytesReceived, first.BytesReceived);
  EXPECT_GT(later.BytesTransmitted, first.BytesTransmitted);
  EXPECT_GE(later.BytesReceived, 5000u * later.ConnectDuration / 1000 - 5);
  service.HangUp(handle);
}

TEST_F(DialAdapterTest, ALineDroppedFromOutsideReportsDisconnectedAndLeavesTheList) {
  RasDialUpService service;
  DialEventWindow window(service.DialEventMessage());
  const RasHandle handle = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8192); }));

  const std::string dropped = RunRasctl("drop Crv");
  EXPECT_EQ(dropped.rfind("dropped 1", 0), 0u) << dropped;
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8193); }));
  EXPECT_EQ(window.events.back(), std::make_pair(8193u, 0u));

  std::vector<ActiveConnection> list;
  EXPECT_EQ(service.EnumActiveConnections(list), 0);
  ConnectStatus status;
  ASSERT_EQ(service.QueryConnectStatus(handle, status), 0);  // still there until hung up
  EXPECT_EQ(status.State, 8193u);
  EXPECT_EQ(status.Error, 629u);
  EXPECT_EQ(service.HangUp(handle), 0);
  EXPECT_TRUE(WaitForGone(service, handle));
}

TEST_F(DialAdapterTest, ALineThatDropsByItselfAfterItsTime) {
  WriteScenario("dial connect 49333 drop-after 0.2\n");
  RasDialUpService service;
  DialEventWindow window(service.DialEventMessage());
  const RasHandle handle = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8193); }));
  std::vector<ActiveConnection> list;
  EXPECT_EQ(service.EnumActiveConnections(list), 0);
  service.HangUp(handle);
  EXPECT_TRUE(WaitForGone(service, handle));
}

// The stand-in's line log, which the tests of the program compare its
// bookings with: a dropped line counts until its drop, however late it is
// hung up; a line hung up while up counts until the hang-up, once; a dial
// that never connected is no line.
TEST_F(DialAdapterTest, TheLineLogHoldsTheTimeEachLineWasUp) {
  WriteScenario("dial connect 49333 drop-after 0.2\ndial connect 49333\ndial busy\n");
  RasDialUpService service;
  DialEventWindow window(service.DialEventMessage());

  const RasHandle dropped = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8193); }));
  Sleep(300);  // hung up well after the drop
  EXPECT_EQ(service.HangUp(dropped), 0);
  ASSERT_TRUE(WaitForGone(service, dropped));

  window.events.clear();
  const ULONGLONG dialled = GetTickCount64();
  const RasHandle hungUp = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8192); }));
  const ULONGLONG connected = GetTickCount64();
  window.PumpUntil([] { return false; }, 400);
  const ULONGLONG hangUp = GetTickCount64();
  EXPECT_EQ(service.HangUp(hungUp), 0);
  EXPECT_EQ(service.HangUp(hungUp), 0);  // still being hung up: no second line
  ASSERT_TRUE(WaitForGone(service, hungUp));

  window.events.clear();
  const RasHandle busy = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(2, 676); }));
  EXPECT_EQ(service.HangUp(busy), 0);

  const std::vector<double> lines = LineSeconds();
  ASSERT_EQ(lines.size(), 2u) << Control("lines");
  EXPECT_DOUBLE_EQ(lines[0], 0.2);
  // Between the time the test saw the line up and the time since its dial,
  // give or take the tick counter's step.
  EXPECT_GE(lines[1], static_cast<double>(hangUp - connected) / 1000.0 - 0.02);
  EXPECT_LE(lines[1], static_cast<double>(hangUp - dialled) / 1000.0 + 0.02);
}

TEST_F(DialAdapterTest, ConnectionsAreSharedBetweenProcesses) {
  // Ours, seen from another process.
  RasDialUpService service;
  DialEventWindow window(service.DialEventMessage());
  const RasHandle ours = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8192); }));
  const std::string listed = RunRasctl("list");
  EXPECT_NE(listed.find("\tCrv\tconnected\t"), std::string::npos) << listed;
  service.HangUp(ours);
  ASSERT_TRUE(WaitForGone(service, ours));

  // Another process's, listed and hung up from here; that process sees its
  // line go down and ends.
  PhonebookEntryRecord provider;
  provider.DeviceType = "isdn";
  provider.DeviceName = "ISDN Adapter";
  provider.LocalPhoneNumber = "0800 1";
  provider.FramingProtocol = 1;
  ASSERT_EQ(WritePhonebookEntry(service, "Provider", provider, ""), 0);
  std::string dialled;
  const UniqueKernelHandle thread(CreateThread(
      nullptr, 0,
      [](void* output) WINAPI -> DWORD {
        *static_cast<std::string*>(output) = RunRasctl("dial Provider \"\" user pass");
        return 0;
      },
      &dialled, 0, nullptr));
  std::vector<ActiveConnection> list;
  auto providerUp = [&] {
    ConnectStatus status;
    return service.EnumActiveConnections(list) == 1 && service.QueryConnectStatus(list[0].Handle, status) == 0 &&
           status.State == 8192;
  };
  WaitUntil(providerUp);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].EntryName, "Provider");
  EXPECT_EQ(list[0].DeviceType, "isdn");
  EXPECT_EQ(service.HangUp(list[0].Handle), 0);
  EXPECT_EQ(WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
  EXPECT_NE(dialled.find("connected"), std::string::npos) << dialled;
  EXPECT_NE(dialled.find("line down"), std::string::npos) << dialled;
}

TEST_F(DialAdapterTest, MissingEntryOrBusyDeviceAsTheServiceAnswersThem) {
  RasDialUpService service;
  DialEventWindow window(service.DialEventMessage());
  DialParams params;
  params.EntryName = "Crv";
  params.PhoneNumber = "1";
  ASSERT_TRUE(service.BuildDialParams(params));
  RasHandle handle = 7;
  EXPECT_EQ(service.Dial("", reinterpret_cast<RasWindow>(window.Handle()), handle), kRasEntryNotFound);
  EXPECT_EQ(handle, 0u);  // refused at once: nothing to hang up

  // The modem of a connection is busy for a second dial until released.
  const RasHandle first = DialCrv(service, window);
  ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8192); }));
  DialEventWindow second(service.DialEventMessage());
  RasHandle other = 0;
  ASSERT_EQ(service.Dial("", reinterpret_cast<RasWindow>(second.Handle()), other), 0);
  ASSERT_TRUE(second.PumpUntil([&] { return second.Saw(0, 797); }));
  service.HangUp(other);
  service.HangUp(first);
}

TEST_F(DialAdapterTest, EntryNameCheckAndEntryRecordSize) {
  RasDialUpService service;
  EXPECT_EQ(service.ValidateEntryName("", "Crv"), 0);
  CreatePhonebookEntry(service, true);
  EXPECT_EQ(service.ValidateEntryName("", "Crv"), kEntryAlreadyExists);
  EXPECT_EQ(service.ValidateEntryName("", "crv"), kEntryAlreadyExists);  // names ignore letter case
  EXPECT_NE(service.ValidateEntryName("", ""), 0);
  uint32_t size = 0;
  EXPECT_EQ(service.QueryEntryRecordSize(size), kRasBufferTooSmall);
  EXPECT_EQ(size, 3480u);  // the newest entry record, as the current headers define it
}

// A service that knows only older record versions makes the adapter fall
// back to them, and the fields still come from the right places.
TEST_F(DialAdapterTest, OlderServiceVersionsAreProbedDownTo) {
  struct Case {
    const char* level;
    uint32_t conn, status, dial, entry;
    bool hasDevice, hasPhonebook, hasPhoneNumber;
  };
  const Case cases[] = {
      {"401", 676 + kWide, 288, 1060 + kWide, 1796, true, true, true},
      {"400", 412 + kWide, 160, 1052, 1768, true, false, false},
      {"300", 32 + kWide, 64, 816, 1768, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    WriteScenario(std::string("service-level ") + c.level + "\n");
    DeleteFileA(phonebookPath_.c_str());
    ProbeLog log;
    RasRecordService service(Logged(log));
    uint32_t size = 0;
    EXPECT_EQ(service.QueryEntryRecordSize(size), kRasBufferTooSmall);
    EXPECT_EQ(size, c.entry);

    DialEventWindow window(service.DialEventMessage());
    const RasHandle handle = DialCrv(service, window);
    EXPECT_EQ(log.entryDialParams.back(), std::make_pair(c.dial, 623u));
    ASSERT_TRUE(window.PumpUntil([&] { return window.Saw(8192); }));
    // The entry was written in the size the service reported.
    EXPECT_NE(ReadWholeFile(phonebookPath_).find("DeviceName=Modem A"), std::string::npos);

    std::vector<ActiveConnection> list;
    log.enumConnections.clear();
    ASSERT_EQ(service.EnumActiveConnections(list), 1);
    EXPECT_EQ(log.enumConnections.back(), std::make_pair(c.conn, 0u));
    EXPECT_EQ(log.enumConnections[log.enumConnections.size() - 2], std::make_pair(c.conn, 603u));
    EXPECT_EQ(log.enumConnections.front().second, 632u);
    EXPECT_EQ(list[0].Handle, handle);
    EXPECT_EQ(list[0].EntryName, "Crv");
    EXPECT_EQ(list[0].DeviceName, c.hasDevice ? "Modem A" : "");
    EXPECT_EQ(list[0].Phonebook, c.hasPhonebook ? phonebookPath_ : "");

    ConnectStatus status;
    log.connectStatus.clear();
    ASSERT_EQ(service.QueryConnectStatus(handle, status), 0);
    EXPECT_EQ(log.connectStatus.back(), std::make_pair(c.status, 0u));
    EXPECT_EQ(status.State, 8192u);
    EXPECT_EQ(status.DeviceType, "modem");
    EXPECT_EQ(status.DeviceName, "Modem A");
    EXPECT_EQ(status.PhoneNumber, c.hasPhoneNumber ? "0191 555 0100" : "");

    EXPECT_EQ(service.HangUp(handle), 0);
    ASSERT_TRUE(WaitForGone(service, handle));
  }
}

}  // namespace
}  // namespace corvane::testing
