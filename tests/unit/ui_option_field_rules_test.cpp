// The numeric fields of the options window: what a typed text does to the
// scroll bar, the range message and the box, row by row; the scroll bars'
// wrap-around; the "NC" marker; the automatic hang-up time.
#include <gtest/gtest.h>

#include <string>

#include "ui/option_field_rules.h"

namespace corvane {
namespace {

// A text box and its scroll bar after the user typed `text` and both
// settled: the scroll bar's change wraps and writes its value back.
struct Settled {
  int scroll;
  std::string text;
  bool message;
};

Settled Type(const NumericFieldRule& rule, const std::string& text, int scroll) {
  Settled after{scroll, text, false};
  const TypedTextOutcome outcome = JudgeTypedText(rule, text, scroll);
  after.message = outcome.rangeMessage;
  if (outcome.boxText) after.text = *outcome.boxText;
  if (outcome.scrollValue && *outcome.scrollValue != scroll) {
    after.scroll = WrappedScrollValue(rule, *outcome.scrollValue);
    after.text = ScrollValueText(rule, after.scroll);
  }
  return after;
}

TEST(OptionFieldRulesTest, TypedTextsRowByRow) {
  struct Case {
    const char* field;
    NumericFieldRule rule;
    const char* typed;
    int scrollBefore;
    int scrollAfter;
    const char* textAfter;
    bool message;
  };
  const Case cases[] = {
      {"txtAhrs", kHoursRule, "12", 5, 12, "12", false},
      {"txtAhrs", kHoursRule, "999", 5, 999, "999", false},
      {"txtAhrs", kHoursRule, "1000", 5, 5, "5", true},
      {"txtAhrs", kHoursRule, "-1", 5, 5, "5", true},
      {"txtAhrs", kHoursRule, "", 5, 0, "0", false},
      {"txtAhrs", kHoursRule, "abc", 5, 0, "0", false},
      {"txtAhrs", kHoursRule, "-7", 5, 5, "5", true},
      {"txtAmin", kMinutesOfHourRule, "59", 1, 59, "59", false},
      {"txtAmin", kMinutesOfHourRule, "60", 1, 1, "1", true},
      {"txtAmin", kMinutesOfHourRule, "-1", 1, 1, "1", true},
      {"TxtRedial", kRedialCountRule, "7", 3, 7, "7", false},
      {"TxtRedial", kRedialCountRule, "", 3, 3, "3", true},
      {"TxtRedial", kRedialCountRule, "0", 3, 3, "3", true},
      {"TxtRedial", kRedialCountRule, "1000", 3, 3, "3", true},
      {"txtMinutes", kRedialMinutesRule, "0", 2, 0, "0", false},
      {"txtMinutes", kRedialMinutesRule, "99", 2, 99, "99", false},
      {"txtMinutes", kRedialMinutesRule, "100", 2, 2, "2", true},
      {"txtSeconds", kRedialSecondsRule, "", 1, 1, "1", true},
      {"txtSeconds", kRedialSecondsRule, "59", 1, 59, "59", false},
      {"txtSeconds", kRedialSecondsRule, "60", 1, 1, "1", true},
      {"txtOnTimeEx1", kOnTimeRule, "1000", 4, 0, "0", false},
      {"txtOnTimeEx1", kOnTimeRule, "1001", 4, 4, "4", true},
      {"txtOnTimeEx1", kOnTimeRule, "-1", 4, 4, "4", true},
      {"txtOffTimeEx1", kOffTimeRule, "30", 4, 30, "30", false},
      {"txtOffTimeEx1", kOffTimeRule, "100", 4, 4, "NC", false},
      {"txtOffTimeEx1", kOffTimeRule, "150", 4, 4, "150", true},
      {"txtOffTimeEx1", kOffTimeRule, "150", 100, 100, "NC", false},
      {"txtOffTimeEx1", kOffTimeRule, "NC", 4, 4, "NC", false},
      {"txtOffTimeEx1", kOffTimeRule, "nc", 4, 4, "nc", false},
      {"txtOffTimeEx1", kOffTimeRule, "-1", 4, 4, "-1", true},
      // A number already shown keeps the typed spelling: the scroll bar does not move.
      {"txtMinutes", kRedialMinutesRule, " 2", 2, 2, " 2", false},
      {"txtMinutes", kRedialMinutesRule, "2.5", 7, 2, "2", false},
      {"txtAllowMegabytes", kAllowanceMegabytesRule, "99999", 5, 99999, "99999", false},
      {"txtAllowMegabytes", kAllowanceMegabytesRule, "0", 5, 0, "0", false},
      {"txtAllowMegabytes", kAllowanceMegabytesRule, "100000", 5, 5, "5", true},
      {"txtWarnPercent", kWarnPercentRule, "99", 80, 99, "99", false},
      {"txtWarnPercent", kWarnPercentRule, "100", 80, 80, "80", true},
      {"txtWarnPercent", kWarnPercentRule, "0", 80, 80, "80", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " typed \"" + c.typed + "\"");
    const Settled after = Type(c.rule, c.typed, c.scrollBefore);
    EXPECT_EQ(after.scroll, c.scrollAfter);
    EXPECT_EQ(after.text, c.textAfter);
    EXPECT_EQ(after.message, c.message);
  }
}

TEST(OptionFieldRulesTest, RangeMessageNamesEachRowsRange) {
  EXPECT_EQ(RangeMessageText(kHoursRule), "The valid range is 1 - 999");
  EXPECT_EQ(RangeMessageText(kMinutesOfHourRule), "The valid range is 1 - 59");
  EXPECT_EQ(RangeMessageText(kRedialCountRule), "The valid range is 1 - 999");
  EXPECT_EQ(RangeMessageText(kRedialMinutesRule), "The valid range is 0 - 99");
  EXPECT_EQ(RangeMessageText(kRedialSecondsRule), "The valid range is 1 - 59");
  EXPECT_EQ(RangeMessageText(kOnTimeRule), "The valid range is 1 - 999");
  EXPECT_EQ(RangeMessageText(kOffTimeRule), "The valid range is 0 - 100");
  EXPECT_EQ(RangeMessageText(kAllowanceMegabytesRule), "The valid range is 1 - 99999");
  EXPECT_EQ(RangeMessageText(kWarnPercentRule), "The valid range is 1 - 99");
}

TEST(OptionFieldRulesTest, ScrollBarsWrapAtTheirMarkers) {
  struct Case {
    const char* bar;
    NumericFieldRule rule;
    int low;   // value the low marker becomes
    int high;  // value the high marker becomes
  };
  const Case cases[] = {
      {"vsbAhrs", kHoursRule, 999, 0},        {"vsbAmin", kMinutesOfHourRule, 59, 0},
      {"vsb1", kRedialCountRule, 999, 1},     {"vsb2", kRedialMinutesRule, 99, 0},
      {"vsb3", kRedialSecondsRule, 59, 1},    {"vsbOnTimeEx1", kOnTimeRule, 999, 0},
      {"vsbOffTimeEx1", kOffTimeRule, 100, 0},
      {"vsbAllowMegabytes", kAllowanceMegabytesRule, 99999, 0}, {"vsbWarnPercent", kWarnPercentRule, 99, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bar);
    EXPECT_EQ(WrappedScrollValue(c.rule, c.rule.scrollMin), c.low);
    EXPECT_EQ(WrappedScrollValue(c.rule, c.rule.scrollMax), c.high);
    EXPECT_EQ(WrappedScrollValue(c.rule, c.high + 1), c.high + 1);
  }
  EXPECT_EQ(ScrollValueText(kOffTimeRule, 100), "NC");
  EXPECT_EQ(ScrollValueText(kOnTimeRule, 100), "100");
}

TEST(OptionFieldRulesTest, NotConnectedInAnyCase) {
  for (const char* text : {"NC", "nc", "Nc", "nC"}) EXPECT_TRUE(IsNotConnectedText(text)) << text;
  for (const char* text : {"", "N", "NCC", " NC", "100"}) EXPECT_FALSE(IsNotConnectedText(text)) << text;
}

TEST(OptionFieldRulesTest, AutoDisconnectTimeInSecondsAndBack) {
  EXPECT_EQ(AutoDisconnectSeconds(10, 30), 37800);
  EXPECT_EQ(AutoDisconnectSeconds(999, 59), 3599940);
  struct Case {
    float seconds;
    int32_t hours;
    int32_t minutes;
  };
  const Case cases[] = {{37800.0f, 10, 30}, {0.0f, 0, 0}, {5459.9f, 1, 30}, {-5.0f, 0, 0}, {1e30f, 596523, 14}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    const HoursAndMinutes split = SplitAutoDisconnectTime(c.seconds);
    EXPECT_EQ(split.hours, c.hours);
    EXPECT_EQ(split.minutes, c.minutes);
  }
}

}  // namespace
}  // namespace corvane
