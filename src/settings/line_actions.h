// An entry's actions: a program of the user's started once its line is up,
// and one started once its line has ended and been booked, each with its
// arguments as the user wrote them. Values of their own under the entry's
// key; an entry without them starts nothing.
#pragma once

#include <string>

#include "settings/settings_store.h"

namespace corvane {

// Names of the stored values under an entry's key (REG_SZ texts).
inline constexpr const char* kConnectActionValue = "ConnectAction";              // program path; empty = none
inline constexpr const char* kConnectArgumentsValue = "ConnectActionArguments";
inline constexpr const char* kDisconnectActionValue = "DisconnectAction";        // program path; empty = none
inline constexpr const char* kDisconnectArgumentsValue = "DisconnectActionArguments";

struct LineAction {
  std::string Program;
  std::string Arguments;

  bool Set() const { return !Program.empty(); }
  bool operator==(const LineAction&) const = default;
};

struct LineActions {
  LineAction OnConnect;
  LineAction OnDisconnect;

  bool operator==(const LineActions&) const = default;
};

// The actions stored under `entryKey`; none for missing values.
LineActions LoadLineActions(SettingsStore& store, const std::string& entryKey);

// Writes `shown` under `entryKey`. With `loaded` (what the same entry held
// when it was shown) only the values that differ from it are written.
void SaveLineActions(const LineActions& shown, const LineActions* loaded, SettingsStore& store,
                     const std::string& entryKey);

}  // namespace corvane
