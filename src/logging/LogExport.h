#pragma once

#include <string>
#include <string_view>

#include "logging/ExportState.h"
#include "model/LogCsv.h"

namespace kinetra {

struct LogTabViews;

// The export page (`emailView`): the address field `emailAddress`, the period control
// `emailLogDuration`, the status label `emailLabel`, the send and download buttons. Keeps no
// state: it works on the views and the state it is made with, which must outlive it.
class LogExport {
 public:
  static constexpr std::string_view kPleaseWait = "Please Wait...";
  static constexpr std::string_view kSent = "Log successfully sent to E-Mail account.";
  static constexpr std::string_view kFailed = "Failed. Make sure you have WIFI or 3G connectivity.";
  static constexpr std::string_view kNotConfigured = "Mail is not configured.";
  static constexpr std::string_view kSubject = "Kinetra Log";
  static constexpr std::string_view kFileName = "Log.csv";

  LogExport(LogTabViews& views, ExportState state) : views_(views), state_(state) {}

  // The number of days D of the period control's segment: All, 30, 14, 7 days for segments 0
  // to 3 (All is 10000 days); 1 for any other selection, none included.
  static int logDuration(int selectedSegment);
  // The letter of the message, naming `supportAddress` for questions.
  static std::string letterText(std::string_view supportAddress);
  // "Kinetra_Log_" + the day string + ".csv": the attachment's and the download's name.
  static std::string attachmentName(std::string_view today);

  // sendEmail: with an address and a logged day in either log, stores a changed address in the
  // settings at once, shows "Please Wait...", writes the period's CSV to "Log.csv" and mails the
  // bytes read back from it. Without a configured mail account the address is still stored and
  // the label says mail is not configured. Returns as soon as the message is on its way.
  void sendEmail();
  // The message went out, or failed: the label says so, and one diagnostic line.
  void messageSent();
  void messageFailed(int code, std::string_view description);
  // Hands the client the CSV that sendEmail would attach for the chosen period, to save as
  // attachmentName(today). Needs no mail account; writes no file.
  void downloadCsv();

 private:
  // The export's inputs for the period chosen now (the logs by reference).
  LogCsv::Inputs csvInputs() const;
  void storeAddress(const std::string& address);
  // Writes `csv` to "Log.csv" atomically and returns the file's bytes. When the file cannot be
  // written or read back, says so in a diagnostic line and returns `csv` itself.
  std::string writeAndReadBack(const std::string& csv);

  LogTabViews& views_;
  ExportState state_;
};

}  // namespace kinetra
