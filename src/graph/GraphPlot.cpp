#include "graph/GraphPlot.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

#include "graph/GraphValue.h"

namespace kinetra {

namespace {

struct Window {
  int days;
  int labelStep;
};

Window windowForSegment(int segment) {
  switch (segment) {
    case 1:
      return {14, 2};
    case 2:
      return {28, 4};
    case 3:
      return {56, 8};
    default:
      return {7, 1};
  }
}

// The index into the day list of slot `slot`, or nothing past the logged days: the last
// `days` days are shown when there are more.
std::optional<std::size_t> dayIndex(int slot, std::size_t count, int days) {
  const auto window = static_cast<std::size_t>(days);
  const auto k = static_cast<std::size_t>(slot);
  if (count > window) return k + count - window;
  if (k < count) return k;
  return std::nullopt;
}

// "%d" of a truncated value, held to the range of an int so that absurd logged numbers still
// give a label.
std::string integerText(double value) {
  if (std::isnan(value)) return "0";
  const double whole = std::trunc(value);
  if (whole >= static_cast<double>(INT_MAX)) return std::to_string(INT_MAX);
  if (whole <= static_cast<double>(INT_MIN)) return std::to_string(INT_MIN);
  return std::to_string(static_cast<int>(whole));
}

std::string dateLabel(const std::string& day, const GraphPlot::Inputs& inputs) {
  const std::optional<Date> moment = inputs.dayStyle.dateFromString(day);
  return moment ? inputs.monthDay.stringFromDate(*moment) : std::string(GraphPlot::kNoDate);
}

const PropertyList& entryOf(const PropertyList& log, const std::string& day,
                            std::string_view exercise) {
  static const PropertyList kNoEntry = PropertyList::Array{};
  const PropertyList* dayEntries = log.isDictionary() ? log.find(day) : nullptr;
  if (dayEntries == nullptr || !dayEntries->isDictionary()) return kNoEntry;
  const PropertyList* entry = dayEntries->find(exercise);
  return entry != nullptr ? *entry : kNoEntry;
}

void collectValues(GraphPlot& plot, const GraphPlot::Inputs& inputs, GraphValue::Type type,
                   WeightUnit unit) {
  const std::size_t count = inputs.previousDates.size();
  for (int slot = 0; slot < plot.days; ++slot) {
    const std::optional<std::size_t> index = dayIndex(slot, count, plot.days);
    if (!index) break;
    const PropertyList& entry =
        entryOf(inputs.exerciseLog, inputs.previousDates[*index], inputs.exercise);
    const std::optional<double> value = GraphValue::ofDay(entry, type, unit);
    plot.values.push_back(value ? std::optional<double>(std::trunc(*value)) : std::nullopt);
  }
}

void scale(GraphPlot& plot) {
  std::vector<double> sorted;
  for (const std::optional<double>& value : plot.values) {
    if (value) sorted.push_back(*value);
  }
  std::sort(sorted.begin(), sorted.end());
  plot.minimum = sorted.empty() ? 0 : sorted.front();
  const double maximum = sorted.empty() ? 0 : sorted.back();
  plot.step = (maximum - plot.minimum) / 10;
  if (!(plot.step >= 1)) plot.step = 1;
  for (int i = 0; i < GraphPlot::kValueLabels; ++i) {
    plot.valueLabels.push_back(integerText(std::trunc(plot.minimum) + i * plot.step));
  }
}

void placePoints(GraphPlot& plot) {
  for (int slot = 0; slot < plot.days; ++slot) {
    const double x = std::trunc(110 + 50.0 * slot / plot.labelStep);
    const auto k = static_cast<std::size_t>(slot);
    if (k >= plot.values.size()) {
      plot.line.push_back({x, 240});  // past the logged days: down to the date axis
      continue;
    }
    if (!plot.values[k]) continue;
    const double rise = 20 * (*plot.values[k] - plot.minimum) / plot.step;
    plot.line.push_back({x, 220 - rise});
    plot.dots.push_back({x - 2, 218 - rise - 2, 5, 5});
  }
}

}  // namespace

WeightUnit GraphPlot::latestUnit(const std::vector<std::string>& days, const PropertyList& log,
                                 std::string_view exercise) {
  for (auto day = days.rbegin(); day != days.rend(); ++day) {
    const PropertyList& entry = entryOf(log, *day, exercise);
    if (!entry.isArray()) continue;
    const PropertyList::Array& items = entry.asArray();
    for (std::size_t set = items.size() / 3; set > 0; --set) {
      const PropertyList& text = items[3 * (set - 1)];
      if (!text.isString()) continue;
      const WeightUnit unit = Weight::unitOf(text.asString());
      if (unit != WeightUnit::kNone) return unit;
    }
  }
  return WeightUnit::kNone;
}

GraphPlot GraphPlot::make(const Inputs& inputs) {
  GraphPlot plot;
  const Window window = windowForSegment(inputs.durationSegment);
  plot.days = window.days;
  plot.labelStep = window.labelStep;

  const std::size_t count = inputs.previousDates.size();
  for (int j = 0; j < kDateLabels; ++j) {
    const std::optional<std::size_t> index = dayIndex(j * plot.labelStep, count, plot.days);
    plot.dateLabels[static_cast<std::size_t>(j)] =
        index ? dateLabel(inputs.previousDates[*index], inputs) : std::string(kNoDate);
  }

  const std::optional<GraphValue::Type> type = GraphValue::typeForSegment(inputs.typeSegment);
  if (!type) return plot;
  const WeightUnit unit = latestUnit(inputs.previousDates, inputs.exerciseLog, inputs.exercise);
  const bool weights =
      *type == GraphValue::Type::kAverageWeight || *type == GraphValue::Type::kHeaviestWeight;
  plot.unitLabel = weights ? std::string(Weight::title(unit)) : std::string(kRepsLabel);
  collectValues(plot, inputs, *type, unit);
  plot.plotted = true;
  scale(plot);
  placePoints(plot);
  return plot;
}

}  // namespace kinetra
