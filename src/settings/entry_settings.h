// The record of the dialing entry in use, one field per registry value of
// the entry's key, and the procedure that fills it from the store.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_store.h"

namespace corvane {

struct EntrySettings {
  uint8_t Icon = 0;           // icon resource of the entry (8..21), 0 = none chosen
  uint8_t UseList = 0;        // 1 = numbers from the phone list, logins from the user list
  uint8_t LoadAtStartup = 0;  // 1 = the options window makes a Startup shortcut
  uint8_t MonitorTime = 0;    // 1 = record online time
  std::string PhoneList;
  std::string UserList;
  std::string UserName;
  std::string Password;       // scrambled as stored; plain in list mode once dialing picked a login
  std::string PhoneNumber;
  uint8_t EnableRedial = 0;
  int32_t NumberOfRedials = 0;
  int32_t Minutes = 0;        // redial pause, minutes part
  int32_t Seconds = 0;        // redial pause, seconds part
  uint8_t DoNotAsk = 0;       // 1 = disconnect without asking
  std::string FileURL;        // where the current phone number can be fetched
  uint8_t DisconnectAndDial = 0;
  uint8_t StartBrowser = 0;
  uint8_t AutoDisconnect = 0;
  float AutoDisconnectTime = 0.0f;  // online seconds before the automatic hang-up
  uint8_t AutoReconnect = 0;
  // The phone-list line dialled last, as stored; the dialer shows it in list mode.
  std::string LastDialedLocation;
};

// The entry's number as it was before its number file last changed it
// (REG_SZ under the entry's key), so that the user can put it back.
inline constexpr const char* kPreviousNumberValue = "PreviousPhoneNumber";

// The text a field of the record is stored as: the decimal number (a whole
// float without a fraction, "37800"), or the text itself. `valueName` must
// name a field of the record.
std::string StoredText(const EntrySettings& entry, const std::string& valueName);

// The record of the values under `keyPath` (SettingsRoot + entry name),
// field by field with each value's default for an empty text. A missing key
// gives all defaults and is not created.
EntrySettings LoadEntry(SettingsStore& store, const std::string& keyPath);

}  // namespace corvane
