#pragma once

#include <string>

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/View.h"

namespace kinetra {

class RestTimer;

// The rest countdown's strip along the bottom of the strength entry pane: the time left
// ("Rest 01:25"), a shorter and a longer button and a cancel button; at the end "Rest over"
// on green with an OK button. Hidden while no rest is under way. The strip covers no field:
// while it shows, today's table ends above it. The run loop's thread only.
struct RestBar {
  static constexpr double kHeight = 44;

  // A strip `width` points wide, hidden, to be put at the bottom of its pane.
  explicit RestBar(double width);
  RestBar(const RestBar&) = delete;
  RestBar& operator=(const RestBar&) = delete;

  // "mm:ss" of a number of seconds ("01:30", "10:00"); negative counts as 0.
  static std::string clockText(int seconds);

  // Shows `timer` as it is now, and makes `table` (a sibling of the strip) end where the strip
  // begins, or at the bottom of their superview while the strip is hidden.
  void show(const RestTimer& timer, TableView& table);

  View bar;
  Label time;
  Button shorter;
  Button longer;
  Button cancel;

 private:
  void fitTable(TableView& table) const;
};

}  // namespace kinetra
