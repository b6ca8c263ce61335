#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "logging/ImportState.h"

namespace kinetra {

struct LogTabViews;

// "Import CSV" on the export page: the file picker (`csvPicker`) pushed over the page, and the
// chosen file taken into the logs (LogImport). Keeps no state: it works on the views and the
// state it is made with, which must outlive it.
class CsvImport {
 public:
  static constexpr std::string_view kRefused = "Not imported: ";
  static constexpr std::string_view kNoSets = "The file holds no sets to import.";

  CsvImport(LogTabViews& views, ImportState state) : views_(views), state_(state) {}

  // Shows the file picker over the export page.
  void chooseFile();
  // Takes `bytes` into the logs, or refuses them whole; the status label `emailLabel` says what
  // was added and skipped, or why nothing was. Each changed file is written once, whole: the
  // custom exercises (one for each new strength exercise, with no region, muscle or level and
  // the placeholder picture), the strength log, the aerobic log. The picker closes either way.
  void fileChosen(const std::vector<std::uint8_t>& bytes);
  // Closes the picker; nothing changes.
  void cancelled();

 private:
  void addCustomExercises(const std::vector<std::string>& names);
  void closePicker();

  LogTabViews& views_;
  ImportState state_;
};

}  // namespace kinetra
