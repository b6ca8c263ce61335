#include "logging/DayRecords.h"

#include <utility>

#include "logging/AerobicsTableController.h"
#include "logging/LogRowCell.h"
#include "logging/LogTableController.h"
#include "model/LogEntry.h"
#include "model/UserData.h"

namespace kinetra {

DayRecords::DayRecords(const UserData& userData, std::string_view day, std::string exercise,
                       bool aerobic)
    : exercise_(std::move(exercise)),
      aerobic_(aerobic),
      entry_(
          LogEntry::find(aerobic ? userData.aerobicsLog : userData.exerciseLog, day, exercise_)) {}

int DayRecords::numberOfSets() const {
  if (entry_ == nullptr) return 0;
  const std::size_t perSet =
      aerobic_ ? AerobicsTableController::kStringsPerSet : LogTableController::kStringsPerSet;
  return static_cast<int>(entry_->size() / perSet);
}

std::unique_ptr<TableViewCell> DayRecords::cell(TableView& table, int row, Rect noteFrame) const {
  const double fontSize =
      aerobic_ ? AerobicsTableController::kFontSize : LogTableController::kFontSize;
  if (entry_ == nullptr || row < 0 || row >= numberOfSets()) {
    return LogRowCell::make(table, {}, {}, fontSize, noteFrame);
  }
  const auto set = static_cast<std::size_t>(row);
  if (aerobic_) {
    const std::size_t note = set * AerobicsTableController::kStringsPerSet + 4;
    return LogRowCell::make(table, AerobicsTableController::rowText(exercise_, *entry_, set),
                            std::string(LogEntry::text(*entry_, note)), fontSize, noteFrame);
  }
  const std::size_t note = set * LogTableController::kStringsPerSet + 2;
  return LogRowCell::make(table, LogTableController::rowText(*entry_, set),
                          std::string(LogEntry::text(*entry_, note)), fontSize, noteFrame);
}

}  // namespace kinetra
