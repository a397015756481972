// The numeric field rules of the options window.
#include "ui/option_field_rules.h"

#include <cmath>

#include "settings/settings_store.h"

namespace corvane {

namespace {

constexpr int kNotConnectedValue = 100;

}  // namespace

int WrappedScrollValue(const NumericFieldRule& rule, int value) {
  if (value <= rule.scrollMin) return rule.scrollMax - 1;
  if (value >= rule.scrollMax) return rule.scrollMin + 1;
  return value;
}

std::string ScrollValueText(const NumericFieldRule& rule, int value) {
  if (rule.offTime && value == kNotConnectedValue) return kNotConnectedText;
  return std::to_string(value);
}

TypedTextOutcome JudgeTypedText(const NumericFieldRule& rule, const std::string& text, int scrollValue) {
  TypedTextOutcome outcome;
  if (rule.offTime) {
    if (text == "100") {
      outcome.boxText = kNotConnectedText;
      return outcome;
    }
    // "nc" means the same as "NC" to saving, so it is no number 0 here either.
    if (IsNotConnectedText(text)) return outcome;
  }
  const double typed = LeadingNumber(text);
  // Halves go to the even neighbour, as the scroll bar's value always took them.
  const double rounded = std::nearbyint(typed);
  const bool accepted = typed < rule.acceptBelow && typed != rule.refused && rounded >= rule.scrollMin &&
                        rounded <= rule.scrollMax;
  if (accepted) {
    outcome.scrollValue = static_cast<int>(rounded);
    return outcome;
  }
  if (rule.offTime) {
    if (scrollValue == kNotConnectedValue) outcome.boxText = kNotConnectedText;
    else outcome.rangeMessage = true;  // the text stays as typed
    return outcome;
  }
  outcome.rangeMessage = true;
  outcome.boxText = ScrollValueText(rule, scrollValue);
  return outcome;
}

std::string RangeMessageText(const NumericFieldRule& rule) {
  return "The valid range is " + std::to_string(rule.messageLow) + " - " + std::to_string(rule.messageHigh);
}

}  // namespace corvane
