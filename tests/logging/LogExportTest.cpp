// The export page through the finger and on the files: the address, the period, the CSV file,
// the message handed to a scripted relay on loopback, and the label's texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "logging/LogExport.h"
#include "logging/LoggingTestSupport.h"
#include "mail/Base64Data.h"
#include "model/LogCsv.h"
#include "support/LoopbackServer.h"

namespace kinetra::test {
namespace {

using Dictionary = PropertyList::Dictionary;
using Array = PropertyList::Array;
using testing::LoopbackServer;
using testing::PeerConnection;

constexpr double kBound = 20;  // real seconds for one conversation on loopback

class LogExportTest : public AppTest {
 protected:
  static constexpr const char* kToday = "Mar 20, 2024";

  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    writeDocument(
        "Kinetra_Log.plist",
        Dictionary{{kToday, Dictionary{{"Squat", Array{"100 kg", "5", "deep, \"slow\""}}}},
                   {"Mar 10, 2024", Dictionary{{"Squat", Array{"90 kg", "5", ""}}}}});
    writeDocument(
        "Kinetra_Aerobics_Log.plist",
        Dictionary{{"Mar 19, 2024", Dictionary{{" rowing", Array{"20", "5", "140", "", ""}}}}});
  }

  // Launches with every export going to 127.0.0.1 on `ports`.
  void launchWithRelay(std::vector<std::uint16_t> ports) {
    MailAccount account;
    account.relayHost = "127.0.0.1";
    account.relayPorts = std::move(ports);
    account.fromEmail = "log@kinetra.example";
    account.supportAddress = "help@kinetra.example";
    setMailAccount(account);
    launch();
  }

  MainInterface& ui() { return app().interface(); }

  // Log tab → "Export logs to Email", then the address typed and the period chosen.
  void openExportPage(const std::string& address, int segment) {
    ASSERT_TRUE(finger.selectTab(ui().tabBarController, 4).ok());
    ASSERT_TRUE(finger.selectRow(ui().logTabTableView.tableView(), {1, 0}).ok());
    ASSERT_TRUE(finger.tap(ui().emailAddress).ok());
    ASSERT_TRUE(finger.editText(address).ok());
    ui().emailLogDuration.setSelectedSegmentIndex(segment);
  }
  void tapSend() { ASSERT_TRUE(finger.tap(ui().emailSendButton).ok()); }

  bool waitFor(const std::function<bool()>& condition) {
    return runLoop().runUntil(condition, kBound);
  }
  bool logged(std::string_view line) const {
    return std::find(lines().begin(), lines().end(), line) != lines().end();
  }
  std::string storedAddress() const {
    const PropertyList settings = readDocument("settings.plist");
    const PropertyList* email = settings.isDictionary() ? settings.find("email") : nullptr;
    return email != nullptr && email->isString() ? std::string(email->asString()) : "(none)";
  }

  Finger finger;
};

TEST(LogExportPeriodTest, EachSegmentHasItsNumberOfDaysAndAnyOtherSelectionOneDay) {
  const std::vector<std::pair<int, int>> table = {{0, 10000}, {1, 30}, {2, 14}, {3, 7},
                                                  {-1, 1},    {4, 1},  {99, 1}};
  for (const auto& [segment, days] : table) {
    EXPECT_EQ(LogExport::logDuration(segment), days) << "segment " << segment;
  }
}

TEST_F(LogExportTest, NoAddressOrNoLoggedDayDoesNothingAtAll) {
  launchWithRelay({LoopbackServer::unusedPort()});
  openExportPage("", 0);
  const std::string label = ui().emailLabel.text();
  tapSend();
  EXPECT_EQ(ui().emailLabel.text(), label);
  EXPECT_EQ(app().mailer().messagesUnderWay(), 0u);

  app().userData().exerciseLog = Dictionary{};
  app().userData().aerobicsLog = Dictionary{};
  ASSERT_TRUE(finger.typeInto(ui().emailAddress, "me@example.org").ok());
  tapSend();
  EXPECT_EQ(ui().emailLabel.text(), label);
  EXPECT_EQ(app().mailer().messagesUnderWay(), 0u);
  const std::vector<std::string> files = documentNames();
  EXPECT_EQ(std::count(files.begin(), files.end(), "settings.plist"), 0);
  EXPECT_EQ(std::count(files.begin(), files.end(), "Log.csv"), 0);
}

TEST_F(LogExportTest, WithoutAMailAccountTheAddressIsKeptAndTheLabelSaysSo) {
  launch();
  openExportPage("me@example.org", 0);
  tapSend();
  EXPECT_EQ(ui().emailLabel.text(), LogExport::kNotConfigured);
  EXPECT_EQ(storedAddress(), "me@example.org");
  EXPECT_EQ(app().mailer().messagesUnderWay(), 0u);
}

TEST_F(LogExportTest, AFailedSendKeepsTheChangedAddressAndEndsInOneFailureEach) {
  writeDocument("settings.plist", Dictionary{{"email", "old@example.org"}});
  launchWithRelay({LoopbackServer::unusedPort()});
  openExportPage("new@example.org", 3);
  tapSend();
  EXPECT_EQ(storedAddress(), "new@example.org") << "stored before sending";
  EXPECT_EQ(ui().emailLabel.text(), LogExport::kPleaseWait);
  tapSend();  // a second export while the first is under way
  EXPECT_EQ(app().mailer().messagesUnderWay(), 2u);

  ASSERT_TRUE(waitFor([&] { return app().mailer().messagesUnderWay() == 0; }));
  EXPECT_EQ(ui().emailLabel.text(), LogExport::kFailed);
  EXPECT_EQ(std::count_if(
                lines().begin(), lines().end(),
                [](const std::string& line) { return line.starts_with("delegate - error(-3): "); }),
            2);
  EXPECT_FALSE(logged("delegate - message sent"));
}

TEST_F(LogExportTest, APeriodWithoutLoggedDaysStillSendsTheTwoHeaders) {
  launchWithRelay({LoopbackServer::unusedPort()});
  openExportPage("me@example.org", -1);  // no segment: one day, and nothing logged today
  app().userData().exerciseLog = Dictionary{{"Mar 10, 2024", Dictionary{}}};
  app().userData().aerobicsLog = Dictionary{};
  tapSend();
  EXPECT_EQ(ui().emailLabel.text(), LogExport::kPleaseWait);
  EXPECT_EQ(app().mailer().messagesUnderWay(), 1u);
  EXPECT_EQ(readDocumentBytes("Log.csv"), "Cardio\n" + std::string(LogCsv::kCardioHeader) +
                                              "\n\nExercise\n" +
                                              std::string(LogCsv::kStrengthHeader));
  ASSERT_TRUE(waitFor([&] { return app().mailer().messagesUnderWay() == 0; }));
}

// What the scripted relay heard of one delivered export.
struct Delivery {
  std::string data;
};

TEST_F(LogExportTest, TheMessageCarriesTheLetterAndLogCsvAsANamedAttachment) {
  Delivery heard;
  LoopbackServer relay([&heard](PeerConnection* peer) {
    if (peer == nullptr) return;
    const auto reply = [&](std::string_view text) {
      peer->readUntil("\r\n");
      peer->write(text);
    };
    peer->write("220 relay.test ESMTP\r\n");
    reply("250 relay.test\r\n");  // EHLO: no STARTTLS, no AUTH on offer; none asked for
    reply("250 sender ok\r\n");
    reply("250 recipient ok\r\n");
    reply("354 go ahead\r\n");
    heard.data = peer->readUntil("\r\n.\r\n").value_or("");
    peer->write("250 queued\r\n");
    reply("221 bye\r\n");
    peer->readUntilClosed();
  });
  launchWithRelay({relay.port()});
  openExportPage("me@example.org", 3);
  tapSend();
  ASSERT_TRUE(waitFor([&] { return app().mailer().messagesUnderWay() == 0; }));
  relay.join();
  EXPECT_EQ(ui().emailLabel.text(), LogExport::kSent);
  EXPECT_TRUE(logged("delegate - message sent"));

  // Log.csv holds the seven days' CSV; the attachment decodes to exactly its bytes.
  const std::string csv = readDocumentBytes("Log.csv");
  EXPECT_NE(csv.find("\"Mar 19, 2024\",\" rowing\",\"1\",\"20\""), std::string::npos) << csv;
  EXPECT_NE(csv.find("\"deep, \"\"slow\"\"\""), std::string::npos) << csv;
  EXPECT_EQ(csv.find("Mar 10, 2024"), std::string::npos) << "ten days ago is not in 7 days";
  const std::string& data = heard.data;
  const std::string name = "\"Kinetra_Log_Mar 20, 2024.csv\"";
  const std::size_t attachment =
      data.find("Content-Disposition: attachment;\r\n\tfilename=" + name +
                "\r\n"
                "Content-Type: text/directory;\r\n\tx-unix-mode=0644;\r\n\tname=" +
                name +
                "\r\n"
                "Content-Transfer-Encoding: base64\r\n\r\n");
  ASSERT_NE(attachment, std::string::npos) << data;
  const std::size_t body = data.find("\r\n\r\n", attachment) + 4;
  const std::string encoded = data.substr(body, data.find("\r\n--", body) - body);
  Result<std::vector<std::uint8_t>> decoded = Base64Data::decodeBase64(encoded);
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(std::string(decoded->begin(), decoded->end()), csv);

  EXPECT_NE(data.find("Subject:Kinetra Log\r\n"), std::string::npos);
  EXPECT_NE(data.find("To:me@example.org\r\n"), std::string::npos);
  EXPECT_NE(data.find("Content-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\nHi,"),
            std::string::npos);
}

TEST_F(LogExportTest, TheLetterNamesTheConfiguredSupportAddress) {
  EXPECT_EQ(LogExport::letterText("help@example.org"),
            "Hi,\n\nThank you for using Kinetra.\n\nAttached to this email is your requested "
            "workout log.\n\nPlease note that this is an automated email. Your data has not been "
            "read by anyone and is not stored online.\n\nReplies to this email will go unread. If "
            "you have any support questions, please feel free to contact us at help@example.org "
            "instead.\n\nNote: csv files are best viewed with Microsoft Excel or similar "
            "products.\n\nRegards,\nKinetra Team");
}

TEST_F(LogExportTest, DownloadCsvOffersTheCsvTheMessageWouldAttach) {
  launchWithRelay({LoopbackServer::unusedPort()});
  openExportPage("me@example.org", 2);
  tapSend();
  ASSERT_TRUE(waitFor([&] { return app().mailer().messagesUnderWay() == 0; }));
  application().takeFilesToSave();

  ASSERT_TRUE(finger.tap(ui().emailDownloadButton).ok());
  const std::vector<FileToSave> files = application().takeFilesToSave();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].name, "Kinetra_Log_Mar 20, 2024.csv");
  const auto csv = files[0].contents();
  ASSERT_NE(csv, nullptr);
  EXPECT_EQ(std::string(csv->begin(), csv->end()), readDocumentBytes("Log.csv"));
  EXPECT_NE(readDocumentBytes("Log.csv").find("Mar 10, 2024"), std::string::npos)
      << "fourteen days hold the tenth";
}

TEST_F(LogExportTest, ADocumentsFolderThatCannotBeWrittenStillSendsTheText) {
  launchWithRelay({LoopbackServer::unusedPort()});
  std::filesystem::remove_all(documents());
  std::ofstream(documents()) << "a file where the folder should be";
  openExportPage("me@example.org", 0);
  tapSend();
  EXPECT_EQ(ui().emailLabel.text(), LogExport::kPleaseWait);
  EXPECT_TRUE(std::any_of(lines().begin(), lines().end(), [](const std::string& line) {
    return line.starts_with("export: Log.csv could not be written");
  }));
  ASSERT_TRUE(waitFor([&] { return app().mailer().messagesUnderWay() == 0; }));
  EXPECT_EQ(ui().emailLabel.text(), LogExport::kFailed);
}

}  // namespace
}  // namespace kinetra::test
