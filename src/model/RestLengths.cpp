#include "model/RestLengths.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace kinetra {

namespace {

// Whole seconds written as plain decimal digits and within the bounds; nothing otherwise.
std::optional<int> parseSeconds(const PropertyList& value) {
  if (!value.isString()) return std::nullopt;
  const std::string_view text = value.asString();
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (seconds < RestLengths::kMinimumSeconds || seconds > RestLengths::kMaximumSeconds) {
    return std::nullopt;
  }
  return seconds;
}

}  // namespace

int RestLengths::lengthFor(const PropertyList& settings, std::string_view exercise) {
  const PropertyList* lengths = settings.find(kKey);
  if (lengths == nullptr) return kDefaultSeconds;
  const PropertyList* value = lengths->find(exercise);
  if (value == nullptr) return kDefaultSeconds;
  return parseSeconds(*value).value_or(kDefaultSeconds);
}

int RestLengths::clamp(int seconds) {
  return std::clamp(seconds, kMinimumSeconds, kMaximumSeconds);
}

bool RestLengths::remember(PropertyList& settings, std::string_view exercise, int seconds) {
  if (!settings.isDictionary()) return false;
  PropertyList& lengths = settings.asDictionary()[std::string(kKey)];
  if (!lengths.isDictionary()) lengths = PropertyList::Dictionary{};
  lengths.asDictionary()[std::string(exercise)] = std::to_string(clamp(seconds));
  return true;
}

}  // namespace kinetra
