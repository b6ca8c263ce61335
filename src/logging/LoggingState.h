#pragma once

namespace kinetra {

class DiagnosticLog;
class RecordBook;
class UserData;
struct EditingFlags;
struct Selection;

// The parts of the shared state the entry panes read and write. The referenced objects must
// outlive every pane made with it.
struct LoggingState {
  UserData& userData;
  Selection& selection;
  EditingFlags& flags;
  DiagnosticLog& log;
  // Told of every strength set added.
  RecordBook& records;
};

}  // namespace kinetra
