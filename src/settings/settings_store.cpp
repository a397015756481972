// The settings store's three operations over the registry port, and the rule
// by which a stored text becomes a number.
#include "settings/settings_store.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

namespace corvane {

namespace {

// Closes a key of the port when it goes out of scope, so every return path
// of an operation leaves no key open.
class KeyCloser {
 public:
  KeyCloser(RegistryPort& registry, RegKey key) : registry_(registry), key_(key) {}
  ~KeyCloser() { registry_.CloseKey(key_); }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  RegistryPort& registry_;
  RegKey key_;
};

// The first read uses a fixed buffer; longer values take a size query and a
// second read.
constexpr uint32_t kFirstReadSize = 254;

// A leading decimal number split into its parts, digits kept as text so the
// rounding to an integer is exact however long the text is.
struct DecimalText {
  bool found = false;
  bool negative = false;
  std::string_view integerDigits;
  std::string_view fractionDigits;
};

DecimalText SplitLeadingNumber(std::string_view text) {
  DecimalText number;
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    number.negative = text[pos] == '-';
    ++pos;
  }
  const size_t intStart = pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
  number.integerDigits = text.substr(intStart, pos - intStart);
  if (pos < text.size() && text[pos] == '.') {
    const size_t fracStart = ++pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
    number.fractionDigits = text.substr(fracStart, pos - fracStart);
  }
  number.found = !number.integerDigits.empty() || !number.fractionDigits.empty();
  return number;
}

// The number rounded to an integer, halves to even; nullopt when it does not
// fit 64 bits (far outside every field anyway).
std::optional<int64_t> RoundToInteger(const DecimalText& number) {
  if (!number.found) return 0;
  std::string_view digits = number.integerDigits;
  while (!digits.empty() && digits.front() == '0') digits.remove_prefix(1);
  if (digits.size() > 18) return std::nullopt;
  int64_t magnitude = 0;
  for (char c : digits) magnitude = magnitude * 10 + (c - '0');

  const std::string_view fraction = number.fractionDigits;
  if (!fraction.empty()) {
    const char first = fraction.front();
    const bool restNonZero = fraction.find_first_not_of('0', 1) != std::string_view::npos;
    const bool aboveHalf = first > '5' || (first == '5' && restNonZero);
    const bool exactlyHalf = first == '5' && !restNonZero;
    if (aboveHalf || (exactlyHalf && magnitude % 2 != 0)) ++magnitude;
  }
  return number.negative ? -magnitude : magnitude;
}

template <typename Int>
Int ReadInteger(const std::string& text, Int fallback) {
  if (text.empty()) return fallback;
  const std::optional<int64_t> value = RoundToInteger(SplitLeadingNumber(text));
  if (!value || *value < std::numeric_limits<Int>::min() || *value > std::numeric_limits<Int>::max()) {
    return fallback;
  }
  return static_cast<Int>(*value);
}

// Parses the number in a fixed, locale-free form: [-]digits.digits
template <typename Real>
std::optional<Real> ParseReal(const DecimalText& number) {
  if (!number.found) return Real{0};
  std::string normal;
  normal.reserve(number.integerDigits.size() + number.fractionDigits.size() + 3);
  if (number.negative) normal += '-';
  normal += number.integerDigits.empty() ? std::string_view("0") : number.integerDigits;
  if (!number.fractionDigits.empty()) {
    normal += '.';
    normal += number.fractionDigits;
  }
  Real value{};
  const auto [end, error] =
      std::from_chars(normal.data(), normal.data() + normal.size(), value, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    // Only a tiny fraction underflows without an exponent; anything with
    // non-zero integer digits overflowed.
    if (number.integerDigits.find_first_not_of('0') == std::string_view::npos) {
      return number.negative ? -Real{0} : Real{0};
    }
    return std::nullopt;
  }
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

SettingsStore::SettingsStore(RegistryPort& registry) : registry_(registry) {}

std::string SettingsStore::ReadRegValue(const std::string& keyPath, const std::string& valueName) {
  RegKey key = 0;
  // A read never creates the key: looking at a name is not making an entry.
  int32_t status = registry_.OpenKeyForEnum(RootHive, keyPath, key);
  if (status != kRegSuccess) return {};
  KeyCloser closer(registry_, key);

  std::string text(kFirstReadSize, '\0');
  uint32_t size = kFirstReadSize;
  status = registry_.QueryValue(key, valueName, text.data(), size);
  if (status != kRegSuccess) {
    // Too long for the first buffer (or missing): ask for the size, then
    // read again with a buffer that fits.
    size = 0;
    status = registry_.QueryValue(key, valueName, nullptr, size);
    if (status == kRegSuccess) {
      text.assign(size, '\0');
      status = registry_.QueryValue(key, valueName, text.data(), size);
    }
    if (status != kRegSuccess) return {};
  }
  // The port reports the stored byte count, never more than the buffer.
  text.resize(std::min<size_t>(size, text.size()));
  return StripNull(text);
}

bool SettingsStore::SaveRegValue(const std::string& keyPath, const std::string& valueName,
                                 const std::string& text) {
  RegKey key = 0;
  if (registry_.CreateKey(RootHive, keyPath, key) != kRegSuccess) return false;
  KeyCloser closer(registry_, key);
  return registry_.SetStringValue(key, valueName, text) == kRegSuccess;
}

bool SettingsStore::CreateRegKey(const std::string& keyPath) {
  RegKey key = 0;
  if (registry_.CreateKey(RootHive, keyPath, key) != kRegSuccess) return false;
  registry_.CloseKey(key);
  return true;
}

bool SettingsStore::DeleteRegKey(const std::string& keyPath) {
  return registry_.DeleteLeafKey(RootHive, keyPath) == kRegSuccess;
}

std::vector<std::string> SettingsStore::EnumEntries() {
  CustomEntryKey.clear();
  std::vector<std::string> names;

  RegKey key = 0;
  if (registry_.OpenKeyForEnum(RootHive, SettingsRoot, key) != kRegSuccess) return names;
  KeyCloser closer(registry_, key);

  for (uint32_t index = 0;; ++index) {
    std::string name;
    if (registry_.EnumSubkey(key, index, name) != kRegSuccess) break;
    if (!name.empty() && name.front() == '*') {
      CustomEntryKey = name;
    } else {
      names.push_back(std::move(name));
    }
  }
  // Each name goes in front of the list: the reverse of the registry's order.
  std::reverse(names.begin(), names.end());
  return names;
}

std::string StripNull(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

std::string JoinEntryList(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) {
    joined += name;
    joined += ';';
  }
  return joined;
}

double LeadingNumber(std::string_view text) {
  const std::optional<double> value = ParseReal<double>(SplitLeadingNumber(text));
  if (value) return *value;
  return SplitLeadingNumber(text).negative ? -std::numeric_limits<double>::infinity()
                                           : std::numeric_limits<double>::infinity();
}

uint8_t ReadByte(const std::string& text, uint8_t fallback) {
  return ReadInteger<uint8_t>(text, fallback);
}

int32_t ReadInt32(const std::string& text, int32_t fallback) {
  return ReadInteger<int32_t>(text, fallback);
}

float ReadFloat(const std::string& text, float fallback) {
  if (text.empty()) return fallback;
  const std::optional<float> value = ParseReal<float>(SplitLeadingNumber(text));
  return value ? *value : fallback;
}

}  // namespace corvane
