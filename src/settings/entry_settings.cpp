// The entry record's fields, their values and defaults, in one table that
// loading reads and saving writes.
#include "settings/entry_settings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>
#include <variant>

namespace corvane {

namespace {

using Member = std::variant<uint8_t EntrySettings::*, int32_t EntrySettings::*, float EntrySettings::*,
                            std::string EntrySettings::*>;

struct Field {
  const char* valueName;
  Member member;
  double fallback;  // the default of a number read from an empty text
};

// In the order loading reads them, which is kept as it always was.
const std::array<Field, 21> kFields{{
    {"Icon", &EntrySettings::Icon, 0},
    {"UseList", &EntrySettings::UseList, 0},
    {"LastDialedLocation", &EntrySettings::LastDialedLocation, 0},
    {"LoadAtStartup", &EntrySettings::LoadAtStartup, 0},
    {"MonitorTime", &EntrySettings::MonitorTime, 1},
    {"PhoneList", &EntrySettings::PhoneList, 0},
    {"UserList", &EntrySettings::UserList, 0},
    {"UserName", &EntrySettings::UserName, 0},
    {"Password", &EntrySettings::Password, 0},
    {"PhoneNumber", &EntrySettings::PhoneNumber, 0},
    {"EnableRedial", &EntrySettings::EnableRedial, 1},
    {"NumberOfRedials", &EntrySettings::NumberOfRedials, 3},
    {"Minutes", &EntrySettings::Minutes, 2},
    {"Seconds", &EntrySettings::Seconds, 1},
    {"DoNotAsk", &EntrySettings::DoNotAsk, 0},
    {"FileURL", &EntrySettings::FileURL, 0},
    {"DisconnectAndDial", &EntrySettings::DisconnectAndDial, 0},
    {"StartBrowser", &EntrySettings::StartBrowser, 1},
    {"AutoDisconnect", &EntrySettings::AutoDisconnect, 0},
    {"AutoDisconnectTime", &EntrySettings::AutoDisconnectTime, 0},
    {"AutoReconnect", &EntrySettings::AutoReconnect, 1},
}};

void ReadField(const Field& field, const std::string& text, EntrySettings& entry) {
  std::visit(
      [&](auto member) {
        using Type = std::remove_cvref_t<decltype(entry.*member)>;
        if constexpr (std::is_same_v<Type, std::string>) {
          entry.*member = text;
        } else if constexpr (std::is_same_v<Type, float>) {
          entry.*member = ReadFloat(text, static_cast<float>(field.fallback));
        } else if constexpr (std::is_same_v<Type, int32_t>) {
          entry.*member = ReadInt32(text, static_cast<int32_t>(field.fallback));
        } else {
          entry.*member = ReadByte(text, static_cast<uint8_t>(field.fallback));
        }
      },
      field.member);
}

// The record's one float is the hang-up time, which saving always sets from
// the whole hours and minutes of the options window: it is written as a
// whole number of seconds ("37800"). (A general shortest-digits float writer
// would add a sixth to the program file for a fraction that never comes.)
std::string FloatText(float value) {
  constexpr double kWholeLimit = 1e15;
  const double whole = std::isfinite(value) ? std::trunc(static_cast<double>(value)) : 0.0;
  return std::to_string(static_cast<long long>(std::clamp(whole, -kWholeLimit, kWholeLimit)));
}

}  // namespace

std::string StoredText(const EntrySettings& entry, const std::string& valueName) {
  for (const Field& field : kFields) {
    if (valueName != field.valueName) continue;
    return std::visit(
        [&](auto member) -> std::string {
          using Type = std::remove_cvref_t<decltype(entry.*member)>;
          if constexpr (std::is_same_v<Type, std::string>) {
            return entry.*member;
          } else if constexpr (std::is_same_v<Type, float>) {
            return FloatText(entry.*member);
          } else {
            return std::to_string(entry.*member);
          }
        },
        field.member);
  }
  return {};
}

EntrySettings LoadEntry(SettingsStore& store, const std::string& keyPath) {
  EntrySettings entry;
  for (const Field& field : kFields) ReadField(field, store.ReadRegValue(keyPath, field.valueName), entry);
  return entry;
}

}  // namespace corvane
