#pragma once

#include "foundation/Date.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kinetra {

// Turns moments into calendar-day strings and back, in one locale and time zone.
//
// The medium style writes a day the way the user's locale writes it without a time ("Jan 5,
// 2010" in U.S. English); a pattern formatter writes a fixed ICU pattern ("MM/dd"). Parsing is
// strict: the whole string must be consumed and no lenient reading is allowed, so "Jan 5,
// 2010x" or "Jan 32, 2010" are rejected. A parsed day is the first moment of that day in the
// formatter's time zone (midnight, or the first instant after a transition that skips it).
//
// Creating a formatter costs a fraction of a millisecond; formatting and parsing cost
// microseconds the first time. A formatter remembers what it has parsed (texts of up to 64
// bytes) and formatted, up to kRemembered of each (then it starts over), since the same few
// thousand days of the logs are read and written again on many screens. Create one and keep it. Not
// thread-safe (nothing here runs off the one thread).
class DateFormatter {
 public:
  struct Options {
    // ICU locale id ("en_US", "de_DE"); empty: from the environment.
    std::string locale;
    // Olson time zone id ("Europe/Berlin"); empty: the process's default time zone.
    std::string timeZone;
  };

  // The medium date style, no time.
  static std::unique_ptr<DateFormatter> mediumStyle(const Options& options = {});
  // A fixed ICU pattern such as "MM/dd".
  static std::unique_ptr<DateFormatter> withPattern(std::string_view pattern,
                                                    const Options& options = {});

  class Impl;
  // Use the factories above; Impl is private to the formatter.
  explicit DateFormatter(std::unique_ptr<Impl> impl);
  ~DateFormatter();
  DateFormatter(const DateFormatter&) = delete;
  DateFormatter& operator=(const DateFormatter&) = delete;

  std::string stringFromDate(Date date) const;
  // The start of the day `text` names, or nothing when `text` is not exactly such a day.
  std::optional<Date> dateFromString(std::string_view text) const;
  // The first moment of the calendar day after the one `moment` falls on, in the formatter's
  // time zone: the next local midnight, or the first instant after a transition that skips it.
  // Nothing when the calendar cannot tell (a moment far outside its range).
  std::optional<Date> startOfNextDay(Date moment) const;

  // How many parsed texts, and as many formatted moments, a formatter remembers.
  static constexpr std::size_t kRemembered = 1 << 16;

  // The ICU locale id the formatter uses.
  const std::string& localeName() const;

  // The locale the environment asks for: LC_ALL, then LC_TIME, then LANG, with the encoding and
  // modifier stripped ("de_DE.UTF-8@euro" → "de_DE"). Unset, empty, "C" or "POSIX" → "en_US".
  static std::string environmentLocale();

 private:
  // std::equal_to<> and a transparent hash let texts be looked up as string views.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };

  std::unique_ptr<Impl> impl_;
  mutable std::unordered_map<std::string, std::optional<Date>, TextHash, std::equal_to<>> parsed_;
  // By the moment's bits: equal moments have equal bits (a NaN is never remembered).
  mutable std::unordered_map<std::uint64_t, std::string> formatted_;
};

}  // namespace kinetra
