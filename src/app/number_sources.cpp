// The phone list drop-down, FindPhoneNumber, ReadInternetFile and the parsing
// of their files' lines.
#include "app/number_sources.h"

#include <utility>
#include <vector>

#include "app/connection.h"
#include "app/dialer_form.h"
#include "dial/dialup_service.h"
#include "dial/handle_release.h"
#include "dial/hang_up.h"
#include "settings/password.h"
#include "system/download_port.h"
#include "system/file_system_port.h"
#include "system/message_box_port.h"
#include "system/tray_icon_port.h"
#include "system/text_lines.h"

namespace corvane {

namespace {

constexpr const char* kPhoneFieldValue = "PhoneNumberLocation";
constexpr int kPhoneTitleLength = 5;  // "Phone"
// "PhoneNumberLocation" holds a byte.
constexpr int kMaxPhoneField = 255;

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithPhone(std::string_view text) {
  if (text.size() < kPhoneTitleLength) return false;
  for (int i = 0; i < kPhoneTitleLength; ++i) {
    if (UpperAscii(text[static_cast<size_t>(i)]) != "PHONE"[i]) return false;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

void ShowBadPhoneListFormat(MessageBoxPort& messages) {
  messages.Show("Error occured when reading the phone list.\r\nConsult Help about the phone list records format.",
                "Bad Phone List Format", MsgIcon::Exclamation, MsgButtons::Ok);
}

void WipeAll(std::vector<std::string>& texts) {
  for (std::string& text : texts) WipeText(text);
  texts.clear();
}

}  // namespace

bool HasOverlongPhoneListLine(const forms::ItemList& lines) {
  for (int i = 0; i < lines.Count(); ++i) {
    if (lines.At(i).size() > kMaxPhoneListLine) return true;
  }
  return false;
}

int PhoneFieldIndex(std::string_view titleLine) {
  std::vector<std::string_view> titles;
  size_t start = 0;
  for (;;) {
    const size_t comma = titleLine.find(',', start);
    titles.push_back(titleLine.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  for (size_t i = 0; i < titles.size(); ++i) {
    std::string_view title = titles[i];
    while (!title.empty() && IsBlank(title.front())) title.remove_prefix(1);
    if (StartsWithPhone(title)) return static_cast<int>(i);
  }
  // A title such as "Telephone": the phone field all the same.
  for (size_t i = 0; i < titles.size(); ++i) {
    for (size_t at = 0; at + kPhoneTitleLength <= titles[i].size(); ++at) {
      if (StartsWithPhone(titles[i].substr(at))) return static_cast<int>(i);
    }
  }
  return -1;
}

ListNumber NumberFromListLine(std::string_view line, int phoneField) {
  ListNumber result;
  if (line.find(',') != std::string_view::npos && phoneField > 0) {
    size_t comma = std::string_view::npos;
    int count = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == ',' && ++count == phoneField) {
        comma = i;
        break;
      }
    }
    // Too few fields for the phone field: the line is taken as typed.
    if (comma == std::string_view::npos) {
      result.number = line;
      return result;
    }
    result.appendComma = line.back() != ',';
    const size_t next = line.find(',', comma + 1);
    result.number = line.substr(comma + 1, next == std::string_view::npos ? std::string_view::npos : next - comma - 1);
  } else if (!line.empty() && line.front() == ',') {
    result.number = line.substr(1);
  } else {
    result.number = line;
  }
  return result;
}

bool ParseUserLine(std::string_view line, std::string& name, std::string& password) {
  const size_t comma = line.find(',');
  if (comma == std::string_view::npos) return false;  // blank lines have no comma either
  name = line.substr(0, comma);
  password = line.substr(comma + 1);
  return true;
}

bool IsDialString(std::string_view text) {
  bool hasDigit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      hasDigit = true;
    } else if (std::string_view(" +-().,*#WwPpTt").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return hasDigit;
}

std::string NumberFromNumberFile(std::string_view body) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (body.substr(0, kUtf8Mark.size()) == kUtf8Mark) body.remove_prefix(kUtf8Mark.size());
  const std::string_view firstLine = TrimBlanks(body.substr(0, body.find_first_of("\r\n")));
  // Cut first, then check what is left: the check must judge the number that
  // is stored and dialled, not the line it was cut from.
  const std::string_view number = TrimBlanks(firstLine.substr(0, kNumberFileNumberLength));
  if (!IsDialString(number)) return {};
  return std::string(number);
}

void DialerForm::cmbList_DropDown() {
  const std::string& path = connection_.RunningEntry().PhoneList;
  FileSystemPort& files = services_.files;
  if (path.empty() || !files.FileExists(path)) return;
  std::string text;
  // An unreadable file is treated like a missing one: the list stays as it was.
  if (!files.ReadText(path, text)) return;
  // The lines go into one block, not a text each: a long list is filled
  // about as fast as the box itself allows.
  forms::ItemList lines;
  lines.Reserve(0, text.size());
  ForEachTextLine(text, [&lines](std::string_view line) { lines.Add(line); });
  // A wrong file must not reach the list: the box would freeze the window.
  if (HasOverlongPhoneListLine(lines)) {
    ShowBadPhoneListFormat(services_.messages);
    return;
  }

  const std::string remembered = cmbList.Text();
  const int phoneField = lines.Count() == 0 ? -1 : PhoneFieldIndex(lines.At(0));
  cmbList.SetItems(std::move(lines));
  if (phoneField < 0 || phoneField > kMaxPhoneField) {
    ShowBadPhoneListFormat(services_.messages);
    return;
  }
  services_.store.SaveRegValue(connection_.RunningEntryKey(), kPhoneFieldValue, std::to_string(phoneField));
  cmbList.SetText(remembered);
}

// Runs before each prepared dial: sets the entry's PhoneNumber and, in list
// mode, reads the user list into the session and sets LocationName.
void Connection::FindPhoneNumber() {
  EntrySettings& entry = entry_;
  DialerForm& form = *view_;
  if (entry.UseList != 1) {
    entry.PhoneNumber = form.txtCombo.Text();
    return;
  }

  DialSession& session = session_;
  FileSystemPort& files = ports_.Files;
  std::vector<std::string> lines;
  const bool read =
      !entry.UserList.empty() && files.FileExists(entry.UserList) && files.ReadLines(entry.UserList, lines);
  // Index 0 unused: the logins are numbered from 1.
  std::vector<std::string> names(1), passwords(1);
  for (const std::string& line : lines) {
    std::string name, password;
    if (ParseUserLine(line, name, password)) {
      names.push_back(std::move(name));
      passwords.push_back(std::move(password));
    }
  }
  WipeAll(lines);
  const auto count = static_cast<int32_t>(names.size() - 1);
  if (!read || count == 0) {
    WipeAll(passwords);
    ports_.Messages.Show("User list must be selected in 'Options'.", "Error: User list not selected",
                         MsgIcon::Information, MsgButtons::Ok);
    if (windows_.showOptions) windows_.showOptions(DialerForm::kLoginTab);
    return;
  }
  WipeAll(session.UserPasswords);
  session.UserNames = std::move(names);
  session.UserPasswords = std::move(passwords);
  session.UserCount = count;

  const int phoneField = ReadByte(store_.ReadRegValue(RunningEntryKey(), kPhoneFieldValue), 0);
  std::string line = form.cmbList.Text();
  ListNumber found = NumberFromListLine(line, phoneField);
  if (found.appendComma) {
    line += ',';
    form.cmbList.SetText(line);
  }
  entry.PhoneNumber = std::move(found.number);
  const size_t comma = line.find(',');
  if (comma != std::string::npos) session.LocationName = line.substr(0, comma);
}

// Runs once the connection to the number server is up: fetches "FileURL";
// a new number is stored as "PhoneNumber" and, with DisconnectAndDial, the
// line is hung up so the supervisor dials the new number.
void Connection::ReadInternetFile() {
  EntrySettings& entry = entry_;
  if (entry.FileURL.empty()) return;
  std::string body;
  const int32_t status = ports_.Download.Download(entry.FileURL, kNumberFileTimeoutMs, kNumberFileMaxBytes, body);
  if (status == kDownloadCertificateRefused) {
    AppendDetails("The number file " + entry.FileURL + " was not fetched: its server's certificate is not trusted.");
  }
  if (!DownloadSucceeded(status)) return;
  const std::string number = NumberFromNumberFile(body);
  if (number.empty() || number == entry.PhoneNumber) return;
  StoreNewNumber(number);
  if (entry.DisconnectAndDial != 1) return;
  // Window events ran during the download: if the user has meanwhile
  // cancelled, disconnected or closed the window, no new dial is wanted.
  // The line may also have dropped meanwhile: the supervisor has then
  // booked it and owns the reconnection (or has ended the program).
  if (phase_ != Phase::Connected || disconnectRequested_ || !view_->Loaded()) return;

  // The working line is dropped on purpose: it is booked as it goes, as the
  // supervisor will not see it go.
  EndLine(ConnectionEnd::NewNumber);
  entry.PhoneNumber = number;
  view_->txtCombo.SetText(number);
  WaitForHandleRelease(ports_.DialUp, ports_.Pump, ports_.Clock, session_.ConnectionHandle, kHandleReleaseSeconds,
                       lastResult_);
  next_ = NextAttempt::SameLogin;
  SetPhase(Phase::RedialDue);
}

// Whoever can change the file's answer on its way can send every later call
// to a number of their choosing: a changed number is never stored without
// a word, and the number it replaced is kept for the user to put back.
void Connection::StoreNewNumber(const std::string& number) {
  const std::string key = RunningEntryKey();
  const std::string previous = store_.ReadRegValue(key, "PhoneNumber");
  // Stored at an earlier connection already; this line still dials the old one.
  if (previous == number) return;
  store_.SaveRegValue(key, kPreviousNumberValue, previous);
  store_.SaveRegValue(key, "PhoneNumber", number);
  AppendDetails("The number file " + entry_.FileURL + " changed the number from " + previous + " to " + number +
                ".");
  ports_.TrayIcon.ShowBalloon("Number changed", "The number of '" + runningEntryName_ + "' was changed from " +
                                                    previous + " to " + number + " by its number file.");
}

}  // namespace corvane
