#include "model/DayKeysAhead.h"

#include <algorithm>

namespace kinetra {

void DayKeysAhead::start(std::initializer_list<const PropertyList*> logs) {
  keys_.clear();
  next_ = 0;
  for (const PropertyList* log : logs) {
    if (log == nullptr || !log->isDictionary()) continue;
    for (const auto& [key, day] : log->asDictionary()) keys_.push_back(key);
  }
  keys_.shrink_to_fit();
  timer_ = keys_.empty() ? Timer() : loop_.schedule(0, [this] { readSlice(); });
}

void DayKeysAhead::readSlice() {
  const std::size_t end = std::min(keys_.size(), next_ + kSlice);
  for (; next_ < end; ++next_) static_cast<void>(days_.dateFromString(keys_[next_]));
  if (next_ < keys_.size()) {
    // A pause, not a timer due at once: the clock fires every timer already due before the run
    // loop looks at anything else.
    timer_ = loop_.schedule(kPause, [this] { readSlice(); });
  } else {
    keys_ = {};
    next_ = 0;
  }
}

}  // namespace kinetra
