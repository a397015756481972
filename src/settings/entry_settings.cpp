// Loading an entry's values into the entry record and the dialer's number boxes.
#include "settings/entry_settings.h"

namespace corvane {

void LoadEntry(SettingsStore& store, const std::string& keyPath, EntrySettings& entry,
               forms::ComboBox& cmbList, forms::TextBox& txtCombo) {
  // The order of the reads is kept as it always was: each field is written
  // as soon as its value is read, and UseList must be known before the two
  // number boxes are touched.
  auto read = [&](const char* name) { return store.ReadRegValue(keyPath, name); };

  entry.Icon = ReadByte(read("Icon"), 0);
  entry.UseList = ReadByte(read("UseList"), 0);

  const std::string lastDialed = read("LastDialedLocation");
  if (!lastDialed.empty() && entry.UseList == 1) cmbList.SetText(lastDialed);

  entry.LoadAtStartup = ReadByte(read("LoadAtStartup"), 0);
  entry.MonitorTime = ReadByte(read("MonitorTime"), 1);

  entry.PhoneList = read("PhoneList");
  entry.UserList = read("UserList");
  entry.UserName = read("UserName");
  entry.Password = read("Password");

  entry.PhoneNumber = read("PhoneNumber");
  if (entry.UseList == 0) txtCombo.SetText(entry.PhoneNumber);

  entry.EnableRedial = ReadByte(read("EnableRedial"), 1);
  entry.NumberOfRedials = ReadInt32(read("NumberOfRedials"), 3);
  entry.Minutes = ReadInt32(read("Minutes"), 2);
  entry.Seconds = ReadInt32(read("Seconds"), 1);

  entry.DoNotAsk = ReadByte(read("DoNotAsk"), 0);

  entry.FileURL = read("FileURL");
  entry.DisconnectAndDial = ReadByte(read("DisconnectAndDial"), 0);

  entry.StartBrowser = ReadByte(read("StartBrowser"), 1);
  entry.AutoDisconnect = ReadByte(read("AutoDisconnect"), 0);
  entry.AutoDisconnectTime = ReadFloat(read("AutoDisconnectTime"), 0.0f);
  entry.AutoReconnect = ReadByte(read("AutoReconnect"), 1);
}

}  // namespace corvane
