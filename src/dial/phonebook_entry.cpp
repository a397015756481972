// CreatePhonebookEntry and WritePhonebookEntry.
#include "dial/phonebook_entry.h"

#include <vector>

namespace corvane {

namespace {

constexpr uint32_t kRemoteDefaultGateway = 0x10;
constexpr uint32_t kSoftwareCompression = 0x200;
constexpr uint32_t kNetBeui = 0x1, kIpx = 0x2, kIp = 0x4;
constexpr uint32_t kFramingPpp = 1;

}  // namespace

std::string ChooseEntryModem(const std::vector<DialDevice>& devices, bool isWinNT) {
  std::vector<const std::string*> modems;
  for (const DialDevice& device : devices) {
    if (device.DeviceType == "modem") modems.push_back(&device.DeviceName);
  }
  if (modems.empty()) return std::string();
  return isWinNT ? *modems.front() : *modems.back();
}

void CreatePhonebookEntry(DialUpService& service, bool isWinNT) {
  std::vector<DialDevice> devices;
  service.EnumDialDevices(devices);

  PhonebookEntryRecord record;
  record.Options = kRemoteDefaultGateway | kSoftwareCompression;
  record.CountryId = 0;
  record.CountryCode = 1;
  record.LocalPhoneNumber = "55555555";  // placeholder: the real number comes with each dial
  record.NetProtocols = kNetBeui | kIpx | kIp;
  record.FramingProtocol = kFramingPpp;
  record.DeviceType = "modem";
  record.DeviceName = ChooseEntryModem(devices, isWinNT);
  WritePhonebookEntry(service, kPhonebookEntryName, record, std::string());
}

int32_t WritePhonebookEntry(DialUpService& service, const std::string& entryName,
                            const PhonebookEntryRecord& record, const std::string& phonebook) {
  uint32_t size = 0;
  const int32_t answer = service.QueryEntryRecordSize(size);
  if (answer != kRasBufferTooSmall) return answer;
  return service.SetEntryProperties(phonebook, entryName, record, size);
}

}  // namespace corvane
