// Fuzzes the reading of the dial-up service's byte records: a service whose
// every answer (result code, counts, byte counts, the record bytes) comes
// from the input probes the record sizes and fills the records. Like every
// real service it writes no further than the buffer the program says it
// has; what it reports is not bounded.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "dial/ras_record_service.h"
#include "fuzz_check.h"

namespace {

using corvane::fuzz::Check;

uint32_t Answer(FuzzedDataProvider& input) {
  return input.PickValueInArray<uint32_t>({0, 6, 603, 610, 623, 632, 87, 5});
}

// Writes input bytes into the first `size` bytes of `buffer`.
void Fill(FuzzedDataProvider& input, uint8_t* buffer, size_t size) {
  const std::vector<uint8_t> bytes = input.ConsumeBytes<uint8_t>(size);
  std::copy(bytes.begin(), bytes.end(), buffer);
}

uint32_t DeclaredSize(const uint8_t* record) {
  uint32_t size = 0;
  std::memcpy(&size, record, 4);
  return size;
}

corvane::RasRawFunctions ScriptedService(FuzzedDataProvider& input) {
  corvane::RasRawFunctions raw;
  raw.pointerSize = input.ConsumeBool() ? 8 : 4;
  raw.EnumConnections = [&input](uint8_t* records, uint32_t& byteCount, uint32_t& count) {
    if (records != nullptr) Fill(input, records, byteCount);
    byteCount = input.ConsumeIntegral<uint32_t>();
    count = input.ConsumeIntegral<uint32_t>();
    return Answer(input);
  };
  raw.GetConnectStatus = [&input](corvane::RasHandle, uint8_t* record) {
    Fill(input, record, DeclaredSize(record));
    return Answer(input);
  };
  raw.EnumDevices = [&input](uint8_t* records, uint32_t& byteCount, uint32_t& count) {
    if (records != nullptr) Fill(input, records, byteCount);
    byteCount = input.ConsumeIntegral<uint32_t>();
    count = input.ConsumeIntegral<uint32_t>();
    return Answer(input);
  };
  raw.GetErrorString = [&input](uint32_t, char* buffer, uint32_t size) {
    Fill(input, reinterpret_cast<uint8_t*>(buffer), size);
    return Answer(input);
  };
  raw.FormatSystemMessage = [&input](uint32_t, char* buffer, uint32_t size) {
    Fill(input, reinterpret_cast<uint8_t*>(buffer), size);
    return input.ConsumeIntegralInRange<uint32_t>(0, size);
  };
  raw.GetEntryDialParams = [&input](const char*, uint8_t* record, int32_t& passwordSaved) {
    Fill(input, record, DeclaredSize(record));
    passwordSaved = input.ConsumeIntegral<int32_t>();
    return Answer(input);
  };
  raw.Dial = [&input](const char*, uint8_t*, corvane::RasWindow, corvane::RasHandle& handle) {
    handle = input.ConsumeIntegral<corvane::RasHandle>();
    return Answer(input);
  };
  raw.GetConnectionStatistics = [&input](corvane::RasHandle, uint8_t* record) {
    Fill(input, record, DeclaredSize(record));
    return Answer(input);
  };
  return raw;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  corvane::RasRecordService service(ScriptedService(input));

  std::vector<corvane::ActiveConnection> connections;
  const int count = service.EnumActiveConnections(connections);
  Check(connections.size() <= static_cast<size_t>(std::max(count, 0)), "no more connections than counted");

  corvane::ConnectStatus status;
  service.QueryConnectStatus(0x10, status);

  std::vector<corvane::DialDevice> devices;
  const int deviceCount = service.EnumDialDevices(devices);
  Check(devices.size() == static_cast<size_t>(deviceCount), "the device count is the list's length");

  service.DialErrorText(input.ConsumeIntegralInRange<int32_t>(0, 1000));

  corvane::DialParams params;
  params.EntryName = "Crv";
  params.PhoneNumber = input.ConsumeRandomLengthString(200);
  params.UserName = input.ConsumeRandomLengthString(300);
  params.Password = input.ConsumeRandomLengthString(300);
  if (service.BuildDialParams(params)) {
    const std::vector<uint8_t>& record = service.DialRecord();
    Check(DeclaredSize(record.data()) == record.size(), "the dial record is as long as it says");
    corvane::RasHandle handle = 0;
    service.Dial("", 1, handle);
  }

  corvane::ConnectionStatistics statistics;
  service.GetConnectionStatistics(0x10, statistics);
  return 0;
}
