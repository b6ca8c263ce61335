#include "model/PersonalRecords.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace kinetra {

namespace {

// Sums of converted weights differ in their last bits; values this close are equal.
bool beats(double a, double b) { return a > b + 1e-9 * std::max(1.0, std::fabs(b)); }
bool same(double a, double b) { return !beats(a, b) && !beats(b, a); }

// Repetitions: a plain non-negative number at the start of the text.
std::optional<double> repsOf(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  text.remove_prefix(start);
  if (text.front() < '0' || text.front() > '9') return std::nullopt;
  double reps = 0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), reps, std::chars_format::general);
  if (read.ec != std::errc() || !std::isfinite(reps)) return std::nullopt;
  return reps;
}

// The record replaces `best` when it is better, or as good and reached on an earlier day (a
// set added later on the same day is a later set).
template <typename Better>
bool takes(const std::optional<PersonalRecords::Record>& best,
           const PersonalRecords::Record& candidate, Better better) {
  if (!best) return true;
  if (better(candidate, *best)) return true;
  if (better(*best, candidate)) return false;
  return candidate.day < best->day;
}

}  // namespace

bool PersonalRecords::Record::operator==(const Record& other) const {
  return weight.amount() == other.weight.amount() && weight.unit() == other.weight.unit() &&
         reps == other.reps && day == other.day;
}

double PersonalRecords::estimate(const Record& record) {
  return record.weight.kilograms() * (1 + record.reps / 30);
}

std::vector<PersonalRecords::Day> PersonalRecords::days() const {
  std::vector<Day> days;
  days.reserve(estimates_.size());
  for (const auto& [day, sets] : estimates_) days.push_back(day);
  return days;
}

void PersonalRecords::add(const Day& day, std::string_view weightText, std::string_view repsText) {
  std::vector<std::optional<double>>& sets = estimates_[day];
  const WeightUnit named = Weight::unitOf(weightText);
  if (named != WeightUnit::kNone && (!unitDay_ || !(day < *unitDay_))) {
    unit_ = named;
    unitDay_ = day;
  }
  const std::optional<Weight> weight = Weight::parse(weightText);
  const std::optional<double> reps = repsOf(repsText);
  if (!weight || !reps || *reps < 1) {
    sets.emplace_back();
    return;
  }
  const Record set{*weight, *reps, day};
  const double kilograms = weight->kilograms();
  const bool lifted = kilograms > 0;
  sets.push_back(lifted ? std::optional<double>(estimate(set)) : std::nullopt);

  const auto heavier = [](const Record& a, const Record& b) {
    return beats(a.weight.kilograms(), b.weight.kilograms());
  };
  if (!heaviest_ || heavier(set, *heaviest_)) {
    heaviest_ = set;
    mostReps_ = set;
  } else if (same(kilograms, heaviest_->weight.kilograms())) {
    if (set.day < heaviest_->day) heaviest_ = set;
    const auto moreReps = [](const Record& a, const Record& b) { return beats(a.reps, b.reps); };
    if (takes(mostReps_, set, moreReps)) mostReps_ = set;
  }

  const auto betterEstimate = [](const Record& a, const Record& b) {
    return beats(estimate(a), estimate(b));
  };
  if (lifted && takes(bestEstimate_, set, betterEstimate)) bestEstimate_ = set;
}

bool PersonalRecords::beatsEarlierBest(const Day& day, std::size_t index) const {
  const auto found = estimates_.find(day);
  if (found == estimates_.end() || index >= found->second.size()) return false;
  const std::optional<double>& candidate = found->second[index];
  if (!candidate) return false;
  std::optional<double> best;
  const auto consider = [&best](const std::optional<double>& value) {
    if (value && (!best || *value > *best)) best = value;
  };
  for (auto earlier = estimates_.begin(); earlier != found; ++earlier) {
    for (const std::optional<double>& value : earlier->second) consider(value);
  }
  for (std::size_t i = 0; i < index; ++i) consider(found->second[i]);
  return best.has_value() && beats(*candidate, *best);
}

bool PersonalRecords::operator==(const PersonalRecords& other) const {
  return estimates_ == other.estimates_ && heaviest_ == other.heaviest_ &&
         mostReps_ == other.mostReps_ && bestEstimate_ == other.bestEstimate_ &&
         unit_ == other.unit_ && unitDay_ == other.unitDay_;
}

}  // namespace kinetra
