// A dial-up service fake for tests of the program's logic: answers are set
// by the test, calls are recorded. The byte-level adapter has tests of its own.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dial/dialup_service.h"

namespace corvane::testing {

// A line as the service lists it: its handle and entry name.
inline ActiveConnection ListedLine(RasHandle handle, std::string entryName = "Crv") {
  ActiveConnection line;
  line.Handle = handle;
  line.EntryName = std::move(entryName);
  return line;
}

class FakeDialUpService : public DialUpService {
 public:
  uint32_t DialEventMessage() override { return dialEventMessage; }
  int EnumActiveConnections(std::vector<ActiveConnection>& list) override {
    list = listFails ? std::vector<ActiveConnection>{} : connections;
    return listFails ? kConnectionsUnknown : static_cast<int>(connections.size());
  }
  int32_t QueryConnectStatus(RasHandle handle, ConnectStatus& status) override {
    statusQueries.push_back(handle);
    if (statusAnswer == kRasSuccess) status = this->status;
    return statusAnswer;
  }
  int EnumDialDevices(std::vector<DialDevice>& list) override {
    list = devices;
    return static_cast<int>(devices.size());
  }
  std::string DialErrorText(int32_t code) override { return "error " + std::to_string(code); }
  bool BuildDialParams(const DialParams& params) override {
    dialParams.push_back(params);
    return true;
  }
  int32_t Dial(const std::string& phonebook, RasWindow window, RasHandle& handle) override {
    dials.emplace_back(phonebook, window);
    handle = nextHandle;
    hungUp.erase(handle);
    return dialAnswer;
  }
  // As the real service and the stand-in do, a line hung up has no
  // statistics any more: a reading taken after the hang-up fails.
  int32_t HangUp(RasHandle handle) override {
    hangUps.push_back(handle);
    hungUp.insert(handle);
    return hangUpAnswer;
  }
  int32_t GetConnectionStatistics(RasHandle handle, ConnectionStatistics& statistics) override {
    statisticsQueries.push_back(handle);
    if (hungUp.count(handle) != 0) return kRasInvalidHandle;
    if (statisticsAnswer == kRasSuccess) statistics = this->statistics;
    return statisticsAnswer;
  }
  int32_t ValidateEntryName(const std::string& phonebook, const std::string& entryName) override {
    validated.emplace_back(phonebook, entryName);
    return validateAnswer;
  }
  int32_t QueryEntryRecordSize(uint32_t& size) override {
    size = entryRecordSize;
    return kRasBufferTooSmall;
  }
  int32_t GetEntryDeviceName(const std::string&, const std::string&, std::string& deviceName) override {
    if (entryDeviceAnswer == kRasSuccess) deviceName = entryDevice;
    return entryDeviceAnswer;
  }
  int32_t SetEntryProperties(const std::string& phonebook, const std::string& entryName,
                             const PhonebookEntryRecord& record, uint32_t) override {
    written.push_back({phonebook, entryName, record});
    return kRasSuccess;
  }

  struct Written {
    std::string phonebook, entryName;
    PhonebookEntryRecord record;
  };

  uint32_t dialEventMessage = 0xC0FE;
  std::vector<ActiveConnection> connections;
  bool listFails = false;  // the service cannot list its connections
  ConnectStatus status;
  int32_t statusAnswer = kRasInvalidHandle;
  std::vector<DialDevice> devices;
  ConnectionStatistics statistics;
  int32_t statisticsAnswer = kRasSuccess;
  int32_t dialAnswer = kRasSuccess;
  RasHandle nextHandle = 0x5150;
  int32_t hangUpAnswer = kRasSuccess;
  int32_t validateAnswer = kEntryAlreadyExists;
  uint32_t entryRecordSize = 2088;
  // The device the existing "Crv" names, and the answer to reading it.
  std::string entryDevice = "Modem A";
  int32_t entryDeviceAnswer = kRasSuccess;

  std::vector<RasHandle> statusQueries;
  std::vector<RasHandle> statisticsQueries;
  std::vector<DialParams> dialParams;
  std::vector<std::pair<std::string, RasWindow>> dials;
  std::vector<RasHandle> hangUps;
  std::set<RasHandle> hungUp;  // handles hung up since they were last dialled
  std::vector<std::pair<std::string, std::string>> validated;
  std::vector<Written> written;
};

}  // namespace corvane::testing
