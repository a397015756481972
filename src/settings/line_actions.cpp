// Loading and saving an entry's actions.
#include "settings/line_actions.h"

namespace corvane {

LineActions LoadLineActions(SettingsStore& store, const std::string& entryKey) {
  LineActions actions;
  actions.OnConnect.Program = store.ReadRegValue(entryKey, kConnectActionValue);
  actions.OnConnect.Arguments = store.ReadRegValue(entryKey, kConnectArgumentsValue);
  actions.OnDisconnect.Program = store.ReadRegValue(entryKey, kDisconnectActionValue);
  actions.OnDisconnect.Arguments = store.ReadRegValue(entryKey, kDisconnectArgumentsValue);
  return actions;
}

void SaveLineActions(const LineActions& shown, const LineActions* loaded, SettingsStore& store,
                     const std::string& entryKey) {
  const LineActions none;
  const LineActions& before = loaded != nullptr ? *loaded : none;
  const auto save = [&](const char* valueName, const std::string& value, const std::string& loadedValue) {
    if (loaded == nullptr || value != loadedValue) store.SaveRegValue(entryKey, valueName, value);
  };
  save(kConnectActionValue, shown.OnConnect.Program, before.OnConnect.Program);
  save(kConnectArgumentsValue, shown.OnConnect.Arguments, before.OnConnect.Arguments);
  save(kDisconnectActionValue, shown.OnDisconnect.Program, before.OnDisconnect.Program);
  save(kDisconnectArgumentsValue, shown.OnDisconnect.Arguments, before.OnDisconnect.Arguments);
}

}  // namespace corvane
