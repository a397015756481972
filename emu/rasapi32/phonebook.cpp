// Reading and writing the phonebook file.
#include "phonebook.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace standin {

namespace {

enum class Kind { Number, Text, Address, Guid };

struct Field {
  const char* key;
  size_t offset;
  size_t size;
  Kind kind;
};

#define STANDIN_FIELD(key, member, kind) {key, offsetof(RasEntry, member), sizeof(RasEntry::member), kind}
const Field kFields[] = {
    STANDIN_FIELD("Options", dwfOptions, Kind::Number),
    STANDIN_FIELD("CountryID", dwCountryID, Kind::Number),
    STANDIN_FIELD("CountryCode", dwCountryCode, Kind::Number),
    STANDIN_FIELD("AreaCode", szAreaCode, Kind::Text),
    STANDIN_FIELD("PhoneNumber", szLocalPhoneNumber, Kind::Text),
    STANDIN_FIELD("AlternateOffset", dwAlternateOffset, Kind::Number),
    STANDIN_FIELD("IpAddress", ipaddr, Kind::Address),
    STANDIN_FIELD("IpDnsAddress", ipaddrDns, Kind::Address),
    STANDIN_FIELD("IpDns2Address", ipaddrDnsAlt, Kind::Address),
    STANDIN_FIELD("IpWinsAddress", ipaddrWins, Kind::Address),
    STANDIN_FIELD("IpWins2Address", ipaddrWinsAlt, Kind::Address),
    STANDIN_FIELD("FrameSize", dwFrameSize, Kind::Number),
    STANDIN_FIELD("NetProtocols", dwfNetProtocols, Kind::Number),
    STANDIN_FIELD("FramingProtocol", dwFramingProtocol, Kind::Number),
    STANDIN_FIELD("Script", szScript, Kind::Text),
    STANDIN_FIELD("AutodialDll", szAutodialDll, Kind::Text),
    STANDIN_FIELD("AutodialFunc", szAutodialFunc, Kind::Text),
    STANDIN_FIELD("DeviceType", szDeviceType, Kind::Text),
    STANDIN_FIELD("DeviceName", szDeviceName, Kind::Text),
    STANDIN_FIELD("X25PadType", szX25PadType, Kind::Text),
    STANDIN_FIELD("X25Address", szX25Address, Kind::Text),
    STANDIN_FIELD("X25Facilities", szX25Facilities, Kind::Text),
    STANDIN_FIELD("X25UserData", szX25UserData, Kind::Text),
    STANDIN_FIELD("Channels", dwChannels, Kind::Number),
    STANDIN_FIELD("SubEntries", dwSubEntries, Kind::Number),
    STANDIN_FIELD("DialMode", dwDialMode, Kind::Number),
    STANDIN_FIELD("DialExtraPercent", dwDialExtraPercent, Kind::Number),
    STANDIN_FIELD("DialExtraSampleSeconds", dwDialExtraSampleSeconds, Kind::Number),
    STANDIN_FIELD("HangUpExtraPercent", dwHangUpExtraPercent, Kind::Number),
    STANDIN_FIELD("HangUpExtraSampleSeconds", dwHangUpExtraSampleSeconds, Kind::Number),
    STANDIN_FIELD("IdleDisconnectSeconds", dwIdleDisconnectSeconds, Kind::Number),
    STANDIN_FIELD("Type", dwType, Kind::Number),
    STANDIN_FIELD("EncryptionType", dwEncryptionType, Kind::Number),
    STANDIN_FIELD("CustomAuthKey", dwCustomAuthKey, Kind::Number),
    STANDIN_FIELD("Guid", guidId, Kind::Guid),
    STANDIN_FIELD("CustomDialDll", szCustomDialDll, Kind::Text),
    STANDIN_FIELD("VpnStrategy", dwVpnStrategy, Kind::Number),
    STANDIN_FIELD("Options2", dwfOptions2, Kind::Number),
    STANDIN_FIELD("Options3", dwfOptions3, Kind::Number),
    STANDIN_FIELD("DnsSuffix", szDnsSuffix, Kind::Text),
    STANDIN_FIELD("TcpWindowSize", dwTcpWindowSize, Kind::Number),
    STANDIN_FIELD("PrerequisitePbk", szPrerequisitePbk, Kind::Text),
    STANDIN_FIELD("PrerequisiteEntry", szPrerequisiteEntry, Kind::Text),
    STANDIN_FIELD("RedialAttempts", dwRedialCount, Kind::Number),
    STANDIN_FIELD("RedialSeconds", dwRedialPause, Kind::Number),
};
#undef STANDIN_FIELD

std::string FieldValue(const RasEntry& record, const Field& field) {
  const auto* at = reinterpret_cast<const unsigned char*>(&record) + field.offset;
  char text[64];
  switch (field.kind) {
    case Kind::Number: {
      DWORD value;
      std::memcpy(&value, at, 4);
      return std::to_string(value);
    }
    case Kind::Text: {
      std::string value(reinterpret_cast<const char*>(at), strnlen(reinterpret_cast<const char*>(at), field.size));
      for (char& c : value) {
        if (c == '\r' || c == '\n') c = ' ';  // a line per field
      }
      return value;
    }
    case Kind::Address:
      std::snprintf(text, sizeof text, "%u.%u.%u.%u", at[0], at[1], at[2], at[3]);
      return text;
    case Kind::Guid: {
      std::string value;
      for (size_t i = 0; i < 16; ++i) {
        std::snprintf(text, sizeof text, "%02X", at[i]);
        value += text;
      }
      return value;
    }
  }
  return std::string();
}

void SetField(RasEntry& record, const Field& field, const std::string& value) {
  auto* at = reinterpret_cast<unsigned char*>(&record) + field.offset;
  switch (field.kind) {
    case Kind::Number: {
      const DWORD number = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
      std::memcpy(at, &number, 4);
      break;
    }
    case Kind::Text:
      std::memset(at, 0, field.size);
      std::memcpy(at, value.data(), value.size() < field.size ? value.size() : field.size - 1);
      break;
    case Kind::Address: {
      unsigned a = 0, b = 0, c = 0, d = 0;
      if (std::sscanf(value.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) == 4) {
        at[0] = static_cast<unsigned char>(a);
        at[1] = static_cast<unsigned char>(b);
        at[2] = static_cast<unsigned char>(c);
        at[3] = static_cast<unsigned char>(d);
      }
      break;
    }
    case Kind::Guid:
      for (size_t i = 0; i < 16 && 2 * i + 1 < value.size(); ++i) {
        at[i] = static_cast<unsigned char>(std::strtoul(value.substr(2 * i, 2).c_str(), nullptr, 16));
      }
      break;
  }
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                                b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::vector<PhonebookEntry> LoadPhonebook(const std::string& path) {
  std::vector<PhonebookEntry> entries;
  std::ifstream file(path, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      entries.push_back({line.substr(1, line.size() - 2), RasEntry{}});
      continue;
    }
    const size_t equals = line.find('=');
    if (entries.empty() || equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    for (const Field& field : kFields) {
      if (SameName(key, field.key)) SetField(entries.back().record, field, line.substr(equals + 1));
    }
  }
  return entries;
}

const PhonebookEntry* FindEntry(const std::vector<PhonebookEntry>& entries, const std::string& name) {
  for (const PhonebookEntry& entry : entries) {
    if (SameName(entry.name, name)) return &entry;
  }
  return nullptr;
}

bool SavePhonebook(const std::string& path, const std::vector<PhonebookEntry>& entries) {
  std::ostringstream text;
  for (const PhonebookEntry& entry : entries) {
    text << '[' << entry.name << "]\r\n";
    for (const Field& field : kFields) text << field.key << '=' << FieldValue(entry.record, field) << "\r\n";
    text << "\r\n";
  }
  // Written beside the file and moved over it, so a reader never sees half.
  const std::string temporary = path + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file << text.str();
    if (!file.flush()) return false;
  }
  return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace standin
