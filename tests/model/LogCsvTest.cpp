#include "model/LogCsv.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/TemporaryDirectory.h"

namespace kinetra::test {
namespace {

using Dictionary = PropertyList::Dictionary;
using Array = PropertyList::Array;

constexpr double kDay = 86400;

class LogCsvTest : public ::testing::Test {
 protected:
  // Ten past three in the afternoon of Mar 10, 2024, UTC.
  LogCsvTest()
      : now_(formatter_->dateFromString("Mar 10, 2024")->addingTimeInterval(15 * 3600 + 600)) {}

  // The day string `days` days before today (negative: after).
  std::string dayBefore(int days) const {
    return formatter_->stringFromDate(now_.addingTimeInterval(-days * kDay));
  }

  // The text, allocated once at its final size (counted by a first pass that must agree with
  // the text written), and checked to be what the pieces of a download make at several sizes.
  std::string build(int days) const {
    std::string text = LogCsv::build({strength_, cardio_, now_, days, *formatter_});
    EXPECT_EQ(text.capacity(), text.size());
    for (const std::size_t pieceBytes :
         {std::size_t{1}, std::size_t{90}, LogCsv::Pieces::kPieceBytes}) {
      EXPECT_EQ(joined(LogCsv::Pieces({strength_, cardio_, now_, days, *formatter_}, pieceBytes)),
                text)
          << "pieces of " << pieceBytes << " bytes";
    }
    return text;
  }

  // All the pieces, each but the last checked to be of at least the size asked for.
  static std::string joined(LogCsv::Pieces pieces, std::size_t pieceBytes = 1,
                            const std::function<void()>& betweenPieces = {}) {
    std::string text;
    std::vector<std::uint8_t> piece = pieces.next();
    while (!piece.empty()) {
      text.append(piece.begin(), piece.end());
      std::vector<std::uint8_t> following = pieces.next();
      if (!following.empty()) {
        EXPECT_GE(piece.size(), pieceBytes);
      }
      piece = std::move(following);
      if (betweenPieces) betweenPieces();
    }
    EXPECT_TRUE(pieces.next().empty()) << "the end stays the end";
    return text;
  }

  // The data rows of the CSV (quoted lines), in order.
  std::vector<std::string> rows(int days) const {
    std::vector<std::string> lines;
    const std::string csv = build(days);
    std::size_t start = 0;
    while (start < csv.size()) {
      std::size_t end = csv.find('\n', start);
      if (end == std::string::npos) end = csv.size();
      if (csv.compare(start, 1, "\"") == 0) lines.push_back(csv.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }

  std::unique_ptr<DateFormatter> formatter_ = DateFormatter::mediumStyle({"en_US", "UTC"});
  Date now_;
  PropertyList strength_ = Dictionary{};
  PropertyList cardio_ = Dictionary{};
};

// Field `index` of a row whose values hold neither quotes nor commas.
std::string fieldOf(const std::string& row, std::size_t index) {
  std::vector<std::string> fields;
  const std::string inner = row.substr(1, row.size() - 2);
  std::size_t start = 0;
  for (std::size_t end; (end = inner.find("\",\"", start)) != std::string::npos; start = end + 3) {
    fields.push_back(inner.substr(start, end - start));
  }
  fields.push_back(inner.substr(start));
  return index < fields.size() ? fields[index] : "";
}

const std::string kHeaders = std::string("Cardio\n") + std::string(LogCsv::kCardioHeader) +
                             "\n\nExercise\n" + std::string(LogCsv::kStrengthHeader);

TEST_F(LogCsvTest, OneCardioEntryAndOneSetOnOneDayMakeTheDocumentedLines) {
  cardio_.asDictionary()["Mar 10, 2024"] =
      Dictionary{{" rowing", Array{"20", "5", "140", "", "note"}}};
  strength_.asDictionary()["Mar 10, 2024"] =
      Dictionary{{"Barbell Squat", Array{"100 kg", "5", ""}}};
  EXPECT_EQ(build(7),
            "Cardio\n" + std::string(LogCsv::kCardioHeader) +
                "\n\"Mar 10, 2024\",\" rowing\",\"1\",\"20\",\"5\",\"140\",\"\",\"note\"\n"
                "\n\nExercise\n" +
                std::string(LogCsv::kStrengthHeader) +
                "\n\"Mar 10, 2024\",\"Barbell Squat\",\"1\",\"100 kg\",\"5\",\"\"\n");
}

TEST_F(LogCsvTest, APeriodWithoutDaysLeavesOnlyTheTwoHeaders) {
  strength_.asDictionary()[dayBefore(40)] = Dictionary{{"Barbell Squat", Array{"100 kg", "5", ""}}};
  cardio_.asDictionary()[dayBefore(31)] = Dictionary{{" rowing", Array{"1", "2", "3", "4", ""}}};
  EXPECT_EQ(build(30), kHeaders);
  EXPECT_EQ(LogCsv::build({Dictionary{}, Dictionary{}, now_, 10000, *formatter_}), kHeaders);
}

TEST_F(LogCsvTest, ThePeriodCountsWholeDaysBackFromNowAndAlwaysTakesFutureDays) {
  for (const int days : {-3, 0, 1, 6, 7}) {
    strength_.asDictionary()[dayBefore(days)] =
        Dictionary{{"Squat", Array{std::to_string(days), "1", ""}}};
  }
  // The weight of each row, which names the day's distance from today.
  const auto weightsIn = [&](int period) {
    std::vector<std::string> weights;
    for (const std::string& row : rows(period)) weights.push_back(fieldOf(row, 3));
    return weights;
  };
  EXPECT_EQ(weightsIn(1), (std::vector<std::string>{"0", "-3"})) << "today and the future";
  EXPECT_EQ(weightsIn(7), (std::vector<std::string>{"6", "1", "0", "-3"}))
      << "six days ago is in, seven is not; oldest first";
  EXPECT_EQ(weightsIn(10000), (std::vector<std::string>{"7", "6", "1", "0", "-3"}));
}

TEST_F(LogCsvTest, OnlyCompleteGroupsBecomeRowsNumberedPerExerciseAndDay) {
  const std::string today = dayBefore(0);
  const std::string yesterday = dayBefore(1);
  cardio_.asDictionary()[today] = Dictionary{{" tennis", Array{"a", "b", "c", "d", "e", "f", "g"}}};
  strength_.asDictionary()[today] =
      Dictionary{{"Squat", Array{"1 kg", "1", "x", "2 kg", "2", "y", "3 kg"}},
                 {"Bench", Array{"4 kg", "4", "", "5 kg"}}};
  strength_.asDictionary()[yesterday] =
      Dictionary{{"Squat", Array{"5 kg", "5", "", "6 kg", "6", ""}}};
  const std::string q = "\"";
  EXPECT_EQ(rows(7), (std::vector<std::string>{
                         q + today + "\",\" tennis\",\"1\",\"a\",\"b\",\"c\",\"d\",\"e\"",
                         q + yesterday + "\",\"Squat\",\"1\",\"5 kg\",\"5\",\"\"",
                         q + yesterday + "\",\"Squat\",\"2\",\"6 kg\",\"6\",\"\"",
                         q + today + "\",\"Bench\",\"1\",\"4 kg\",\"4\",\"\"",
                         q + today + "\",\"Squat\",\"1\",\"1 kg\",\"1\",\"x\"",
                         q + today + "\",\"Squat\",\"2\",\"2 kg\",\"2\",\"y\"",
                     }));
  // Each further date group is preceded by an empty line.
  EXPECT_NE(build(7).find("\"\"\n\n\"" + today + "\",\"Bench\""), std::string::npos) << build(7);
}

TEST_F(LogCsvTest, OddKeysAndValuesNeverStopTheExport) {
  strength_.asDictionary()["not a day"] = Dictionary{{"Squat", Array{"1 kg", "1", ""}}};
  strength_.asDictionary()["Jan 32, 2024"] = Dictionary{{"Squat", Array{"1 kg", "1", ""}}};
  strength_.asDictionary()[dayBefore(0)] =
      Dictionary{{"Squat", Array{"2 kg", PropertyList(7), ""}}, {"Broken", "not an entry"}};
  strength_.asDictionary()[dayBefore(1)] = "not a day's record";
  cardio_ = Array{"a log of the wrong kind"};
  EXPECT_EQ(rows(10000), std::vector<std::string>{"\"" + dayBefore(0) +
                                                  "\",\"Squat\",\"1\",\"2 kg\",\"\",\"\""});
}

TEST_F(LogCsvTest, QuotesInsideValuesAreDoubledAndAnyCsvReaderGetsTheValuesBack) {
  EXPECT_EQ(LogCsv::quoted("a \"b\", c"), "\"a \"\"b\"\", c\"");
  const std::string note = "heavy, \"really\" heavy\nsecond line";
  const std::string name = "Curl \"21s\", strict";
  strength_.asDictionary()[dayBefore(0)] = Dictionary{{name, Array{"10 kg", "21", note}}};

  // Python's csv module reads the file back; it prints each field of the strength row on a line
  // of its own, as JSON.
  testing::TemporaryDirectory folder;
  const auto file = folder.path() / "Log.csv";
  std::ofstream(file, std::ios::binary) << build(1);
  const std::string command =
      std::string(KINETRA_TEST_PYTHON) +
      " -c 'import csv, json, sys\n"
      "rows = list(csv.reader(open(sys.argv[1], newline=\"\", encoding=\"utf-8\")))\n"
      "print(\"\\n\".join(json.dumps(f) for f in rows[-1]))' " +
      file.string();
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  ASSERT_NE(pipe, nullptr);
  std::string output;
  std::array<char, 256> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), pipe.get()) != nullptr) output += chunk.data();
  EXPECT_EQ(output, "\"" + dayBefore(0) +
                        "\"\n\"Curl \\\"21s\\\", strict\"\n\"1\"\n\"10 kg\"\n\"21\"\n"
                        "\"heavy, \\\"really\\\" heavy\\nsecond line\"\n");
}

}  // namespace
}  // namespace kinetra::test

namespace kinetra::test {
namespace {

// A download is made a few days at a time while the user may go on logging: each day is read
// as it is when its piece is made, and nothing a change does to the logs meanwhile can break it.
TEST_F(LogCsvTest, PiecesReadEachDayWhenTheyReachItWhateverTheLogsBecomeMeanwhile) {
  for (int day = 0; day < 6; ++day) {
    strength_.asDictionary()[dayBefore(day)] =
        Dictionary{{"Squat", Array{std::to_string(day), "5", ""}}};
  }
  // One day a piece: the oldest day is given first; then the newest is changed, the second
  // newest deleted, and a day after today is added (not listed: the days were chosen).
  int piecesMade = 0;
  const std::string text =
      joined(LogCsv::Pieces({strength_, cardio_, now_, 30, *formatter_}, 1), 1, [&] {
        if (++piecesMade != 3) return;
        strength_.asDictionary()[dayBefore(0)] = Dictionary{{"Squat", Array{"changed", "5", ""}}};
        strength_.asDictionary().erase(dayBefore(1));
        strength_.asDictionary()[dayBefore(-1)] = Dictionary{{"Squat", Array{"later", "5", ""}}};
      });
  const auto has = [&](const std::string& weight) {
    return text.find("\"Squat\",\"1\",\"" + weight + "\",\"5\"") != std::string::npos;
  };
  EXPECT_TRUE(has("5") && has("4") && has("3") && has("2")) << text;
  EXPECT_TRUE(has("changed")) << text;
  EXPECT_FALSE(has("0") || has("1") || has("later")) << text;

  // The logs emptied, or not dictionaries at all, after the first piece (the cardio head, its
  // day listed): that day's group is empty, and the strength section has no days.
  for (const PropertyList& replacement : {PropertyList(Dictionary{}), PropertyList("not a log")}) {
    strength_ = Dictionary{{dayBefore(0), Dictionary{{"Squat", Array{"1", "5", ""}}}}};
    cardio_ = Dictionary{{dayBefore(0), Dictionary{{" rowing", Array{"1", "2", "3", "4", ""}}}}};
    LogCsv::Pieces pieces({strength_, cardio_, now_, 30, *formatter_}, 1);
    const std::vector<std::uint8_t> first = pieces.next();
    strength_ = replacement;
    cardio_ = replacement;
    EXPECT_EQ(std::string(first.begin(), first.end()) + joined(std::move(pieces)),
              "Cardio\n" + std::string(LogCsv::kCardioHeader) + "\n\n\nExercise\n" +
                  std::string(LogCsv::kStrengthHeader));
  }
}

}  // namespace
}  // namespace kinetra::test
