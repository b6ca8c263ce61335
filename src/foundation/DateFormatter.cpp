#include "foundation/DateFormatter.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace kinetra {

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;

icu::Locale localeFor(const DateFormatter::Options& options) {
  const std::string id =
      options.locale.empty() ? DateFormatter::environmentLocale() : options.locale;
  return icu::Locale::createFromName(id.c_str());
}

std::unique_ptr<icu::TimeZone> timeZoneFor(const DateFormatter::Options& options) {
  if (options.timeZone.empty())
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createDefault());
  return std::unique_ptr<icu::TimeZone>(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(options.timeZone)));
}

// No leniency of any kind: the text must be exactly what the pattern writes.
void makeStrict(icu::DateFormat& format) {
  UErrorCode status = U_ZERO_ERROR;
  format.setLenient(false);
  format.setBooleanAttribute(UDAT_PARSE_ALLOW_WHITESPACE, false, status);
  format.setBooleanAttribute(UDAT_PARSE_ALLOW_NUMERIC, false, status);
  format.setBooleanAttribute(UDAT_PARSE_PARTIAL_LITERAL_MATCH, false, status);
  format.setBooleanAttribute(UDAT_PARSE_MULTIPLE_PATTERNS_FOR_MATCH, false, status);
}

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The part of a POSIX locale name ICU understands: "de_DE.UTF-8@euro" → "de_DE".
std::string stripEncoding(std::string name) {
  const auto cut = name.find_first_of(".@");
  if (cut != std::string::npos) name.erase(cut);
  return name;
}

}  // namespace

class DateFormatter::Impl {
 public:
  Impl(std::unique_ptr<icu::DateFormat> format, const icu::Locale& locale,
       std::unique_ptr<icu::TimeZone> zone)
      : format_(std::move(format)), localeName_(locale.getName()) {
    UErrorCode status = U_ZERO_ERROR;
    format_->setTimeZone(*zone);
    makeStrict(*format_);
    // Parsing happens in UTC, which has no gaps, so that a local day whose midnight does not
    // exist still parses; its start is then resolved in the local zone.
    parsed_ = std::make_unique<icu::GregorianCalendar>(*icu::TimeZone::getGMT(), locale, status);
    parsed_->setLenient(false);
    dayStart_ = std::make_unique<icu::GregorianCalendar>(zone.release(), locale, status);
    dayStart_->setLenient(true);
  }

  // Uncached: DateFormatter remembers what it formats and parses.
  std::string format(Date date) const {
    icu::UnicodeString text;
    format_->format(date.timeIntervalSince1970() * kMillisecondsPerSecond, text);
    std::string out;
    text.toUTF8String(out);
    return out;
  }

  std::optional<Date> parse(std::string_view text) const {
    // ICU skips leading white space even when told not to be lenient.
    if (text.empty() || isWhiteSpace(text.front()) || isWhiteSpace(text.back())) {
      return std::nullopt;
    }
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::ParsePosition position(0);
    parsed_->clear();
    format_->parse(unicode, *parsed_, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != unicode.length()) {
      return std::nullopt;
    }
    return startOfParsedDay();
  }

  const std::string& localeName() const { return localeName_; }

  std::optional<Date> startOfNextDay(Date moment) const {
    UErrorCode status = U_ZERO_ERROR;
    dayStart_->setTime(moment.timeIntervalSince1970() * kMillisecondsPerSecond, status);
    const int32_t era = dayStart_->get(UCAL_ERA, status);
    const int32_t year = dayStart_->get(UCAL_YEAR, status);
    const int32_t month = dayStart_->get(UCAL_MONTH, status);
    const int32_t day = dayStart_->get(UCAL_DATE, status);
    if (U_FAILURE(status)) return std::nullopt;
    // The lenient calendar carries day + 1 into the next month or year.
    const std::optional<Date> next = startOfDay(era, year, month, day + 1);
    if (!next || *next <= moment) return std::nullopt;
    return next;
  }

 private:
  // The first moment of the day the last parse named. A time zone that skips midnight (a
  // transition at 00:00) starts the day at the first instant after the gap, as the lenient
  // calendar resolves it.
  std::optional<Date> startOfParsedDay() const {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t era = parsed_->get(UCAL_ERA, status);
    const int32_t year = parsed_->get(UCAL_YEAR, status);
    const int32_t month = parsed_->get(UCAL_MONTH, status);
    const int32_t day = parsed_->get(UCAL_DATE, status);
    if (U_FAILURE(status)) return std::nullopt;
    return startOfDay(era, year, month, day);
  }

  // Midnight of a local day; in a zone that skips midnight, the first instant after the gap.
  std::optional<Date> startOfDay(int32_t era, int32_t year, int32_t month, int32_t day) const {
    UErrorCode status = U_ZERO_ERROR;
    dayStart_->clear();
    dayStart_->set(UCAL_ERA, era);
    dayStart_->set(year, month, day, 0, 0, 0);
    const UDate moment = dayStart_->getTime(status);
    if (U_FAILURE(status)) return std::nullopt;
    return Date(moment / kMillisecondsPerSecond);
  }

  std::unique_ptr<icu::DateFormat> format_;
  std::unique_ptr<icu::Calendar> parsed_;
  std::unique_ptr<icu::Calendar> dayStart_;
  std::string localeName_;
};

std::unique_ptr<DateFormatter> DateFormatter::mediumStyle(const Options& options) {
  const icu::Locale locale = localeFor(options);
  std::unique_ptr<icu::DateFormat> format(
      icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, locale));
  if (!format) {
    format.reset(
        icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, icu::Locale::getUS()));
  }
  return std::make_unique<DateFormatter>(
      std::make_unique<Impl>(std::move(format), locale, timeZoneFor(options)));
}

std::unique_ptr<DateFormatter> DateFormatter::withPattern(std::string_view pattern,
                                                          const Options& options) {
  const icu::Locale locale = localeFor(options);
  UErrorCode status = U_ZERO_ERROR;
  auto format = std::make_unique<icu::SimpleDateFormat>(
      icu::UnicodeString::fromUTF8(
          icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size()))),
      locale, status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(u"MM/dd"), locale, status);
  }
  return std::make_unique<DateFormatter>(
      std::make_unique<Impl>(std::move(format), locale, timeZoneFor(options)));
}

DateFormatter::DateFormatter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DateFormatter::~DateFormatter() = default;

std::string DateFormatter::stringFromDate(Date date) const {
  const double seconds = date.timeIntervalSince1970();
  if (std::isnan(seconds)) return impl_->format(date);
  const auto bits = std::bit_cast<std::uint64_t>(seconds);
  if (auto known = formatted_.find(bits); known != formatted_.end()) return known->second;
  if (formatted_.size() >= kRemembered) formatted_.clear();
  return formatted_.emplace(bits, impl_->format(date)).first->second;
}

std::optional<Date> DateFormatter::dateFromString(std::string_view text) const {
  // A day's text is short; anything long is not remembered, so memory stays small.
  constexpr std::size_t kLongestRemembered = 64;
  if (text.size() > kLongestRemembered) return impl_->parse(text);
  if (auto known = parsed_.find(text); known != parsed_.end()) return known->second;
  if (parsed_.size() >= kRemembered) parsed_.clear();
  return parsed_.emplace(std::string(text), impl_->parse(text)).first->second;
}

std::optional<Date> DateFormatter::startOfNextDay(Date moment) const {
  return impl_->startOfNextDay(moment);
}

const std::string& DateFormatter::localeName() const { return impl_->localeName(); }

std::string DateFormatter::environmentLocale() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    const std::string name = stripEncoding(value);
    if (name.empty() || name == "C" || name == "POSIX") return "en_US";
    return name;
  }
  return "en_US";
}

}  // namespace kinetra
