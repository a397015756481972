// Which record versions the service knows at a service level, and calling a
// piece of code with the struct type of the version a caller passed.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "records.h"

namespace standin {

// Calls `f.template operator()<R>()` with R the RASCONN version of `size`;
// false when the service at `level` does not know that size.
template <class F>
bool WithConnVersion(DWORD size, int level, F&& f) {
  if (size == sizeof(RasConnV300)) return f.template operator()<RasConnV300>(), true;
  if (level >= kLevel400 && size == sizeof(RasConnV400)) return f.template operator()<RasConnV400>(), true;
  if (level >= kLevel401 && size == sizeof(RasConnV401)) return f.template operator()<RasConnV401>(), true;
  if (level >= kLevel500 && size == sizeof(RasConnV500)) return f.template operator()<RasConnV500>(), true;
  if (level >= kLevel501 && size == sizeof(RasConnV501)) return f.template operator()<RasConnV501>(), true;
  if (level >= kLevel600 && size == sizeof(RasConnV600)) return f.template operator()<RasConnV600>(), true;
  return false;
}

inline DWORD NewestConnSize(int level) {
  return level >= kLevel600   ? sizeof(RasConnV600)
         : level >= kLevel501 ? sizeof(RasConnV501)
         : level >= kLevel500 ? sizeof(RasConnV500)
         : level >= kLevel401 ? sizeof(RasConnV401)
         : level >= kLevel400 ? sizeof(RasConnV400)
                              : sizeof(RasConnV300);
}

template <class F>
bool WithStatusVersion(DWORD size, int level, F&& f) {
  if (size == sizeof(RasConnStatusV300)) return f.template operator()<RasConnStatusV300>(), true;
  if (level >= kLevel400 && size == sizeof(RasConnStatusV400)) return f.template operator()<RasConnStatusV400>(), true;
  if (level >= kLevel401 && size == sizeof(RasConnStatusV401)) return f.template operator()<RasConnStatusV401>(), true;
  if (level >= kLevel601 && size == sizeof(RasConnStatusV601)) return f.template operator()<RasConnStatusV601>(), true;
  return false;
}

template <class F>
bool WithDialParamsVersion(DWORD size, int level, F&& f) {
  if (size == sizeof(RasDialParamsV300)) return f.template operator()<RasDialParamsV300>(), true;
  if (size == sizeof(RasDialParamsV300Long)) return f.template operator()<RasDialParamsV300Long>(), true;
  if (level >= kLevel400 && size == sizeof(RasDialParamsV400)) return f.template operator()<RasDialParamsV400>(), true;
  if (level >= kLevel401 && size == sizeof(RasDialParamsV401)) return f.template operator()<RasDialParamsV401>(), true;
  if (level >= kLevel601 && size == sizeof(RasDialParamsV601)) return f.template operator()<RasDialParamsV601>(), true;
  if (level >= kLevel602 && size == sizeof(RasDialParamsV602)) return f.template operator()<RasDialParamsV602>(), true;
  return false;
}

// Entry records exist from 0x400 on; a service below that level answers
// with the 0x400 record.
inline bool EntrySizeKnown(DWORD size, int level) {
  return size == kEntrySizeV400 || (level >= kLevel401 && size == kEntrySizeV401) ||
         (level >= kLevel500 && size == kEntrySizeV500) || (level >= kLevel501 && size == kEntrySizeV501) ||
         (level >= kLevel600 && size == kEntrySizeV600) || (level >= kLevel601 && size == kEntrySizeV601) ||
         (level >= kLevelA00 && size == kEntrySizeVA00);
}

inline DWORD NewestEntrySize(int level) {
  return level >= kLevelA00   ? kEntrySizeVA00
         : level >= kLevel601 ? kEntrySizeV601
         : level >= kLevel600 ? kEntrySizeV600
         : level >= kLevel501 ? kEntrySizeV501
         : level >= kLevel500 ? kEntrySizeV500
         : level >= kLevel401 ? kEntrySizeV401
                              : kEntrySizeV400;
}

// Copies a text into a fixed field, cut to keep the terminating zero.
template <size_t N>
void CopyText(CHAR (&field)[N], const char* text) {
  const size_t length = strnlen(text, N - 1);
  std::memcpy(field, text, length);
  field[length] = 0;
}

// A fixed field's text, also when the caller left it unterminated.
template <size_t N>
std::string FieldText(const CHAR (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

}  // namespace standin
