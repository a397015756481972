// The dial-up service's entry points at byte level, as a table of functions:
// the Win32 adapter fills it from rasapi32, host tests fill it with canned
// answers. Records are raw byte buffers laid out as in ras_layout.h for the
// table's `pointerSize`; a null text pointer means "none" (the default
// phonebook, no entry name).
#pragma once

#include <cstdint>
#include <functional>

#include "dial/dialup_service.h"

namespace corvane {

struct RasRawFunctions {
  // Width of handles inside records: 4 on 32-bit Windows, 8 on 64-bit.
  uint32_t pointerSize = 4;

  // RasEnumConnectionsA(records, &byteCount, &count).
  std::function<uint32_t(uint8_t* records, uint32_t& byteCount, uint32_t& count)> EnumConnections;
  // RasGetConnectStatusA(handle, record).
  std::function<uint32_t(RasHandle handle, uint8_t* record)> GetConnectStatus;
  // RasEnumDevicesA(records or null, &byteCount, &count).
  std::function<uint32_t(uint8_t* records, uint32_t& byteCount, uint32_t& count)> EnumDevices;
  // RasGetErrorStringA(code, buffer, size).
  std::function<uint32_t(uint32_t code, char* buffer, uint32_t size)> GetErrorString;
  // The system message table's text for `code` into `buffer`; returns the
  // number of characters stored, 0 when there is none.
  std::function<uint32_t(uint32_t code, char* buffer, uint32_t size)> FormatSystemMessage;
  // RasGetEntryDialParamsA(phonebook, record, &passwordSaved).
  std::function<uint32_t(const char* phonebook, uint8_t* record, int32_t& passwordSaved)> GetEntryDialParams;
  // RasDialA(no extensions, phonebook, record, notifier 0xFFFFFFFF, window, &handle).
  std::function<uint32_t(const char* phonebook, uint8_t* record, RasWindow window, RasHandle& handle)> Dial;
  // RasHangUpA(handle).
  std::function<uint32_t(RasHandle handle)> HangUp;
  // RasGetConnectionStatistics(handle, record).
  std::function<uint32_t(RasHandle handle, uint8_t* record)> GetConnectionStatistics;
  // RasValidateEntryNameA(phonebook, entryName).
  std::function<uint32_t(const char* phonebook, const char* entryName)> ValidateEntryName;
  // RasGetEntryPropertiesA(phonebook, entryName, record or null, &size, no device information).
  std::function<uint32_t(const char* phonebook, const char* entryName, uint8_t* record, uint32_t& size)>
      GetEntryProperties;
  // RasSetEntryPropertiesA(phonebook, entryName, record, size, no device information).
  std::function<uint32_t(const char* phonebook, const char* entryName, uint8_t* record, uint32_t size)>
      SetEntryProperties;
  // RegisterWindowMessageA(name); 0 on failure.
  std::function<uint32_t(const char* name)> RegisterMessage;
};

}  // namespace corvane
