#include "logging/RecordsText.h"

namespace kinetra {

namespace {

// One decimal at most, like the weights.
std::string repsText(double reps) {
  return Weight(reps, WeightUnit::kNone).text(WeightUnit::kNone);
}

std::string dayText(const PersonalRecords::Record& record) { return " (" + record.day.key + ")"; }

}  // namespace

std::string RecordsText::describe(const PersonalRecords& records) {
  const std::optional<PersonalRecords::Record>& heaviest = records.heaviest();
  const std::optional<PersonalRecords::Record>& mostReps = records.mostRepsAtHeaviest();
  if (!heaviest || !mostReps) return kNoRecords;
  const WeightUnit unit = records.unit();
  if (heaviest->weight.amount() <= 0) {
    return "   Most reps: " + repsText(mostReps->reps) + dayText(*mostReps);
  }
  const std::string weight = heaviest->weight.text(unit);
  std::string text = "   Heaviest: " + weight + dayText(*heaviest);
  text += "\n   Most reps at " + weight + ": " + repsText(mostReps->reps) + dayText(*mostReps);
  if (const std::optional<PersonalRecords::Record>& best = records.bestEstimate()) {
    // The estimate is worked out in kilograms; with no unit named anywhere it is a bare number.
    const Weight estimate(PersonalRecords::estimate(*best),
                          unit == WeightUnit::kNone ? WeightUnit::kNone : WeightUnit::kKilograms);
    text += "\n   Est. 1RM: " + estimate.text(unit) + " (" + best->weight.text(unit) + " × " +
            repsText(best->reps) + ", " + best->day.key + ")";
  }
  return text;
}

}  // namespace kinetra
