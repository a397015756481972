// Checks and writes of an entry saved from the options window.
#include "settings/entry_saving.h"

#include <utility>
#include <vector>

#include "settings/automation_values.h"
#include "settings/entry_name_rule.h"
#include "settings/password.h"

namespace corvane {

namespace {

bool OnlySpaces(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// The redial fields are written as typed, so a leading blank stays; but a
// text that would read back as something else than the scroll bar shows
// (an emptied box reads as the default) is written as the scroll bar's value.
std::string RedialText(const std::string& typed, int scrollValue, int32_t readDefault) {
  return ReadInt32(typed, readDefault) == scrollValue ? typed : std::to_string(scrollValue);
}

std::string OffTimeText(const std::string& typed) { return IsNotConnectedText(typed) ? "100" : typed; }

// The prefilled address alone stands for none, as loading shows an empty one.
std::string UrlText(const std::string& typed) { return typed == kUrlPrefill ? std::string() : typed; }

void CopyInto(const EntryForm& form, EntrySettings& entry) {
  entry.LoadAtStartup = static_cast<uint8_t>(form.loadAtStartup);
  entry.MonitorTime = static_cast<uint8_t>(form.monitorTime);
  entry.UseList = form.list != 0 ? 1 : 0;
  entry.PhoneList = form.phoneList;
  entry.UserList = form.userList;
  entry.UserName = form.userName;
  entry.PhoneNumber = form.phoneNumber;
  entry.EnableRedial = static_cast<uint8_t>(form.redial);
  entry.NumberOfRedials = form.redialValue;
  entry.Minutes = form.minutesValue;
  entry.Seconds = form.secondsValue;
  entry.FileURL = UrlText(form.url);
  entry.DisconnectAndDial = form.disconnectAndDial ? 1 : 0;
  entry.StartBrowser = static_cast<uint8_t>(form.startBrowser);
  entry.AutoDisconnect = static_cast<uint8_t>(form.autoDisconnect);
  entry.AutoDisconnectTime =
      static_cast<float>(AutoDisconnectSeconds(form.autoDisconnectHours, form.autoDisconnectMinutes));
  entry.AutoReconnect = static_cast<uint8_t>(form.autoReconnect);
  entry.Icon = static_cast<uint8_t>(form.icon);
}

using ValueTexts = std::vector<std::pair<const char*, std::string>>;

// The 24 values of a form as they are stored, in the order they are written:
// the record's fields as the record stores them, the rest as the window
// holds them.
ValueTexts StoredTexts(const EntryForm& form) {
  EntrySettings record;
  CopyInto(form, record);
  auto field = [&](const char* name) { return StoredText(record, name); };
  return {
      {"LoadAtStartup", field("LoadAtStartup")},
      {"MonitorTime", field("MonitorTime")},
      {"LastDialedLocation", form.lastDialedLocation},
      {"UseList", field("UseList")},
      {"PhoneList", field("PhoneList")},
      {"UserList", field("UserList")},
      {"UserName", field("UserName")},
      {"PhoneNumber", field("PhoneNumber")},
      {"EnableRedial", field("EnableRedial")},
      {"NumberOfRedials", RedialText(form.redialText, form.redialValue, 3)},
      {"Minutes", RedialText(form.minutesText, form.minutesValue, 2)},
      {"Seconds", RedialText(form.secondsText, form.secondsValue, 1)},
      {"FileURL", field("FileURL")},
      {"BrowserPath", form.browserPath},
      {"StartBrowser", field("StartBrowser")},
      {"AutoDisconnect", field("AutoDisconnect")},
      {"AutoDisconnectTime", field("AutoDisconnectTime")},
      {"AutoReconnect", field("AutoReconnect")},
      {"OnTimeEx1", form.onTime1},
      {"OnTimeEx2", form.onTime2},
      {"OffTimeEx1", OffTimeText(form.offTime1)},
      {"OffTimeEx2", OffTimeText(form.offTime2)},
      {"DisconnectAndDial", field("DisconnectAndDial")},
      {"Icon", field("Icon")},
  };
}

}  // namespace

std::optional<EntryFormProblem> CheckEntryForm(const EntryForm& form, size_t longestFolder) {
  if (form.name.empty()) {
    return EntryFormProblem{1, "Create new entry or select existing entry from the list.", EntryField::Unchanged};
  }
  const std::string refusal = EntryNameRefusal(form.name, longestFolder);
  if (!refusal.empty()) return EntryFormProblem{1, refusal, EntryField::EntryName};
  // Without either the next dial would take whatever the other mode left.
  if (form.single == 0 && form.list == 0) {
    return EntryFormProblem{2, "Choose a single login or lists.", EntryField::Unchanged};
  }
  if (form.single != 0) {
    if (form.userName.empty()) return EntryFormProblem{2, "Missing login name.", EntryField::UserName};
    // Spaces stand for a stored password; with none stored they stand for nothing.
    if (form.password.empty() || (OnlySpaces(form.password) && form.storedPassword.empty())) {
      return EntryFormProblem{2, "Missing password.", EntryField::Password};
    }
    if (form.phoneNumber.empty()) return EntryFormProblem{2, "Missing phone number.", EntryField::PhoneNumber};
  }
  if (form.list != 0) {
    if (form.phoneList.empty()) return EntryFormProblem{2, "Missing phones list.", EntryField::PhoneList};
    if (form.userList.empty()) return EntryFormProblem{2, "Missing users list.", EntryField::UserList};
  }
  return std::nullopt;
}

SaveResult SaveEntry(const EntryForm& form, const EntryForm* loaded, SettingsStore& store, EntrySettings& entry,
                     MessageBoxPort& messages) {
  CopyInto(form, entry);

  // The password is scrambled before the key is touched, so a refused one
  // leaves nothing behind, not even an empty key.
  std::optional<std::string> password;
  if (!OnlySpaces(form.password)) {
    password = EncodePassword(form.password, store, messages);
    if (!password) return SaveResult::PasswordRefused;
  } else if (loaded == nullptr && !form.storedPassword.empty()) {
    // A new name takes along the password the spaces stand for.
    password = form.storedPassword;
  }

  const std::string key = store.SettingsRoot + form.name;
  if (!store.CreateRegKey(key)) {
    messages.Show("Options not saved", "Error", MsgIcon::Critical, MsgButtons::Ok);
    return SaveResult::KeyNotCreated;
  }
  if (password) {
    entry.Password = *password;
    WipeText(*password);
    store.SaveRegValue(key, "Password", entry.Password);
  }

  const ValueTexts texts = StoredTexts(form);
  const ValueTexts shown = loaded != nullptr ? StoredTexts(*loaded) : ValueTexts();
  for (size_t index = 0; index < texts.size(); ++index) {
    const auto& [name, text] = texts[index];
    if (loaded != nullptr && text == shown[index].second) continue;
    store.SaveRegValue(key, name, text);
  }
  // Only the number file changes it: a new name takes it along.
  if (loaded == nullptr && !form.previousNumber.empty()) {
    store.SaveRegValue(key, kPreviousNumberValue, form.previousNumber);
  }
  return SaveResult::Saved;
}

void SaveCustomEntry(const std::string& name, const std::string& location, uint8_t customIcon, SettingsStore& store) {
  store.SaveRegValue(store.SettingsRoot, "Tab4Name", name);
  const std::string key = store.SettingsRoot + "*" + name;
  store.SaveRegValue(key, "Location", location);
  store.SaveRegValue(key, "Tab4Name", name);
  if (customIcon != 0) store.SaveRegValue(key, "Icon", std::to_string(customIcon));
}

}  // namespace corvane
