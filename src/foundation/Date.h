#pragma once

#include <compare>

namespace kinetra {

// A moment in time: seconds since 1970-01-01 00:00:00 UTC, with fractions. A plain value; it
// knows nothing of calendars or time zones (the date formatter does).
class Date {
 public:
  constexpr Date() = default;
  constexpr explicit Date(double secondsSince1970) : seconds_(secondsSince1970) {}

  constexpr double timeIntervalSince1970() const { return seconds_; }
  // Seconds from `other` to this moment; negative when this one is earlier.
  constexpr double timeIntervalSinceDate(Date other) const { return seconds_ - other.seconds_; }
  constexpr Date addingTimeInterval(double seconds) const { return Date(seconds_ + seconds); }

  constexpr auto operator<=>(const Date&) const = default;

 private:
  double seconds_ = 0;
};

}  // namespace kinetra
