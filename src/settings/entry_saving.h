// Saving an entry from the options window: the checks in their order, the
// entry record updated, the password scrambled, and the values the user
// changed written in their order; and saving the custom entry. The shortcut
// steps that follow live with the shortcuts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/entry_settings.h"
#include "settings/settings_store.h"
#include "system/message_box_port.h"

namespace corvane {

// What the options window holds for an ordinary entry when OK is pressed.
// Check boxes are 0 or 1; texts are exactly as the boxes hold them.
struct EntryForm {
  std::string name;  // cmbSelEntry
  int loadAtStartup = 0;
  int monitorTime = 0;
  int single = 0;
  int list = 0;
  std::string userName, password, phoneNumber;
  std::string phoneList, userList;
  int redial = 0;
  std::string redialText, minutesText, secondsText;
  int redialValue = 0, minutesValue = 0, secondsValue = 0;  // vsb1, vsb2, vsb3
  std::string url, browserPath;
  int startBrowser = 0;
  int autoDisconnect = 0;
  int autoDisconnectHours = 0, autoDisconnectMinutes = 0;  // vsbAhrs, vsbAmin
  int autoReconnect = 0;
  std::string onTime1, onTime2, offTime1, offTime2;
  bool disconnectAndDial = false;  // optDisconnect selected
  int icon = 0;                    // the record's icon, as the icon choice left it
  // The phone-list line to store: the one picked in the dialer for the
  // running entry, otherwise the one stored with the entry shown.
  std::string lastDialedLocation;
  // The stored (scrambled) password of the entry shown, which spaces in the
  // password box stand for; empty when it has none.
  std::string storedPassword;
  // The entry's kPreviousNumberValue as read; no box edits it.
  std::string previousNumber;
};

// The control a failed check sends the focus to.
enum class EntryField { Unchanged, EntryName, UserName, Password, PhoneNumber, PhoneList, UserList };

struct EntryFormProblem {
  int tab;  // 1-based tab to select
  std::string message;
  EntryField focus;
};

inline constexpr const char* kSaveErrorTitle = "Error saving options";

// What the address box shows for an entry without a number file address.
inline constexpr const char* kUrlPrefill = "http://";

// The first check the form fails, in the order the user is told about them;
// nullopt when it can be saved. `longestFolder` is the longest folder the
// entry's shortcuts go into (see EntryNameRefusal).
std::optional<EntryFormProblem> CheckEntryForm(const EntryForm& form, size_t longestFolder);

enum class SaveResult { Saved, KeyNotCreated, PasswordRefused };

// Copies the form into `entry` and writes it under SettingsRoot + form.name.
// `loaded` is the form as the window showed that same entry when it loaded
// it: then only the values whose text differs from it are written, and every
// other value of the key stays exactly as it is. Without it (the form goes
// to another name than the entry shown) all 24 values are written, and the
// previous number when there is one. A typed password is scrambled and
// written; a box of only spaces stands for `storedPassword`, which a new
// name takes along. A password the scrambling cannot hold is refused with
// its message before anything is written; a key that cannot be created gives
// "Options not saved". A failing single write is not reported and the later
// ones still run.
SaveResult SaveEntry(const EntryForm& form, const EntryForm* loaded, SettingsStore& store, EntrySettings& entry,
                     MessageBoxPort& messages);

// Writes the custom entry `name`: "Tab4Name" at the settings root, and
// "Location", "Tab4Name" and (when one was chosen) "Icon" under "*" + name.
void SaveCustomEntry(const std::string& name, const std::string& location, uint8_t customIcon, SettingsStore& store);

}  // namespace corvane
