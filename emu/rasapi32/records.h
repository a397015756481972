// The service's records, every version this stand-in knows, as callers lay
// them out: packed to 4 bytes, handles and callback ids pointer sized. Each
// version is its own struct; a record's dwSize tells which one the caller
// passed.
#pragma once

#include <windows.h>

#include <cstddef>

namespace standin {

using ConnHandle = void*;

#pragma pack(push, 4)

struct RasConnV300 {  // the first version: a short entry name, nothing else
  DWORD dwSize;
  ConnHandle hrasconn;
  CHAR szEntryName[21];
};
struct RasConnV400 {
  DWORD dwSize;
  ConnHandle hrasconn;
  CHAR szEntryName[257];
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
};
struct RasConnV401 {
  DWORD dwSize;
  ConnHandle hrasconn;
  CHAR szEntryName[257];
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
  CHAR szPhonebook[MAX_PATH];
  DWORD dwSubEntry;
};
struct RasConnV500 {
  DWORD dwSize;
  ConnHandle hrasconn;
  CHAR szEntryName[257];
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
  CHAR szPhonebook[MAX_PATH];
  DWORD dwSubEntry;
  GUID guidEntry;
};
struct RasConnV501 {
  DWORD dwSize;
  ConnHandle hrasconn;
  CHAR szEntryName[257];
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
  CHAR szPhonebook[MAX_PATH];
  DWORD dwSubEntry;
  GUID guidEntry;
  DWORD dwFlags;
  LUID luid;
};

struct RasConnStatusV300 {
  DWORD dwSize;
  DWORD rasconnstate;
  DWORD dwError;
  CHAR szDeviceType[17];
  CHAR szDeviceName[33];
};
struct RasConnStatusV400 {
  DWORD dwSize;
  DWORD rasconnstate;
  DWORD dwError;
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
};
struct RasConnStatusV401 {
  DWORD dwSize;
  DWORD rasconnstate;
  DWORD dwError;
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
  CHAR szPhoneNumber[129];
};

struct RasDialParamsV300 {
  DWORD dwSize;
  CHAR szEntryName[21];
  CHAR szPhoneNumber[129];
  CHAR szCallbackNumber[129];
  CHAR szUserName[257];
  CHAR szPassword[257];
  CHAR szDomain[16];
};
struct RasDialParamsV400 {
  DWORD dwSize;
  CHAR szEntryName[257];
  CHAR szPhoneNumber[129];
  CHAR szCallbackNumber[129];
  CHAR szUserName[257];
  CHAR szPassword[257];
  CHAR szDomain[16];
};
struct RasDialParamsV401 {
  DWORD dwSize;
  CHAR szEntryName[257];
  CHAR szPhoneNumber[129];
  CHAR szCallbackNumber[129];
  CHAR szUserName[257];
  CHAR szPassword[257];
  CHAR szDomain[16];
  DWORD dwSubEntry;
  ULONG_PTR dwCallbackId;
};

struct RasDevInfo {
  DWORD dwSize;
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
};

struct RasStats {
  DWORD dwSize;
  DWORD dwBytesXmited;
  DWORD dwBytesRcved;
  DWORD dwFramesXmited;
  DWORD dwFramesRcved;
  DWORD dwCrcErr;
  DWORD dwTimeoutErr;
  DWORD dwAlignmentErr;
  DWORD dwHardwareOverrunErr;
  DWORD dwFramingErr;
  DWORD dwBufferOverrunErr;
  DWORD dwCompressionRatioIn;
  DWORD dwCompressionRatioOut;
  DWORD dwBps;
  DWORD dwConnectDuration;
};

// The entry record; versions only add fields at the end, so one struct and
// the size of each version's prefix.
struct RasEntry {
  DWORD dwSize;
  DWORD dwfOptions;
  DWORD dwCountryID;
  DWORD dwCountryCode;
  CHAR szAreaCode[11];
  CHAR szLocalPhoneNumber[129];
  DWORD dwAlternateOffset;
  BYTE ipaddr[4];
  BYTE ipaddrDns[4];
  BYTE ipaddrDnsAlt[4];
  BYTE ipaddrWins[4];
  BYTE ipaddrWinsAlt[4];
  DWORD dwFrameSize;
  DWORD dwfNetProtocols;
  DWORD dwFramingProtocol;
  CHAR szScript[MAX_PATH];
  CHAR szAutodialDll[MAX_PATH];
  CHAR szAutodialFunc[MAX_PATH];
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
  CHAR szX25PadType[33];
  CHAR szX25Address[201];
  CHAR szX25Facilities[201];
  CHAR szX25UserData[201];
  DWORD dwChannels;
  DWORD dwReserved1;
  DWORD dwReserved2;
  // from 0x401
  DWORD dwSubEntries;
  DWORD dwDialMode;
  DWORD dwDialExtraPercent;
  DWORD dwDialExtraSampleSeconds;
  DWORD dwHangUpExtraPercent;
  DWORD dwHangUpExtraSampleSeconds;
  DWORD dwIdleDisconnectSeconds;
  // from 0x500
  DWORD dwType;
  DWORD dwEncryptionType;
  DWORD dwCustomAuthKey;
  GUID guidId;
  CHAR szCustomDialDll[MAX_PATH];
  DWORD dwVpnStrategy;
  // from 0x501
  DWORD dwfOptions2;
  DWORD dwfOptions3;
  CHAR szDnsSuffix[256];
  DWORD dwTcpWindowSize;
  CHAR szPrerequisitePbk[MAX_PATH];
  CHAR szPrerequisiteEntry[257];
  DWORD dwRedialCount;
  DWORD dwRedialPause;
};

#pragma pack(pop)

// The classic sizes on 32-bit Windows; 64-bit ones grow by the wider handle.
inline constexpr size_t kWide = sizeof(void*) - 4;
static_assert(sizeof(RasConnV300) == 32 + kWide && sizeof(RasConnV400) == 412 + kWide &&
              sizeof(RasConnV401) == 676 + kWide && sizeof(RasConnV500) == 692 + kWide);
static_assert(sizeof(RasConnStatusV300) == 64 && sizeof(RasConnStatusV400) == 160 &&
              sizeof(RasConnStatusV401) == 288);
static_assert(sizeof(RasDialParamsV300) == 816 && sizeof(RasDialParamsV400) == 1052 &&
              sizeof(RasDialParamsV401) == 1060 + kWide);
static_assert(sizeof(RasStats) == 60);

inline constexpr DWORD kEntrySizeV400 = offsetof(RasEntry, dwSubEntries);
inline constexpr DWORD kEntrySizeV401 = offsetof(RasEntry, dwType);
inline constexpr DWORD kEntrySizeV500 = offsetof(RasEntry, dwfOptions2);
inline constexpr DWORD kEntrySizeV501 = sizeof(RasEntry);

// Service levels: which record versions a service knows (it knows every
// older one too).
inline constexpr int kLevel300 = 0x300;  // first release: short entry names
inline constexpr int kLevel400 = 0x400;  // long names, devices, entry properties
inline constexpr int kLevel401 = 0x401;  // phonebook path, sub-entries, phone number in the status
inline constexpr int kLevel500 = 0x500;  // entry GUIDs, VPN fields, connection statistics
inline constexpr int kLevel501 = 0x501;  // connection flags and logon id

}  // namespace standin
