// Rasapi32Functions: the raw table filled from rasapi32, and a compile-time
// check that the portable record layouts agree with the platform's headers.
#include "win32/ras_dialup_service.h"

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <cstddef>

#include "dial/ras_layout.h"

namespace corvane {

namespace {

// The headers describe the newest version of each record; the older
// versions are checked where they are used, against the service itself.
constexpr ras::ConnLayout kConn = ras::ConnLayouts(sizeof(void*))[0];
static_assert(kConn.handle.offset == offsetof(RASCONNA, hrasconn) && kConn.handle.size == sizeof(HRASCONN));
static_assert(kConn.entryName.offset == offsetof(RASCONNA, szEntryName));
static_assert(kConn.deviceType.offset == offsetof(RASCONNA, szDeviceType));
static_assert(kConn.deviceName.offset == offsetof(RASCONNA, szDeviceName));
static_assert(kConn.phonebook.offset == offsetof(RASCONNA, szPhonebook));
static_assert(kConn.subEntry.offset == offsetof(RASCONNA, dwSubEntry));
static_assert(kConn.entryId.offset == offsetof(RASCONNA, guidEntry));
static_assert(kConn.size == offsetof(RASCONNA, dwFlags));

constexpr ras::ConnStatusLayout kStatus = ras::ConnStatusLayouts()[0];
static_assert(kStatus.size == sizeof(RASCONNSTATUSA));
static_assert(kStatus.state.offset == offsetof(RASCONNSTATUSA, rasconnstate));
static_assert(kStatus.error.offset == offsetof(RASCONNSTATUSA, dwError));
static_assert(kStatus.deviceType.offset == offsetof(RASCONNSTATUSA, szDeviceType));
static_assert(kStatus.deviceName.offset == offsetof(RASCONNSTATUSA, szDeviceName));
static_assert(kStatus.phoneNumber.offset == offsetof(RASCONNSTATUSA, szPhoneNumber));

constexpr ras::DialParamsLayout kDial = ras::DialParamsLayouts(sizeof(void*))[0];
static_assert(kDial.entryName.offset == offsetof(RASDIALPARAMSA, szEntryName));
static_assert(kDial.phoneNumber.offset == offsetof(RASDIALPARAMSA, szPhoneNumber));
static_assert(kDial.callbackNumber.offset == offsetof(RASDIALPARAMSA, szCallbackNumber));
static_assert(kDial.userName.offset == offsetof(RASDIALPARAMSA, szUserName));
static_assert(kDial.password.offset == offsetof(RASDIALPARAMSA, szPassword));
static_assert(kDial.domain.offset == offsetof(RASDIALPARAMSA, szDomain));
static_assert(kDial.subEntry.offset == offsetof(RASDIALPARAMSA, dwSubEntry));
static_assert(kDial.callbackId.offset == offsetof(RASDIALPARAMSA, dwCallbackId));
static_assert(kDial.callbackId.size == sizeof(ULONG_PTR));
static_assert(kDial.size == offsetof(RASDIALPARAMSA, dwCallbackId) + sizeof(ULONG_PTR));

static_assert(ras::kDeviceInfoType.offset == offsetof(RASDEVINFOA, szDeviceType));
static_assert(ras::kDeviceInfoNameAt == offsetof(RASDEVINFOA, szDeviceName));
static_assert(sizeof(RASDEVINFOA) <= ras::kDeviceInfoMaxSize);
static_assert(ras::kStatisticsSize == sizeof(RAS_STATS));

#define CORVANE_ENTRY_FIELD(constant, member)                                    \
  static_assert(ras::entry::constant.offset == offsetof(RASENTRYA, member) &&   \
                ras::entry::constant.size == sizeof(static_cast<RASENTRYA*>(nullptr)->member))
CORVANE_ENTRY_FIELD(kOptions, dwfOptions);
CORVANE_ENTRY_FIELD(kCountryId, dwCountryID);
CORVANE_ENTRY_FIELD(kCountryCode, dwCountryCode);
CORVANE_ENTRY_FIELD(kAreaCode, szAreaCode);
CORVANE_ENTRY_FIELD(kLocalPhoneNumber, szLocalPhoneNumber);
CORVANE_ENTRY_FIELD(kAlternateOffset, dwAlternateOffset);
CORVANE_ENTRY_FIELD(kIpAddress, ipaddr);
CORVANE_ENTRY_FIELD(kIpAddressDns, ipaddrDns);
CORVANE_ENTRY_FIELD(kIpAddressDnsAlt, ipaddrDnsAlt);
CORVANE_ENTRY_FIELD(kIpAddressWins, ipaddrWins);
CORVANE_ENTRY_FIELD(kIpAddressWinsAlt, ipaddrWinsAlt);
CORVANE_ENTRY_FIELD(kFrameSize, dwFrameSize);
CORVANE_ENTRY_FIELD(kNetProtocols, dwfNetProtocols);
CORVANE_ENTRY_FIELD(kFramingProtocol, dwFramingProtocol);
CORVANE_ENTRY_FIELD(kScript, szScript);
CORVANE_ENTRY_FIELD(kAutodialDll, szAutodialDll);
CORVANE_ENTRY_FIELD(kAutodialFunc, szAutodialFunc);
CORVANE_ENTRY_FIELD(kDeviceType, szDeviceType);
CORVANE_ENTRY_FIELD(kDeviceName, szDeviceName);
CORVANE_ENTRY_FIELD(kX25PadType, szX25PadType);
CORVANE_ENTRY_FIELD(kX25Address, szX25Address);
CORVANE_ENTRY_FIELD(kX25Facilities, szX25Facilities);
CORVANE_ENTRY_FIELD(kX25UserData, szX25UserData);
CORVANE_ENTRY_FIELD(kChannels, dwChannels);
CORVANE_ENTRY_FIELD(kReserved1, dwReserved1);
CORVANE_ENTRY_FIELD(kReserved2, dwReserved2);
CORVANE_ENTRY_FIELD(kSubEntries, dwSubEntries);
CORVANE_ENTRY_FIELD(kDialMode, dwDialMode);
CORVANE_ENTRY_FIELD(kDialExtraPercent, dwDialExtraPercent);
CORVANE_ENTRY_FIELD(kDialExtraSampleSeconds, dwDialExtraSampleSeconds);
CORVANE_ENTRY_FIELD(kHangUpExtraPercent, dwHangUpExtraPercent);
CORVANE_ENTRY_FIELD(kHangUpExtraSampleSeconds, dwHangUpExtraSampleSeconds);
CORVANE_ENTRY_FIELD(kIdleDisconnectSeconds, dwIdleDisconnectSeconds);
CORVANE_ENTRY_FIELD(kType, dwType);
CORVANE_ENTRY_FIELD(kEncryptionType, dwEncryptionType);
CORVANE_ENTRY_FIELD(kCustomAuthKey, dwCustomAuthKey);
CORVANE_ENTRY_FIELD(kGuidId, guidId);
CORVANE_ENTRY_FIELD(kCustomDialDll, szCustomDialDll);
CORVANE_ENTRY_FIELD(kVpnStrategy, dwVpnStrategy);
CORVANE_ENTRY_FIELD(kOptions2, dwfOptions2);
CORVANE_ENTRY_FIELD(kOptions3, dwfOptions3);
CORVANE_ENTRY_FIELD(kDnsSuffix, szDnsSuffix);
CORVANE_ENTRY_FIELD(kTcpWindowSize, dwTcpWindowSize);
CORVANE_ENTRY_FIELD(kPrerequisitePbk, szPrerequisitePbk);
CORVANE_ENTRY_FIELD(kPrerequisiteEntry, szPrerequisiteEntry);
CORVANE_ENTRY_FIELD(kRedialCount, dwRedialCount);
CORVANE_ENTRY_FIELD(kRedialPause, dwRedialPause);
#undef CORVANE_ENTRY_FIELD
static_assert(ras::entry::kSizeV501 == sizeof(RASENTRYA));

HRASCONN ToHandle(RasHandle handle) { return reinterpret_cast<HRASCONN>(handle); }

}  // namespace

RasRawFunctions Rasapi32Functions() {
  RasRawFunctions raw;
  raw.pointerSize = sizeof(void*);
  raw.EnumConnections = [](uint8_t* records, uint32_t& byteCount, uint32_t& count) -> uint32_t {
    DWORD bytes = byteCount, listed = count;
    const DWORD answer = RasEnumConnectionsA(reinterpret_cast<LPRASCONNA>(records), &bytes, &listed);
    byteCount = bytes;
    count = listed;
    return answer;
  };
  raw.GetConnectStatus = [](RasHandle handle, uint8_t* record) -> uint32_t {
    return RasGetConnectStatusA(ToHandle(handle), reinterpret_cast<LPRASCONNSTATUSA>(record));
  };
  raw.EnumDevices = [](uint8_t* records, uint32_t& byteCount, uint32_t& count) -> uint32_t {
    DWORD bytes = byteCount, listed = count;
    const DWORD answer = RasEnumDevicesA(reinterpret_cast<LPRASDEVINFOA>(records), &bytes, &listed);
    byteCount = bytes;
    count = listed;
    return answer;
  };
  raw.GetErrorString = [](uint32_t code, char* buffer, uint32_t size) -> uint32_t {
    return RasGetErrorStringA(code, buffer, size);
  };
  raw.FormatSystemMessage = [](uint32_t code, char* buffer, uint32_t size) -> uint32_t {
    return FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, buffer, size, nullptr);
  };
  raw.GetEntryDialParams = [](const char* phonebook, uint8_t* record, int32_t& passwordSaved) -> uint32_t {
    BOOL saved = FALSE;
    const DWORD answer = RasGetEntryDialParamsA(phonebook, reinterpret_cast<LPRASDIALPARAMSA>(record), &saved);
    passwordSaved = saved;
    return answer;
  };
  raw.Dial = [](const char* phonebook, uint8_t* record, RasWindow window, RasHandle& handle) -> uint32_t {
    HRASCONN connection = nullptr;
    const DWORD answer = RasDialA(nullptr, phonebook, reinterpret_cast<LPRASDIALPARAMSA>(record), 0xFFFFFFFF,
                                  reinterpret_cast<LPVOID>(window), &connection);
    handle = reinterpret_cast<RasHandle>(connection);
    return answer;
  };
  raw.HangUp = [](RasHandle handle) -> uint32_t { return RasHangUpA(ToHandle(handle)); };
  raw.GetConnectionStatistics = [](RasHandle handle, uint8_t* record) -> uint32_t {
    return RasGetConnectionStatistics(ToHandle(handle), reinterpret_cast<RAS_STATS*>(record));
  };
  raw.ValidateEntryName = [](const char* phonebook, const char* entryName) -> uint32_t {
    return RasValidateEntryNameA(phonebook, entryName);
  };
  raw.GetEntryProperties = [](const char* phonebook, const char* entryName, uint8_t* record,
                              uint32_t& size) -> uint32_t {
    DWORD bytes = size;
    const DWORD answer =
        RasGetEntryPropertiesA(phonebook, entryName, reinterpret_cast<LPRASENTRYA>(record), &bytes, nullptr, nullptr);
    size = bytes;
    return answer;
  };
  raw.SetEntryProperties = [](const char* phonebook, const char* entryName, uint8_t* record,
                              uint32_t size) -> uint32_t {
    return RasSetEntryPropertiesA(phonebook, entryName, reinterpret_cast<LPRASENTRYA>(record), size, nullptr, 0);
  };
  raw.RegisterMessage = [](const char* name) -> uint32_t { return RegisterWindowMessageA(name); };
  return raw;
}

}  // namespace corvane
