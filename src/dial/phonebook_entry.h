// The program's own phonebook entry "Crv": it only fixes the device and the
// connection options; number, login and password come with every dial.
#pragma once

#include <cstdint>
#include <string>

#include "dial/dialup_service.h"

namespace corvane {

inline constexpr const char* kPhonebookEntryName = "Crv";

// Creates or overwrites "Crv" in the default phonebook with the chosen modem
// (see ChooseEntryModem). A failure is not reported.
void CreatePhonebookEntry(DialUpService& service, bool isWinNT);

// Readies "Crv" at start-up: writes it (CreatePhonebookEntry) when it is
// missing, and writes it afresh when it names a device the service no
// longer lists and a modem can be chosen instead; an entry whose device is
// listed, or that cannot be read, stays as it is. Returns the service's
// answer to whether the entry exists (kEntryAlreadyExists when it does).
int32_t PreparePhonebookEntry(DialUpService& service, bool isWinNT);

// Stores `record` as `entryName` in `phonebook` (empty: the default one),
// laid out in the record size the service reports. Returns the service's
// status: the size query's answer when it is not "buffer too small",
// otherwise the store's.
int32_t WritePhonebookEntry(DialUpService& service, const std::string& entryName,
                            const PhonebookEntryRecord& record, const std::string& phonebook);

// The device for the entry: among the devices of type exactly "modem", in
// list order, the first on the NT family and the last on the 95 family;
// empty when there is none.
std::string ChooseEntryModem(const std::vector<DialDevice>& devices, bool isWinNT);

}  // namespace corvane
