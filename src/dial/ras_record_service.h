// The dial-up service port over the service's byte-level entry points: picks
// the record version the running service accepts (newest first, moving on
// only while the answer is 632), lays out and reads the records' fields.
// Knows nothing of Windows; the functions it calls come in a table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dial/dialup_service.h"
#include "dial/ras_layout.h"
#include "dial/ras_raw_functions.h"

namespace corvane {

class RasRecordService : public DialUpService {
 public:
  explicit RasRecordService(RasRawFunctions raw);

  uint32_t DialEventMessage() override;
  int EnumActiveConnections(std::vector<ActiveConnection>& connections) override;
  int32_t QueryConnectStatus(RasHandle handle, ConnectStatus& status) override;
  int EnumDialDevices(std::vector<DialDevice>& devices) override;
  std::string DialErrorText(int32_t code) override;
  bool BuildDialParams(const DialParams& params) override;
  int32_t Dial(const std::string& phonebook, RasWindow window, RasHandle& handle) override;
  int32_t HangUp(RasHandle handle) override;
  int32_t GetConnectionStatistics(RasHandle handle, ConnectionStatistics& statistics) override;
  int32_t ValidateEntryName(const std::string& phonebook, const std::string& entryName) override;
  int32_t QueryEntryRecordSize(uint32_t& size) override;
  int32_t GetEntryDeviceName(const std::string& phonebook, const std::string& entryName,
                             std::string& deviceName) override;
  int32_t SetEntryProperties(const std::string& phonebook, const std::string& entryName,
                             const PhonebookEntryRecord& record, uint32_t size) override;

  // The dial record the next Dial hands over, as BuildDialParams laid it out.
  const std::vector<uint8_t>& DialRecord() const { return dialRecord_; }

 private:
  RasRawFunctions raw_;
  uint32_t dialEventMessage_ = 0;
  // The connection record version the service took last, and how many
  // connections it listed then.
  std::optional<ras::ConnLayout> connLayout_;
  uint32_t lastConnCount_ = 0;
  std::vector<uint8_t> dialRecord_;
  // Where the built record keeps the password, wiped once it is dialled.
  ras::FieldAt dialPassword_{};
};

// Lays `record` out in the service's entry-record form of `size` bytes:
// dwSize = size, every field that ends within `size` at its place. The
// buffer is `size` bytes plus two zero bytes, the empty alternate-numbers
// list behind the record.
std::vector<uint8_t> LayOutEntryRecord(const PhonebookEntryRecord& record, uint32_t size);

}  // namespace corvane
