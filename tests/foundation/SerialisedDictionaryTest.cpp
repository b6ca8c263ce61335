#include "foundation/SerialisedDictionary.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "foundation/AtomicFile.h"
#include "foundation/FileSystem.h"
#include "foundation/PropertyListWriter.h"
#include "support/TemporaryDirectory.h"

namespace kinetra {
namespace {

std::string joined(const SerialisedDictionary& serialised) {
  std::string bytes;
  for (const FilePiece& piece : serialised.pieces()) bytes += piece.bytes;
  return bytes;
}

std::string whole(const PropertyList& value) { return *PropertyListWriter::serialise(value); }

// A log-shaped dictionary: days of exercises of set strings, with text that needs escaping.
class RandomLog {
 public:
  explicit RandomLog(unsigned seed) : random_(seed) {}

  std::string day() {
    return "2019-" + std::to_string(pick(1, 12)) + "-" + std::to_string(pick(1, 28));
  }

  PropertyList dayValue() {
    PropertyList::Dictionary exercises;
    for (int e = pick(1, 4); e > 0; --e) exercises[exercise()] = sets(pick(1, 3));
    return exercises;
  }

  PropertyList::Array sets(int count) {
    static const std::vector<std::string> notes = {"", "felt <good> & strong", "a\rb", "Ünïcödé",
                                                   "line\nbreak"};
    PropertyList::Array strings;
    for (int s = 0; s < count; ++s) {
      strings.emplace_back(std::to_string(pick(0, 200)) + (pick(0, 1) ? " kg" : " lbs"));
      strings.emplace_back(std::to_string(pick(0, 12)));
      strings.emplace_back(notes[static_cast<std::size_t>(pick(0, 4))]);
    }
    return strings;
  }

  std::string exercise() {
    static const std::vector<std::string> names = {"Bench Press", "Squat", "Curl & Press", "<Dips>",
                                                   "Row"};
    return names[static_cast<std::size_t>(pick(0, 4))];
  }

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

 private:
  std::mt19937 random_;
};

// After any sequence of changes, each naming the days it touched, the kept pieces are the whole
// serialisation's bytes: days added, sets appended and removed, days removed, a day turned into
// another kind of value, the log emptied and filled again.
TEST(SerialisedDictionaryTest, NamedChangesKeepTheBytesOfAWholeSerialisation) {
  RandomLog random(20261207);
  PropertyList log = PropertyList::Dictionary{};
  SerialisedDictionary serialised;
  ASSERT_TRUE(serialised.rebuild(log).ok());
  EXPECT_EQ(joined(serialised), whole(log));
  for (int step = 0; step < 2000; ++step) {
    PropertyList::Dictionary& days = log.asDictionary();
    std::vector<std::string> changed;
    const int kind = random.pick(0, 9);
    if (kind <= 3 || days.empty()) {
      const std::string day = random.day();
      days[day] = random.dayValue();
      changed.push_back(day);
    } else {
      auto entry = days.begin();
      std::advance(entry, random.pick(0, static_cast<int>(days.size()) - 1));
      changed.push_back(entry->first);
      if (kind <= 6 && entry->second.isDictionary()) {
        auto& exercises = entry->second.asDictionary();
        auto& sets = exercises[random.exercise()];
        if (!sets.isArray()) sets = PropertyList::Array{};
        for (auto& value : random.sets(1)) sets.asArray().push_back(value);
      } else if (kind == 7) {
        entry->second = PropertyList(PropertyList::Integer(step));
      } else if (kind == 8) {
        days.erase(entry);
      } else {
        // Two days at once, one of them named twice.
        const std::string other = random.day();
        days[other] = random.dayValue();
        changed.push_back(other);
        changed.push_back(other);
      }
    }
    if (step % 500 == 499) {
      for (const auto& [day, value] : days) changed.push_back(day);
      days.clear();
    }
    ASSERT_TRUE(serialised.update(log, changed).ok()) << step;
    ASSERT_EQ(joined(serialised), whole(log)) << step;
    ASSERT_EQ(serialised.size(), whole(log).size()) << step;
  }
}

// Each day's bytes are kept for as long as the process runs: a string grown by doubling would keep
// up to half again its size unused, for every day of ten years of logs.
TEST(SerialisedDictionaryTest, AnEntryIsKeptAtItsSize) {
  RandomLog random(7);
  for (int sets = 1; sets <= 40; ++sets) {
    PropertyList::Dictionary exercises;
    exercises["Bench Press"] = random.sets(sets);
    const Result<std::string> bytes =
        PropertyListWriter::serialiseTopLevelEntry("2019-1-1", PropertyList(exercises));
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(bytes->capacity(), bytes->size()) << sets;
  }
}

// A day added or removed without being named is caught by the count and costs a rebuild; a key
// that needs repair keeps the dictionary whole, since repaired keys change places.
TEST(SerialisedDictionaryTest, UnnamedKeysAndKeysThatNeedRepairStillWriteTheRightBytes) {
  PropertyList log = PropertyList::Dictionary{{"2020-01-02", "a"}, {"2020-01-03", "b"}};
  SerialisedDictionary serialised;
  ASSERT_TRUE(serialised.rebuild(log).ok());
  log.asDictionary()["2020-01-04"] = "c";
  ASSERT_TRUE(serialised.update(log, {}).ok());
  EXPECT_EQ(joined(serialised), whole(log));
  log.asDictionary().erase("2020-01-02");
  ASSERT_TRUE(serialised.update(log, {}).ok());
  EXPECT_EQ(joined(serialised), whole(log));

  // "\xff" and "\x01" both read back as U+FFFD: the later in byte order wins.
  log.asDictionary()["\xff"] = "later";
  log.asDictionary()["\x01"] = "earlier";
  const std::vector<std::string> named = {"\xff", "\x01"};
  ASSERT_TRUE(serialised.update(log, named).ok());
  EXPECT_EQ(joined(serialised), whole(log));
  EXPECT_EQ(serialised.pieces().size(), 1u);
  log.asDictionary()["2020-01-05"] = "d";
  const std::vector<std::string> day = {"2020-01-05"};
  ASSERT_TRUE(serialised.update(log, day).ok());
  EXPECT_EQ(joined(serialised), whole(log));
}

// What the whole writer refuses is refused here too, and nothing stale is kept afterwards.
TEST(SerialisedDictionaryTest, RefusesWhatTheWriterRefusesAndKeepsNothingThen) {
  PropertyList log = PropertyList::Dictionary{{"2020-01-02", std::string(100, 'x')}};
  SerialisedDictionary serialised;
  const std::size_t size = whole(log).size();
  ASSERT_TRUE(serialised.rebuild(log, size).ok());
  log.asDictionary()["2020-01-03"] = "y";
  const std::vector<std::string> day = {"2020-01-03"};
  EXPECT_EQ(serialised.update(log, day, size).code(), Status::Code::kTooLarge);
  EXPECT_TRUE(serialised.empty());
  EXPECT_TRUE(serialised.pieces().empty());

  PropertyList deep = PropertyList::Array{};
  for (int depth = 0; depth < PropertyList::kMaxDepth; ++depth) {
    deep = PropertyList(PropertyList::Array{std::move(deep)});
  }
  ASSERT_TRUE(serialised.rebuild(log).ok());
  log.asDictionary()["2020-01-03"] = deep;
  EXPECT_EQ(serialised.update(log, day).code(), Status::Code::kInvalidArgument);
  EXPECT_TRUE(serialised.empty());
  EXPECT_EQ(serialised.rebuild(PropertyList("not a dictionary")).code(),
            Status::Code::kInvalidArgument);
}

// The pieces go to disk in one pass, however many there are (more than one writev takes) and
// wherever they are empty.
TEST(SerialisedDictionaryTest, ThePiecesReachTheFileInOrder) {
  testing::TemporaryDirectory directory;
  const auto path = directory / "Kinetra_Log.plist";
  std::vector<std::string> texts;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    texts.push_back(i % 7 == 0 ? std::string() : std::to_string(i) + ",");
    expected += texts.back();
  }
  const std::vector<std::string_view> pieces(texts.begin(), texts.end());
  ASSERT_TRUE(AtomicFile::write(path, pieces).ok());
  EXPECT_EQ(testing::fileContents(path), expected);
  ASSERT_TRUE(AtomicFile::write(path, std::span<const std::string_view>()).ok());
  EXPECT_EQ(testing::fileContents(path), "");
}

}  // namespace
}  // namespace kinetra

namespace kinetra {
namespace {

// The file as written, with every piece that lies in the source file read from it.
std::string written(const SerialisedDictionary& serialised, int source) {
  std::string bytes;
  for (const FilePiece& piece : serialised.pieces()) {
    if (!piece.inSource()) {
      bytes += piece.bytes;
      continue;
    }
    std::string there(piece.length, '\0');
    EXPECT_EQ(::pread(source, there.data(), there.size(), piece.offset),
              static_cast<ssize_t>(there.size()));
    bytes += there;
  }
  return bytes;
}

// Saved as the store saves: each save takes the unchanged days from the file written last, then
// lets every day lie in the new file. After any changes the file is the whole serialisation.
TEST(SerialisedDictionaryTest, DaysLyingInTheFileWrittenLastWriteTheSameBytes) {
  testing::TemporaryDirectory folder;
  const std::filesystem::path path = folder / "Kinetra_Log.plist";
  RandomLog random(8);
  PropertyList log = PropertyList::Dictionary{};
  for (int day = 0; day < 60; ++day) log.asDictionary()[random.day()] = random.dayValue();
  SerialisedDictionary serialised;
  ASSERT_TRUE(serialised.rebuild(log).ok());
  int source = -1;
  for (int save = 0; save < 40; ++save) {
    std::vector<std::string> changed;
    for (int change = random.pick(0, 3); change > 0; --change) {
      const std::string day = random.day();
      if (random.pick(0, 3) == 0) {
        log.asDictionary().erase(day);
      } else {
        log.asDictionary()[day] = random.dayValue();
      }
      changed.push_back(day);
    }
    ASSERT_TRUE(serialised.update(log, changed).ok()) << save;
    ASSERT_EQ(written(serialised, source), whole(log)) << save;
    ASSERT_TRUE(AtomicFile::write(FileSystem::system(), path, serialised.pieces(), source).ok());
    ASSERT_EQ(testing::fileContents(path), whole(log)) << save;
    if (source >= 0) ::close(source);
    source = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(source, 0);
    serialised.keptInFile();
    EXPECT_TRUE(serialised.inFile());
    // Just written, the days are one piece of the file, copied at once.
    const std::vector<FilePiece> pieces = serialised.pieces();
    ASSERT_EQ(pieces.size(), 3u) << save;
    EXPECT_TRUE(pieces[1].inSource());
    EXPECT_EQ(pieces[1].offset, static_cast<off_t>(pieces[0].size()));
  }
  ::close(source);
}

// A file written before (of an older log, or not by this writer at all) is taken for the days
// it holds exactly where the serialisation puts them; the others stay in memory.
TEST(SerialisedDictionaryTest, AFileWrittenBeforeLendsTheDaysItHoldsInPlace) {
  testing::TemporaryDirectory folder;
  const std::filesystem::path path = folder / "Kinetra_Log.plist";
  RandomLog random(9);
  PropertyList log = PropertyList::Dictionary{};
  for (int day = 0; day < 30; ++day)
    log.asDictionary()["2019-01-" + std::to_string(10 + day)] = random.dayValue();
  const std::string before = whole(log);
  ASSERT_TRUE(AtomicFile::write(path, before).ok());
  const int source = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(source, 0);
  const auto fileHolds = [&](off_t offset, std::string_view bytes) {
    return offset + bytes.size() <= before.size() &&
           before.compare(offset, bytes.size(), bytes) == 0;
  };
  // The bytes taken from the file, and the places they are taken from.
  const auto inSource = [](const SerialisedDictionary& serialised) {
    std::vector<std::pair<off_t, std::size_t>> places;
    for (const FilePiece& piece : serialised.pieces()) {
      if (piece.inSource()) places.emplace_back(piece.offset, piece.length);
    }
    return places;
  };
  const auto head = static_cast<off_t>(PropertyListWriter::dictionaryHead().size());
  const std::size_t days =
      before.size() - static_cast<std::size_t>(head) - PropertyListWriter::dictionaryTail().size();
  const std::size_t firstTwenty =
      whole(log).find("<key>2019-01-30</key>") - static_cast<std::size_t>(head) - 1;

  SerialisedDictionary serialised;
  ASSERT_TRUE(serialised.rebuild(log, fileHolds).ok());
  using Places = std::vector<std::pair<off_t, std::size_t>>;
  EXPECT_EQ(inSource(serialised), (Places{{head, days}}));
  EXPECT_EQ(written(serialised, source), before);

  // The 21st day changed: the days before it still lie where they were, those after it moved.
  log.asDictionary()["2019-01-30"] = random.dayValue();
  ASSERT_TRUE(serialised.rebuild(log, fileHolds).ok());
  const Places places = inSource(serialised);
  ASSERT_FALSE(places.empty());
  EXPECT_EQ(places[0], std::make_pair(head, firstTwenty));
  EXPECT_EQ(written(serialised, source), whole(log));

  // Nothing held: all in memory, and nothing said to lie in the file.
  ASSERT_TRUE(serialised.rebuild(log, [](off_t, std::string_view) { return false; }).ok());
  EXPECT_FALSE(serialised.inFile());
  EXPECT_TRUE(inSource(serialised).empty());
  EXPECT_EQ(joined(serialised), whole(log));
  ::close(source);
}

}  // namespace
}  // namespace kinetra
