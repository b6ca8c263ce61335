#include "foundation/DateFormatter.h"

#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kinetra {
namespace {

using testing::ScopedEnvironment;

constexpr double kDay = 86400;
// 2010-01-05 00:00:00 UTC.
constexpr Date kJan5th2010Utc(1262649600);

std::unique_ptr<DateFormatter> usEnglish(const std::string& zone) {
  return DateFormatter::mediumStyle({.locale = "en_US", .timeZone = zone});
}

TEST(DateFormatterTest, MediumStyleWritesTheLocalCalendarDay) {
  auto utc = usEnglish("UTC");
  EXPECT_EQ(utc->stringFromDate(kJan5th2010Utc), "Jan 5, 2010");
  EXPECT_EQ(utc->stringFromDate(kJan5th2010Utc.addingTimeInterval(kDay - 1)), "Jan 5, 2010");
  EXPECT_EQ(utc->stringFromDate(kJan5th2010Utc.addingTimeInterval(kDay)), "Jan 6, 2010");

  // 03:00 UTC is still the evening before in New York.
  auto newYork = usEnglish("America/New_York");
  EXPECT_EQ(newYork->stringFromDate(kJan5th2010Utc.addingTimeInterval(3 * 3600)), "Jan 4, 2010");

  auto german = DateFormatter::mediumStyle({.locale = "de_DE", .timeZone = "UTC"});
  EXPECT_EQ(german->stringFromDate(kJan5th2010Utc), "05.01.2010");
}

TEST(DateFormatterTest, ParsingGivesTheFirstMomentOfThatLocalDay) {
  EXPECT_EQ(usEnglish("UTC")->dateFromString("Jan 5, 2010"), kJan5th2010Utc);
  // Midnight in New York is 05:00 UTC in winter and 04:00 UTC in summer.
  auto newYork = usEnglish("America/New_York");
  EXPECT_EQ(newYork->dateFromString("Jan 5, 2010"), kJan5th2010Utc.addingTimeInterval(5 * 3600));
  EXPECT_EQ(newYork->dateFromString("Jul 4, 2010"), Date(1278216000));
  // The day daylight saving time starts still begins at midnight.
  EXPECT_EQ(newYork->dateFromString("Mar 14, 2010"), Date(1268542800));
}

TEST(DateFormatterTest, DayWithoutAMidnightStartsAfterTheGap) {
  // Sao Paulo moved its clocks from 00:00 to 01:00 on 4 November 2018.
  auto saoPaulo = usEnglish("America/Sao_Paulo");
  const auto start = saoPaulo->dateFromString("Nov 4, 2018");
  ASSERT_TRUE(start.has_value());
  EXPECT_EQ(*start, Date(1541300400));  // 01:00 local, UTC-2
  EXPECT_EQ(saoPaulo->stringFromDate(*start), "Nov 4, 2018");
}

TEST(DateFormatterTest, TheNextDayStartsAtTheNextLocalMidnightOrJustAfterItsGap) {
  auto saoPaulo = usEnglish("America/Sao_Paulo");
  // From late in the evening before the gap, and from the last second before it.
  const Date gapEnd(1541300400);  // Nov 4, 2018 01:00 local
  EXPECT_EQ(saoPaulo->startOfNextDay(gapEnd.addingTimeInterval(-3600)), gapEnd);
  EXPECT_EQ(saoPaulo->startOfNextDay(gapEnd.addingTimeInterval(-1)), gapEnd);
  // A day of 23 hours is followed by one of 24.
  EXPECT_EQ(saoPaulo->startOfNextDay(gapEnd), saoPaulo->dateFromString("Nov 5, 2018"));

  // Samoa skipped Dec 30, 2011 altogether: the day after Dec 29 is Dec 31.
  auto apia = usEnglish("Pacific/Apia");
  const auto dec29 = apia->dateFromString("Dec 29, 2011");
  ASSERT_TRUE(dec29.has_value());
  const auto next = apia->startOfNextDay(dec29->addingTimeInterval(20 * 3600));
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(apia->stringFromDate(*next), "Dec 31, 2011");
  EXPECT_EQ(apia->stringFromDate(next->addingTimeInterval(-1)), "Dec 29, 2011");
}

TEST(DateFormatterTest, EveryDayOfSeveralYearsRoundTrips) {
  for (const char* zone : {"UTC", "Europe/Berlin", "America/Los_Angeles", "Australia/Lord_Howe"}) {
    auto formatter = usEnglish(zone);
    for (int dayIndex = 0; dayIndex < 3 * 366; ++dayIndex) {
      const Date noon = kJan5th2010Utc.addingTimeInterval(dayIndex * kDay + 12 * 3600);
      const std::string text = formatter->stringFromDate(noon);
      const auto start = formatter->dateFromString(text);
      ASSERT_TRUE(start.has_value()) << zone << " " << text;
      EXPECT_LE(*start, noon) << zone << " " << text;
      EXPECT_GT(start->addingTimeInterval(25 * 3600), noon) << zone << " " << text;
      EXPECT_EQ(formatter->stringFromDate(*start), text) << zone;
      EXPECT_NE(formatter->stringFromDate(start->addingTimeInterval(-1)), text) << zone;
      // Every moment of a day leads to the start of the next one.
      const auto next = formatter->startOfNextDay(noon);
      ASSERT_TRUE(next.has_value()) << zone << " " << text;
      EXPECT_EQ(formatter->startOfNextDay(*start), next) << zone << " " << text;
      EXPECT_EQ(formatter->stringFromDate(next->addingTimeInterval(-0.001)), text) << zone;
      EXPECT_EQ(formatter->dateFromString(formatter->stringFromDate(*next)), next) << zone;
    }
  }
}

TEST(DateFormatterTest, ParsingIsStrict) {
  auto formatter = usEnglish("UTC");
  for (const char* bad :
       {"", "Jan 5, 2010x", "Jan 5, 2010 ", " Jan 5, 2010", "Jan 32, 2010", "Feb 30, 2010",
        "Jan 5 2010", "January 5, 2010x", "5 Jan 2010", "01/05/2010", "Jan 5,, 2010", "garbage",
        "Jan\xff 5, 2010", "Jan 5, 2010\n"}) {
    EXPECT_FALSE(formatter->dateFromString(bad).has_value()) << '"' << bad << '"';
  }
  // A string with an embedded NUL is not the day before the NUL.
  EXPECT_FALSE(formatter->dateFromString(std::string("Jan 5, 2010\0x", 13)).has_value());
}

TEST(DateFormatterTest, MonthDayPatternForGraphLabels) {
  auto labels = DateFormatter::withPattern("MM/dd", {.locale = "en_US", .timeZone = "UTC"});
  EXPECT_EQ(labels->stringFromDate(kJan5th2010Utc), "01/05");
  EXPECT_EQ(labels->stringFromDate(Date(1293753600)), "12/31");
}

TEST(DateFormatterTest, LocaleComesFromTheEnvironment) {
  ScopedEnvironment all("LC_ALL", nullptr);
  ScopedEnvironment time("LC_TIME", nullptr);
  {
    ScopedEnvironment lang("LANG", nullptr);
    EXPECT_EQ(DateFormatter::environmentLocale(), "en_US");
  }
  {
    ScopedEnvironment lang("LANG", "C");
    EXPECT_EQ(DateFormatter::environmentLocale(), "en_US");
  }
  {
    ScopedEnvironment lang("LANG", "POSIX");
    EXPECT_EQ(DateFormatter::environmentLocale(), "en_US");
  }
  {
    ScopedEnvironment lang("LANG", "de_DE.UTF-8@euro");
    EXPECT_EQ(DateFormatter::environmentLocale(), "de_DE");
    ScopedEnvironment timeOverride("LC_TIME", "fr_FR.UTF-8");
    EXPECT_EQ(DateFormatter::environmentLocale(), "fr_FR");
    ScopedEnvironment allOverride("LC_ALL", "en_GB.UTF-8");
    EXPECT_EQ(DateFormatter::environmentLocale(), "en_GB");
    EXPECT_EQ(DateFormatter::mediumStyle({.locale = "", .timeZone = "UTC"})
                  ->stringFromDate(kJan5th2010Utc),
              "5 Jan 2010");
  }
}

// Remembered answers are the answers: a text read twice, a refusal read twice, a moment written
// twice, and the same after the formatter has started over.
TEST(DateFormatterTest, RememberedAnswersMatchFreshOnesAndSurviveStartingOver) {
  const auto formatter = DateFormatter::mediumStyle({.locale = "en_US", .timeZone = "UTC"});
  const std::optional<Date> day = formatter->dateFromString("Jan 5, 2010");
  ASSERT_TRUE(day.has_value());
  EXPECT_EQ(formatter->dateFromString("Jan 5, 2010"), day);
  EXPECT_FALSE(formatter->dateFromString("Jan 32, 2010").has_value());
  EXPECT_FALSE(formatter->dateFromString("Jan 32, 2010").has_value());
  EXPECT_FALSE(formatter->dateFromString(std::string(100, 'x')).has_value());
  EXPECT_EQ(formatter->stringFromDate(*day), "Jan 5, 2010");
  EXPECT_EQ(formatter->stringFromDate(*day), "Jan 5, 2010");

  // More distinct days than are remembered, each read back as the day it was written from.
  const double first = day->timeIntervalSince1970();
  for (std::size_t i = 0; i < DateFormatter::kRemembered + 10; ++i) {
    const Date moment(first + 86400.0 * static_cast<double>(i));
    const std::string text = formatter->stringFromDate(moment);
    ASSERT_EQ(formatter->dateFromString(text), moment) << text;
  }
  EXPECT_EQ(formatter->stringFromDate(*day), "Jan 5, 2010");
  EXPECT_EQ(formatter->dateFromString("Jan 5, 2010"), day);
}

}  // namespace
}  // namespace kinetra
