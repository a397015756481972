// Amounts of money as texts: whole minor units shown with the currency's
// decimals ("3.40 EUR"), and the user's typing read back exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// "3.40" for 340 with 2 decimals; "-0.05" below zero.
std::string AmountText(int64_t minorUnits, int decimals);
// "3.40 EUR"; without a currency just the amount.
std::string MoneyText(int64_t minorUnits, int decimals, const std::string& currency);

// "3.4", "3.40", "3" or "0.5" with 2 decimals in minor units (340, 340,
// 300, 50); nullopt for more decimals than the currency has, a sign, a
// blank or anything not a number, or an amount past `maximum`.
std::optional<int64_t> ParseAmount(std::string_view text, int decimals, int64_t maximum);

}  // namespace corvane
