// The money texts.
#include "stats/money_text.h"

namespace corvane {

std::string AmountText(int64_t minorUnits, int decimals) {
  const bool negative = minorUnits < 0;
  std::string digits = std::to_string(negative ? -minorUnits : minorUnits);
  if (decimals > 0) {
    if (digits.size() <= static_cast<size_t>(decimals)) digits.insert(0, decimals + 1 - digits.size(), '0');
    digits.insert(digits.size() - decimals, 1, '.');
  }
  return negative ? "-" + digits : digits;
}

std::string MoneyText(int64_t minorUnits, int decimals, const std::string& currency) {
  const std::string amount = AmountText(minorUnits, decimals);
  return currency.empty() ? amount : amount + " " + currency;
}

std::optional<int64_t> ParseAmount(std::string_view text, int decimals, int64_t maximum) {
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
  if ((whole.empty() && fraction.empty()) || fraction.size() > static_cast<size_t>(decimals)) return std::nullopt;
  if (point != std::string_view::npos && fraction.empty()) return std::nullopt;
  int64_t value = 0;
  const auto add = [&value, maximum](char digit) {
    if (digit < '0' || digit > '9' || value > (maximum - (digit - '0')) / 10) return false;
    value = value * 10 + (digit - '0');
    return true;
  };
  for (const char digit : whole) {
    if (!add(digit)) return std::nullopt;
  }
  for (int i = 0; i < decimals; ++i) {
    if (!add(static_cast<size_t>(i) < fraction.size() ? fraction[i] : '0')) return std::nullopt;
  }
  return value;
}

}  // namespace corvane
