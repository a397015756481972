// The program's phonebook entry "Crv": which modem it gets, what it holds,
// and how the store asks the service for its record size first.
#include <gtest/gtest.h>

#include "dial/phonebook_entry.h"
#include "fakes/fake_dialup_service.h"

namespace corvane {
namespace {

using testing::FakeDialUpService;

TEST(PhonebookEntryTest, ModemChoice) {
  const DialDevice modemA{"modem", "Modem A"};
  const DialDevice modemB{"modem", "Modem B"};
  const DialDevice isdn{"isdn", "ISDN Adapter"};
  const DialDevice vpn{"vpn", "WAN Miniport (PPTP)"};
  const DialDevice capitalised{"Modem", "Modem C"};
  struct Case {
    const char* name;
    std::vector<DialDevice> devices;
    bool isWinNT;
    std::string chosen;
  };
  const Case cases[] = {
      {"two modems, NT family: the first", {modemA, modemB}, true, "Modem A"},
      {"two modems, 95 family: the last", {modemA, modemB}, false, "Modem B"},
      {"one modem", {modemA}, false, "Modem A"},
      {"other devices are never chosen", {isdn, modemA, vpn}, false, "Modem A"},
      {"others around two modems, NT", {vpn, modemA, isdn, modemB, vpn}, true, "Modem A"},
      {"others around two modems, 95", {vpn, modemA, isdn, modemB, vpn}, false, "Modem B"},
      {"no modem", {isdn, vpn}, true, ""},
      {"the type must be exactly \"modem\"", {capitalised}, true, ""},
      {"no devices at all", {}, false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseEntryModem(c.devices, c.isWinNT), c.chosen) << c.name;
  }
}

TEST(PhonebookEntryTest, CreateWritesCrvWithTheChosenModem) {
  FakeDialUpService service;
  service.devices = {{"isdn", "ISDN Adapter"}, {"modem", "Modem A"}, {"modem", "Modem B"}};
  CreatePhonebookEntry(service, true);
  ASSERT_EQ(service.written.size(), 1u);
  const auto& written = service.written[0];
  EXPECT_EQ(written.entryName, "Crv");
  EXPECT_EQ(written.phonebook, "");
  const PhonebookEntryRecord& r = written.record;
  EXPECT_EQ(r.Options, 528u);
  EXPECT_EQ(r.CountryId, 0u);
  EXPECT_EQ(r.CountryCode, 1u);
  EXPECT_EQ(r.AreaCode, "");
  EXPECT_EQ(r.LocalPhoneNumber, "55555555");
  EXPECT_EQ(r.NetProtocols, 7u);
  EXPECT_EQ(r.FramingProtocol, 1u);
  EXPECT_EQ(r.DeviceType, "modem");
  EXPECT_EQ(r.DeviceName, "Modem A");
  EXPECT_EQ(r.Type, 0u);
  EXPECT_EQ(r.AlternateOffset, 0u);
}

TEST(PhonebookEntryTest, CreateWithoutModemStillWritesTheEntry) {
  FakeDialUpService service;
  service.devices = {{"vpn", "WAN Miniport (PPTP)"}};
  CreatePhonebookEntry(service, false);
  ASSERT_EQ(service.written.size(), 1u);
  EXPECT_EQ(service.written[0].record.DeviceName, "");
  EXPECT_EQ(service.written[0].record.DeviceType, "modem");
}

// At start-up "Crv" is written when missing, and written afresh when it
// names a device the service no longer lists and a modem can take its
// place; otherwise it stays as it is.
TEST(PhonebookEntryTest, StartUpRepairsAnEntryWhoseDeviceIsGone) {
  const std::vector<DialDevice> replaced = {{"isdn", "ISDN Adapter"}, {"modem", "Modem C"}, {"modem", "Modem D"}};
  struct Case {
    const char* label;
    int32_t exists;
    std::string device;
    int32_t readAnswer;
    std::vector<DialDevice> devices;
    std::vector<std::string> written;  // device names written, in order
  };
  const std::vector<Case> cases = {
      {"missing: created with the first modem", 0, "", kRasSuccess, replaced, {"Modem C"}},
      {"device still listed: left alone", kEntryAlreadyExists, "Modem D", kRasSuccess, replaced, {}},
      {"device listed in other letters: left alone", kEntryAlreadyExists, "MODEM d", kRasSuccess, replaced, {}},
      {"modem replaced: written afresh with the first modem", kEntryAlreadyExists, "Modem A", kRasSuccess, replaced,
       {"Modem C"}},
      {"entry without a device, a modem now there", kEntryAlreadyExists, "", kRasSuccess, replaced, {"Modem C"}},
      {"device gone and no modem to name instead: left alone", kEntryAlreadyExists, "Modem A", kRasSuccess,
       {{"vpn", "WAN Miniport (PPTP)"}}, {}},
      {"entry that cannot be read: left alone", kEntryAlreadyExists, "Modem A", 623, replaced, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FakeDialUpService service;
    service.validateAnswer = c.exists;
    service.entryDevice = c.device;
    service.entryDeviceAnswer = c.readAnswer;
    service.devices = c.devices;
    EXPECT_EQ(PreparePhonebookEntry(service, true), c.exists);
    std::vector<std::string> written;
    for (const auto& w : service.written) {
      EXPECT_EQ(w.entryName, "Crv");
      EXPECT_EQ(w.record.LocalPhoneNumber, "55555555");
      written.push_back(w.record.DeviceName);
    }
    EXPECT_EQ(written, c.written);
  }
}

// A service whose size query answers as told.
class SizeQueryService : public FakeDialUpService {
 public:
  int32_t QueryEntryRecordSize(uint32_t& size) override {
    size = entryRecordSize;
    return sizeAnswer;
  }
  int32_t SetEntryProperties(const std::string& phonebook, const std::string& entryName,
                             const PhonebookEntryRecord& record, uint32_t size) override {
    storedSizes.push_back(size);
    FakeDialUpService::SetEntryProperties(phonebook, entryName, record, size);
    return storeAnswer;
  }
  int32_t sizeAnswer = kRasBufferTooSmall;
  int32_t storeAnswer = kRasSuccess;
  std::vector<uint32_t> storedSizes;
};

TEST(PhonebookEntryTest, WriteStoresInTheReportedSizeOrReturnsTheSizeQueryFailure) {
  struct Case {
    int32_t sizeAnswer;
    int32_t storeAnswer;
    int32_t result;
    bool stored;
  };
  for (const Case& c : {Case{603, 0, 0, true}, Case{603, 632, 632, true}, Case{0, 0, 0, false},
                        Case{623, 0, 623, false}, Case{632, 0, 632, false}}) {
    SizeQueryService service;
    service.sizeAnswer = c.sizeAnswer;
    service.storeAnswer = c.storeAnswer;
    service.entryRecordSize = 1768;
    PhonebookEntryRecord record;
    record.DeviceName = "Modem A";
    EXPECT_EQ(WritePhonebookEntry(service, "Crv", record, "C:\\my.pbk"), c.result) << c.sizeAnswer;
    ASSERT_EQ(service.written.size(), c.stored ? 1u : 0u);
    if (c.stored) {
      EXPECT_EQ(service.storedSizes[0], 1768u);
      EXPECT_EQ(service.written[0].phonebook, "C:\\my.pbk");
      EXPECT_EQ(service.written[0].record.DeviceName, "Modem A");
    }
  }
}

}  // namespace
}  // namespace corvane
