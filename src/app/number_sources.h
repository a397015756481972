// Where a dial's number and login come from: the phone list (the drop-down
// of cmbList, DialerForm::cmbList_DropDown), the user list
// (Connection::FindPhoneNumber) and the number file on the Web
// (Connection::ReadInternetFile); plus the pure parsing of their lines.
//
// Files that do not keep to their format never crash the program, never make
// up a login, and never shift the meaning of the lines after them:
// - Phone list: a file with fewer than two lines is read as far as it goes;
//   without a title line, with no "Phone" title in it, or with a line far
//   longer than a location's, the user is told the format is bad. Only the
//   title line is searched for the title.
// - User list: every line is read on its own. A blank line, or a line without
//   a ",", is not a login and is skipped; the logins keep their order. A list
//   without a single login is treated as a missing list.
// - Number file: only a first line that looks like a dial string is taken.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "forms/item_list.h"

namespace corvane {

// How long the number file's download may take, and how much of it is read.
inline constexpr unsigned kNumberFileTimeoutMs = 15000;
inline constexpr size_t kNumberFileMaxBytes = 4096;
// A number file's number is at most this long.
inline constexpr size_t kNumberFileNumberLength = 10;

// A phone-list line is a location's fields around a number of at most 128
// characters; a line longer than this is a wrong file or a broken export,
// and a control handed such a line can take minutes to draw it.
inline constexpr size_t kMaxPhoneListLine = 1024;

// True when some line of a phone list is longer than any location's line can
// be: the list is then refused as badly formatted before a line reaches a
// control.
bool HasOverlongPhoneListLine(const forms::ItemList& lines);

// The zero-based index of the phone field in a phone list's title line: the
// first field whose title, blanks before it skipped, begins with "Phone" in
// any letter case; failing that, the first field with "Phone" anywhere in
// its title ("Telephone"). -1 when no title has it.
int PhoneFieldIndex(std::string_view titleLine);

// The number that a phone-list line (or a number typed into the box) gives
// for phone field `phoneField`. A line holding a "," gives, for an index
// above 0, the text between the index-th "," and the next one, a "," being
// appended to the line first when it does not end with one (appendComma); a
// line with too few fields gives the whole line. For index 0, a line
// starting with "," gives everything after it; any other line is the number
// as it stands.
struct ListNumber {
  std::string number;
  bool appendComma = false;
};
ListNumber NumberFromListLine(std::string_view line, int phoneField);

// A user-list line as a login: the user name before the first ",", the
// password after it (further commas included). False, with both left alone,
// for a line that is no login: blank, or without a ",".
bool ParseUserLine(std::string_view line, std::string& name, std::string& password);

// True when `text` can be dialed: digits, with blanks and the dialing
// characters + - ( ) . , * # W P T (either case) between them.
bool IsDialString(std::string_view text);

// The number held by a number file's `body`: its first line (ended by CR or
// LF, or the end of the body; a UTF-8 byte-order mark and blanks around it
// dropped), cut to its first 10 characters. Empty when what is left after
// the cut is not a dial string.
std::string NumberFromNumberFile(std::string_view body);

}  // namespace corvane
