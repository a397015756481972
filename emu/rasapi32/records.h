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
struct RasConnV600 {  // what the current headers define
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
  GUID guidCorrelationId;
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
// A tunnel's end: its address family and an IPv4 or IPv6 address.
struct TunnelEndPoint {
  DWORD dwType;
  BYTE address[16];
};
struct RasConnStatusV601 {  // what the current headers define
  DWORD dwSize;
  DWORD rasconnstate;
  DWORD dwError;
  CHAR szDeviceType[17];
  CHAR szDeviceName[129];
  CHAR szPhoneNumber[129];
  TunnelEndPoint localEndPoint;
  TunnelEndPoint remoteEndPoint;
  DWORD rasconnsubstate;
};

// The first version as the current headers lay it out (short entry name and
// callback number), and as dialers commonly probe it, with a callback number
// as long as a phone number.
struct RasDialParamsV300 {
  DWORD dwSize;
  CHAR szEntryName[21];
  CHAR szPhoneNumber[129];
  CHAR szCallbackNumber[49];
  CHAR szUserName[257];
  CHAR szPassword[257];
  CHAR szDomain[16];
};
struct RasDialParamsV300Long {
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
struct RasDialParamsV601 {
  DWORD dwSize;
  CHAR szEntryName[257];
  CHAR szPhoneNumber[129];
  CHAR szCallbackNumber[129];
  CHAR szUserName[257];
  CHAR szPassword[257];
  CHAR szDomain[16];
  DWORD dwSubEntry;
  ULONG_PTR dwCallbackId;
  DWORD dwIfIndex;
};
struct RasDialParamsV602 {  // what the current headers define
  DWORD dwSize;
  CHAR szEntryName[257];
  CHAR szPhoneNumber[129];
  CHAR szCallbackNumber[129];
  CHAR szUserName[257];
  CHAR szPassword[257];
  CHAR szDomain[16];
  DWORD dwSubEntry;
  ULONG_PTR dwCallbackId;
  DWORD dwIfIndex;
  LPSTR szEncPassword;
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
  // from 0x600
  BYTE ipv6addrDns[16];
  BYTE ipv6addrDnsAlt[16];
  DWORD dwIPv4InterfaceMetric;
  DWORD dwIPv6InterfaceMetric;
  // from 0x601
  BYTE ipv6addr[16];
  DWORD dwIPv6PrefixLength;
  DWORD dwNetworkOutageTime;
  // from 0xA00: what the current headers define
  CHAR szIDi[257];
  CHAR szIDr[257];
  BOOL fIsImsConfig;
  DWORD IdiType;
  DWORD IdrType;
  BOOL fDisableIKEv2Fragmentation;
};

#pragma pack(pop)

// The sizes the headers give on 32-bit Windows, and what the 8-byte handle,
// callback id and password pointer make of them on 64-bit Windows.
inline constexpr bool k64 = sizeof(void*) == 8;
static_assert(sizeof(RasConnV300) == (k64 ? 36 : 32) && sizeof(RasConnV400) == (k64 ? 416 : 412) &&
              sizeof(RasConnV401) == (k64 ? 680 : 676) && sizeof(RasConnV500) == (k64 ? 696 : 692) &&
              sizeof(RasConnV501) == (k64 ? 708 : 704) && sizeof(RasConnV600) == (k64 ? 724 : 720));
static_assert(sizeof(RasConnStatusV300) == 64 && sizeof(RasConnStatusV400) == 160 &&
              sizeof(RasConnStatusV401) == 288 && sizeof(RasConnStatusV601) == 332);
static_assert(sizeof(RasDialParamsV300) == 736 && sizeof(RasDialParamsV300Long) == 816 &&
              sizeof(RasDialParamsV400) == 1052 && sizeof(RasDialParamsV401) == (k64 ? 1064 : 1060) &&
              sizeof(RasDialParamsV601) == (k64 ? 1068 : 1064) && sizeof(RasDialParamsV602) == (k64 ? 1076 : 1068));
static_assert(sizeof(RasDevInfo) == 152);
static_assert(sizeof(RasStats) == 60);

inline constexpr DWORD kEntrySizeV400 = offsetof(RasEntry, dwSubEntries);
inline constexpr DWORD kEntrySizeV401 = offsetof(RasEntry, dwType);
inline constexpr DWORD kEntrySizeV500 = offsetof(RasEntry, dwfOptions2);
inline constexpr DWORD kEntrySizeV501 = offsetof(RasEntry, ipv6addrDns);
inline constexpr DWORD kEntrySizeV600 = offsetof(RasEntry, ipv6addr);
inline constexpr DWORD kEntrySizeV601 = offsetof(RasEntry, szIDi);
inline constexpr DWORD kEntrySizeVA00 = sizeof(RasEntry);
static_assert(kEntrySizeV400 == 1768 && kEntrySizeV401 == 1796 && kEntrySizeV500 == 2088 && kEntrySizeV501 == 2884 &&
              kEntrySizeV600 == 2924 && kEntrySizeV601 == 2948 && kEntrySizeVA00 == 3480);

// Service levels: which record versions a service knows (it knows every
// older one too).
inline constexpr int kLevel300 = 0x300;  // first release: short entry names
inline constexpr int kLevel400 = 0x400;  // long names, devices, entry properties
inline constexpr int kLevel401 = 0x401;  // phonebook path, sub-entries, phone number in the status
inline constexpr int kLevel500 = 0x500;  // entry GUIDs, VPN fields, connection statistics
inline constexpr int kLevel501 = 0x501;  // connection flags and logon id
inline constexpr int kLevel600 = 0x600;  // connection correlation ids, IPv6 entry fields
inline constexpr int kLevel601 = 0x601;  // tunnel end points in the status, interface index in the dial record
inline constexpr int kLevel602 = 0x602;  // encrypted password pointer in the dial record
inline constexpr int kLevelA00 = 0xA00;  // IKEv2 identities in the entry: the current headers

}  // namespace standin
