#include "logging/LogExport.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "foundation/AtomicFile.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/DocumentsDirectory.h"
#include "logging/ExportMailer.h"
#include "logging/LogTabViews.h"
#include "model/LogCsv.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "ui/Application.h"

namespace kinetra {

namespace {

constexpr std::string_view kEmailKey = "email";

bool hasDays(const PropertyList& log) { return log.isDictionary() && !log.asDictionary().empty(); }

std::string storedAddress(const PropertyList& settings) {
  const PropertyList* email = settings.isDictionary() ? settings.find(kEmailKey) : nullptr;
  return email != nullptr && email->isString() ? std::string(email->asString()) : std::string();
}

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(bytes).str();
}

}  // namespace

int LogExport::logDuration(int selectedSegment) {
  switch (selectedSegment) {
    case 0:
      return 10000;
    case 1:
      return 30;
    case 2:
      return 14;
    case 3:
      return 7;
    default:
      return 1;
  }
}

std::string LogExport::letterText(std::string_view supportAddress) {
  std::string letter =
      "Hi,\n\nThank you for using Kinetra.\n\nAttached to this email is your requested workout "
      "log.\n\nPlease note that this is an automated email. Your data has not been read by "
      "anyone and is not stored online.\n\nReplies to this email will go unread. If you have "
      "any support questions, please feel free to contact us at ";
  letter += supportAddress;
  letter +=
      " instead.\n\nNote: csv files are best viewed with Microsoft Excel or similar "
      "products.\n\nRegards,\nKinetra Team";
  return letter;
}

std::string LogExport::attachmentName(std::string_view today) {
  return "Kinetra_Log_" + std::string(today) + ".csv";
}

void LogExport::sendEmail() {
  const std::string address = views_.emailAddress.text();
  if (address.empty()) return;
  const UserData& data = state_.userData;
  if (!hasDays(data.exerciseLog) && !hasDays(data.aerobicsLog)) return;
  storeAddress(address);
  const std::optional<std::string> support = state_.mailer.supportAddress();
  if (!support) {
    views_.emailLabel.setText(std::string(kNotConfigured));
    return;
  }
  views_.emailLabel.setText(std::string(kPleaseWait));
  ExportMail mail;
  mail.toEmail = address;
  mail.subject = kSubject;
  mail.letter = letterText(*support);
  mail.attachmentName = attachmentName(state_.selection.today);
  mail.attachment = writeAndReadBack(LogCsv::build(csvInputs()));
  state_.mailer.sendMail(std::move(mail));
}

void LogExport::messageSent() {
  views_.emailLabel.setText(std::string(kSent));
  state_.log.line("delegate - message sent");
}

void LogExport::messageFailed(int code, std::string_view description) {
  views_.emailLabel.setText(std::string(kFailed));
  state_.log.line("delegate - error(" + std::to_string(code) + "): " + std::string(description));
}

void LogExport::downloadCsv() {
  // Made when the browser fetches it, for the period chosen now, a few days at a time as the
  // connection takes them: ten years of log are megabytes, which the tap should not wait for
  // nor the offer keep, and which need not be held whole while they are sent.
  Application::shared().offerFileToSave(
      {attachmentName(state_.selection.today), "text/csv; charset=utf-8", nullptr,
       [inputs = csvInputs()]() -> FileToSave::Pieces {
         return [pieces = LogCsv::Pieces(inputs)]() mutable { return pieces.next(); };
       }});
}

LogCsv::Inputs LogExport::csvInputs() const {
  const UserData& data = state_.userData;
  return {data.exerciseLog, data.aerobicsLog, state_.now,
          logDuration(views_.emailLogDuration.selectedSegmentIndex()), state_.formatter};
}

void LogExport::storeAddress(const std::string& address) {
  UserData& data = state_.userData;
  if (storedAddress(data.settings) == address) return;
  if (!data.settings.isDictionary()) data.settings = PropertyList::Dictionary{};
  data.settings.asDictionary()[std::string(kEmailKey)] = address;
  // A failed save is reported by the store; the address stays in memory for the next one.
  static_cast<void>(data.saveSettings());
}

std::string LogExport::writeAndReadBack(const std::string& csv) {
  const DocumentsDirectory& documents = state_.documents;
  const Result<std::filesystem::path> path = documents.pathForFile(kFileName);
  Status written = documents.ensureExists();
  if (written.ok()) written = AtomicFile::write(path.value(), csv);
  if (!written.ok()) {
    state_.log.line("export: " + std::string(kFileName) +
                    " could not be written, the text is attached as built: " + written.toString());
    return csv;
  }
  std::optional<std::string> bytes = readFile(path.value());
  if (!bytes) {
    state_.log.line("export: " + std::string(kFileName) +
                    " could not be read back, the text is attached as built");
    return csv;
  }
  return std::move(*bytes);
}

}  // namespace kinetra
