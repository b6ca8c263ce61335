#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/DateFormatter.h"
#include "foundation/PropertyList.h"
#include "graphics/Geometry.h"
#include "model/Weight.h"

namespace kinetra {

// What the progress graph shows, worked out from the log before anything is drawn, in the
// graph's own 480 × 320-point coordinates (origin top left, y down).
//
// The window holds the N most recent logged days (N by the duration segment: 7, 14, 28 or 56;
// 7 for any other selection) with a date label on every s-th slot (s = N / 7). Each logged day
// in the window has a value (GraphValue), cut to its integer part. The value axis runs from the
// smallest value (grid line y 220) in 10 steps of d = (largest − smallest) / 10, at least 1, to
// the top grid line (y 20).
//
// A day without a defined value (no sets, or repetitions summing to 0, when averaging) keeps
// its slot and date label but is left out of the scale: it gets no dot and the line goes
// straight from the slot before it to the slot after it. When no day of the window has a
// value, the axis counts from 0 by 1.
//
// Weights are plotted in the unit of the exercise's most recent set that names one (the last
// such set of the latest such day in the window's log); sets in the other unit are converted.
// The graph names what its value axis counts: that unit for the weight types, "reps" for the
// repetition types, nothing when no set names a unit.
struct GraphPlot {
  static constexpr int kDateLabels = 7;
  static constexpr int kValueLabels = 11;
  static constexpr std::string_view kNoDate = "-- / --";
  static constexpr std::string_view kRepsLabel = "reps";
  // Where the value axis's unit is drawn: just right of the axis, above the top grid line.
  static constexpr Point kUnitLabelAt{70, 4};

  struct Inputs {
    // The days with an entry of the exercise, oldest first, in `dayStyle`'s form.
    const std::vector<std::string>& previousDates;
    const PropertyList& exerciseLog;
    std::string_view exercise;
    int durationSegment = 0;
    int typeSegment = 0;
    const DateFormatter& dayStyle;  // reads the day strings
    const DateFormatter& monthDay;  // writes the axis labels ("MM/dd")
  };

  // N and s.
  int days = 7;
  int labelStep = 1;
  // Left to right, drawn at (95 + 50 × j, 247).
  std::array<std::string, kDateLabels> dateLabels;
  // One per logged day in the window, oldest first, already cut to the integer part; nothing
  // for a day without a defined value.
  std::vector<std::optional<double>> values;
  // What the value axis counts, drawn at the top of the axis; empty for nothing.
  std::string unitLabel;
  // False when the type segment selects no value: nothing is scaled or plotted.
  bool plotted = false;
  double minimum = 0;
  double step = 1;
  // Bottom to top, drawn at (40, 212 − 20 × i). Empty when not plotted.
  std::vector<std::string> valueLabels;
  // The line's points in order; the first is where the path starts.
  std::vector<Point> line;
  // The rectangles the dots are filled in.
  std::vector<Rect> dots;

  static GraphPlot make(const Inputs& inputs);
  // The unit of the most recent set of `exercise` over `days` (oldest first) whose weight text
  // names one; none when no set does.
  static WeightUnit latestUnit(const std::vector<std::string>& days, const PropertyList& log,
                               std::string_view exercise);
};

}  // namespace kinetra
