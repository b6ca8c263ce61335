#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "foundation/DateFormatter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "foundation/Timer.h"

namespace kinetra {

// Reads the day keys of the logs ahead, a slice at a time on the run loop, so that the date
// formatter (which remembers what it read) knows them all before a list of every day asks.
// ICU takes some microseconds for each key and ten years of logs hold thousands: read on
// demand, the first such list would wait tens of milliseconds. Between slices the run loop
// serves whatever else is waiting.
//
// The keys are copied when reading starts; a day removed meanwhile is read all the same, which
// is harmless. The formatter and the run loop must outlive this. The run loop's thread only.
class DayKeysAhead {
 public:
  // Keys read per slice: about a millisecond of ICU.
  static constexpr std::size_t kSlice = 128;
  // Seconds between slices.
  static constexpr double kPause = 0.001;

  DayKeysAhead(RunLoop& loop, const DateFormatter& days) : loop_(loop), days_(days) {}
  DayKeysAhead(const DayKeysAhead&) = delete;
  DayKeysAhead& operator=(const DayKeysAhead&) = delete;

  // Starts reading the keys of `logs` (a log that is not a dictionary has none), from the next
  // turn of the run loop; a reading under way is dropped.
  void start(std::initializer_list<const PropertyList*> logs);

  // Keys not read yet.
  std::size_t remaining() const { return keys_.size() - next_; }

 private:
  void readSlice();

  RunLoop& loop_;
  const DateFormatter& days_;
  std::vector<std::string> keys_;
  std::size_t next_ = 0;
  Timer timer_;
};

}  // namespace kinetra
