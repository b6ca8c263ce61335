#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/VelomarAppDelegate.h"
#include "foundation/DateFormatter.h"
#include "foundation/ManualClock.h"
#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"
#include "model/ModelTestSupport.h"
#include "support/TemporaryDirectory.h"
#include "ui/Application.h"

namespace kinetra::test {

// The shared state on a temporary documents directory and a temporary bundle holding only what
// a test puts there, with a manual clock, U.S. English day strings in Tokyo's time zone (no
// daylight-saving time), and every diagnostic line captured.
class AppTest : public ::testing::Test {
 protected:
  static constexpr const char* kTimeZone = "Asia/Tokyo";

  AppTest() {
    auto clock = std::make_unique<ManualClock>(day("Mar 20, 2024").addingTimeInterval(12 * 3600));
    clock_ = clock.get();
    loop_ = std::make_unique<RunLoop>(std::move(clock));
    loop_->log().setSink([this](std::string_view line) { lines_.emplace_back(line); });
  }

  void SetUp() override {
    Application::shared().reset();
    Application::shared().setClock(&loop_->clock());
  }

  void TearDown() override {
    delegate_.reset();
    Application::shared().setClock(nullptr);
    Application::shared().reset();
  }

  // The documents directory (not made until something is written there).
  std::filesystem::path documents() const { return root_ / "Documents"; }
  std::filesystem::path resources() const { return root_ / "Resources"; }

  void writeResource(const std::string& name, const PropertyList& value) {
    std::filesystem::create_directories(resources());
    ASSERT_TRUE(writePropertyList(resources() / (name + ".plist"), value).ok());
  }
  void writeDocument(const std::string& name, const PropertyList& value) {
    std::filesystem::create_directories(documents());
    ASSERT_TRUE(writePropertyList(documents() / name, value).ok());
  }
  void writeDocumentBytes(const std::string& name, const std::string& bytes);
  std::string readDocumentBytes(const std::string& name) const;
  PropertyList readDocument(const std::string& name) const {
    Result<PropertyList> value = PropertyListReader::readFile(documents() / name);
    EXPECT_TRUE(value.ok()) << name << ": " << value.status().toString();
    return value.ok() ? value.value() : PropertyList();
  }
  std::vector<std::string> documentNames() const;

  // A small catalogue: two regions, three strength exercises and two aerobic ones.
  void writeSmallCatalogue();

  // Makes the shared state and launches the application with it.
  VelomarAppDelegate& launch() {
    VelomarAppDelegate::Environment environment;
    environment.documentsDirectory = documents();
    environment.resourceDirectory = resources();
    environment.dates.locale = "en_US";
    environment.dates.timeZone = timeZone_;
    environment.mail = mailAccount_;
    delegate_ = std::make_unique<VelomarAppDelegate>(*loop_, std::move(environment));
    Application::shared().launch(*delegate_);
    return *delegate_;
  }

  // The first moment of a U.S. English medium-style day in the test's time zone.
  static Date day(const std::string& text) {
    static const std::unique_ptr<DateFormatter> formatter =
        DateFormatter::mediumStyle({"en_US", kTimeZone});
    const std::optional<Date> moment = formatter->dateFromString(text);
    EXPECT_TRUE(moment.has_value()) << text;
    return moment.value_or(Date());
  }

  // The time zone of the next launch; Tokyo's unless a test says otherwise.
  void setTimeZone(std::string zone) { timeZone_ = std::move(zone); }
  // The mail account of the next launch; none unless a test gives one.
  void setMailAccount(std::optional<MailAccount> account) { mailAccount_ = std::move(account); }

  // Ends the shared state's life, as the process's end does.
  void shutDown() { delegate_.reset(); }
  // A new process on the same files and clock.
  VelomarAppDelegate& relaunch() {
    shutDown();
    Application::shared().reset();
    Application::shared().setClock(&loop_->clock());
    return launch();
  }

  Application& application() { return Application::shared(); }
  ManualClock& clock() { return *clock_; }
  RunLoop& runLoop() { return *loop_; }
  VelomarAppDelegate& app() { return *delegate_; }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  testing::TemporaryDirectory root_;
  std::string timeZone_ = kTimeZone;
  std::optional<MailAccount> mailAccount_;
  ManualClock* clock_;
  std::unique_ptr<RunLoop> loop_;
  std::vector<std::string> lines_;
  std::unique_ptr<VelomarAppDelegate> delegate_;
};

inline void AppTest::writeDocumentBytes(const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(documents());
  std::ofstream(documents() / name, std::ios::binary) << bytes;
}

inline std::string AppTest::readDocumentBytes(const std::string& name) const {
  std::error_code error;
  const auto size = std::filesystem::file_size(documents() / name, error);
  if (error) return {};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::ifstream in(documents() / name, std::ios::binary);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

inline std::vector<std::string> AppTest::documentNames() const {
  std::vector<std::string> names;
  if (!std::filesystem::exists(documents())) return names;
  for (const auto& entry : std::filesystem::directory_iterator(documents())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline void AppTest::writeSmallCatalogue() {
  writeResource(
      "Exercises",
      PropertyList::Array{exerciseRecord("Squat", "Legs"), exerciseRecord(" treadmill", "Cardio"),
                          exerciseRecord("bench press"), exerciseRecord("Zottman Curl", "Arms"),
                          exerciseRecord(" rowing", "Cardio")});
  writeResource("Targets", PropertyList::Array{"Chest", "Legs", "Arms", "Cardio"});
  writeResource("Muscles",
                PropertyList::Array{PropertyList::Array{"Upper Body", "Deltoids", "Pectoralis"},
                                    PropertyList::Array{"Lower Body", "Quadriceps"}});
  writeResource("LogDates", PropertyList::Array{"Today's Log", "Last Logged Day", "Past 7 days",
                                                "Past 14 days", "Past 30 days", "All Records"});
  writeResource("Routines",
                PropertyList::Array{PropertyList::Dictionary{{"name", "Starter"},
                                                             {"section1", "Main"},
                                                             {"section1exercise1", "Squat"},
                                                             {"section1set1", "3 x 8"}}});
}

}  // namespace kinetra::test
