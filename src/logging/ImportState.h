#pragma once

namespace kinetra {

class CatalogueNavigation;
class DateFormatter;
class DiagnosticLog;
class RecordBook;
class UserData;
struct ExerciseList;

// The parts of the shared state an import of logs reads and writes, and what it asks of the
// screens around it. The referenced objects must outlive every CsvImport made with it.
struct ImportState {
  UserData& userData;
  const ExerciseList& exerciseList;
  const DateFormatter& days;        // the day strings' medium style
  const DateFormatter& isoDays;     // "yyyy-MM-dd" in the same time zone
  CatalogueNavigation& navigation;  // told when custom exercises were added
  DiagnosticLog& log;
  RecordBook& records;  // forgotten once the strength log took new sets
};

}  // namespace kinetra
