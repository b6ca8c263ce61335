#pragma once

#include "foundation/Date.h"

namespace kinetra {

class DateFormatter;
class DiagnosticLog;
class DocumentsDirectory;
class ExportMailer;
class UserData;
struct Selection;

// The parts of the shared state the export page reads and writes, and what it asks of the
// application. The referenced objects must outlive every LogExport made with it.
struct ExportState {
  UserData& userData;
  const Selection& selection;
  const DateFormatter& formatter;  // the day strings' medium style
  Date now;
  const DocumentsDirectory& documents;
  DiagnosticLog& log;
  ExportMailer& mailer;
};

}  // namespace kinetra
