// CreatePhonebookEntry, PreparePhonebookEntry and WritePhonebookEntry.
#include "dial/phonebook_entry.h"

#include <vector>

#include "settings/entry_name.h"

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

namespace {

void WriteProgramEntry(DialUpService& service, const std::string& modem) {
  PhonebookEntryRecord record;
  record.Options = kRemoteDefaultGateway | kSoftwareCompression;
  record.CountryId = 0;
  record.CountryCode = 1;
  record.LocalPhoneNumber = "55555555";  // placeholder: the real number comes with each dial
  record.NetProtocols = kNetBeui | kIpx | kIp;
  record.FramingProtocol = kFramingPpp;
  record.DeviceType = "modem";
  record.DeviceName = modem;
  WritePhonebookEntry(service, kPhonebookEntryName, record, std::string());
}

}  // namespace

void CreatePhonebookEntry(DialUpService& service, bool isWinNT) {
  std::vector<DialDevice> devices;
  service.EnumDialDevices(devices);
  WriteProgramEntry(service, ChooseEntryModem(devices, isWinNT));
}

// A modem replaced, or unplugged and another plugged in, leaves the entry
// naming a device that is gone: every dial would fail with 797 for good.
int32_t PreparePhonebookEntry(DialUpService& service, bool isWinNT) {
  const int32_t exists = service.ValidateEntryName("", "crv");
  if (exists != kEntryAlreadyExists) {
    CreatePhonebookEntry(service, isWinNT);
    return exists;
  }
  std::string device;
  if (service.GetEntryDeviceName("", kPhonebookEntryName, device) != kRasSuccess) return exists;
  std::vector<DialDevice> devices;
  service.EnumDialDevices(devices);
  for (const DialDevice& listed : devices) {
    // The service matches device names without regard to case.
    if (EqualsIgnoringCase(listed.DeviceName, device)) return exists;
  }
  // With no modem to name instead, the entry is kept for its own to come back.
  const std::string modem = ChooseEntryModem(devices, isWinNT);
  if (!modem.empty()) WriteProgramEntry(service, modem);
  return exists;
}

int32_t WritePhonebookEntry(DialUpService& service, const std::string& entryName,
                            const PhonebookEntryRecord& record, const std::string& phonebook) {
  uint32_t size = 0;
  const int32_t answer = service.QueryEntryRecordSize(size);
  if (answer != kRasBufferTooSmall) return answer;
  return service.SetEntryProperties(phonebook, entryName, record, size);
}

}  // namespace corvane
