#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "foundation/BinaryPropertyListScanner.h"
#include "foundation/PropertyList.h"
#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"
#include "support/TemporaryDirectory.h"

namespace kinetra {
namespace {

using Array = PropertyList::Array;
using Dictionary = PropertyList::Dictionary;
using Integer = PropertyList::Integer;

void store(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs the plistlib peer script; true when it exits with 0.
bool peer(const std::string& arguments) {
  std::string command = std::string(KINETRA_TEST_PYTHON) + " " + KINETRA_TEST_SOURCE_DIR +
                        "/tests/foundation/plist_peer.py " + arguments;
  return std::system(command.c_str()) == 0;
}

std::string quoted(const std::filesystem::path& path) {
  std::string text(1, '\'');
  text.append(path.string()).push_back('\'');
  return text;
}

// The value plist_peer.py calls SAMPLE.
PropertyList sample() {
  PropertyList::Data bytes{0x00, 0x01, 0xFE, 0xFF};
  for (int i = 0; i < 100; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
  return Dictionary{
      {"plain", "Bench Press"},
      {"escaped", "a & b < c > d \"q\" 'a' ]]>"},
      {"unicode", "Gr\u00fc\u00dfe \u2013 \u65e5\u672c \U0001F600"},
      {"whitespace", "  tab\tnewline\n  "},
      {"empty", ""},
      {"emptyArray", Array{}},
      {"emptyDict", Dictionary{}},
      {"nested", Array{Array{"a", Array{"b", Array{}}},
                       Dictionary{{"k", Dictionary{{"deep", Array{"x", Dictionary{}}}}}}}},
      {"<key & more>", "escaped key"},
      {"\u043a\u043b\u044e\u0447", "\u0437\u043d\u0430\u0447\u0435\u043d\u0438\u0435"},
      {"integers", Array{Integer(0), Integer(1), Integer(-1), Integer(42),
                         Integer(std::numeric_limits<std::int64_t>::min()),
                         Integer(std::numeric_limits<std::int64_t>::max()),
                         Integer::fromUnsigned(std::numeric_limits<std::uint64_t>::max())}},
      {"reals", Array{0.5, -2.25, 1e300, 3.141592653589793, 0.1}},
      {"booleans", Array{true, false}},
      {"dates", Array{Date(1262694645.0), Date(-14182940.0)}},
      {"data", Array{bytes, PropertyList::Data{}}},
  };
}

// A strength log in the stored layout, with text that needs escaping and non-ASCII names.
PropertyList sampleLog() {
  PropertyList log = Dictionary{};
  const char* exercises[] = {"Bench Press", "Curl & Press", "Kniebeuge \u00fc", "<Row>",
                             "Dip \U0001F4AA"};
  std::mt19937 random(7);
  for (int day = 1; day <= 40; ++day) {
    auto& entries = log.asDictionary()["Jan " + std::to_string(day) + ", 2010"] = Dictionary{};
    for (const char* exercise : exercises) {
      if (random() % 3 == 0) continue;
      Array sets;
      for (unsigned set = 0; set < random() % 5; ++set) {
        sets.push_back(std::to_string(20 + random() % 100) + ".5 kg");
        sets.push_back(std::to_string(random() % 12));
        sets.push_back(random() % 2 ? "" : "felt \"strong\" > usual");
      }
      entries.asDictionary()[exercise] = std::move(sets);
    }
  }
  return log;
}

class PropertyListFileTest : public ::testing::Test {
 protected:
  testing::TemporaryDirectory directory_;
};

TEST_F(PropertyListFileTest, TypedLoadTellsMissingFromUnreadable) {
  ASSERT_TRUE(writePropertyList(directory_ / "log.plist", Dictionary{{"a", Array{"1"}}}).ok());
  Result<PropertyList> log =
      loadPropertyList(directory_ / "log.plist", PropertyList::Kind::kDictionary);
  ASSERT_TRUE(log.ok()) << log.status().toString();
  EXPECT_EQ(*log, PropertyList(Dictionary{{"a", Array{"1"}}}));

  auto code = [&](const std::filesystem::path& path, PropertyList::Kind kind) {
    return loadPropertyList(path, kind).status().code();
  };
  EXPECT_EQ(code(directory_ / "log.plist", PropertyList::Kind::kArray), Status::Code::kCorrupt);
  EXPECT_EQ(code(directory_ / "missing.plist", PropertyList::Kind::kArray),
            Status::Code::kNotFound);
  EXPECT_EQ(code(directory_ / "log.plist" / "below", PropertyList::Kind::kArray),
            Status::Code::kNotFound);
  store(directory_ / "empty.plist", "");
  EXPECT_EQ(code(directory_ / "empty.plist", PropertyList::Kind::kArray), Status::Code::kCorrupt);
  store(directory_ / "string.plist", "<plist><string>x</string></plist>");
  EXPECT_EQ(code(directory_ / "string.plist", PropertyList::Kind::kArray), Status::Code::kCorrupt);
  std::filesystem::create_directory(directory_ / "folder.plist");
  EXPECT_EQ(code(directory_ / "folder.plist", PropertyList::Kind::kArray), Status::Code::kIOError);
  // A pipe would block a plain open; it is refused at once.
  ASSERT_EQ(::mkfifo((directory_ / "pipe.plist").c_str(), 0644), 0);
  EXPECT_EQ(code(directory_ / "pipe.plist", PropertyList::Kind::kArray), Status::Code::kIOError);
}

TEST_F(PropertyListFileTest, FileOverTheLimitIsRefusedBeforeReading) {
  std::filesystem::path path = directory_ / "huge.plist";
  store(path, "<plist><array>");
  std::filesystem::resize_file(path, PropertyListReader::kMaxFileBytes + 1);  // sparse
  EXPECT_EQ(PropertyListReader::readFile(path).status().code(), Status::Code::kTooLarge);
}

TEST_F(PropertyListFileTest, WhatWeWritePlistlibReadsAndWritesByteForByte) {
  ASSERT_TRUE(writePropertyList(directory_ / "sample.plist", sample()).ok());
  EXPECT_TRUE(peer("check " + quoted(directory_ / "sample.plist")));

  // For the stored layout (strings, arrays, dictionaries) plistlib's XML is ours exactly.
  ASSERT_TRUE(writePropertyList(directory_ / "ours.plist", sampleLog()).ok());
  ASSERT_TRUE(peer("convert " + quoted(directory_ / "ours.plist") + " " +
                   quoted(directory_ / "theirs.plist") + " xml"));
  EXPECT_EQ(testing::fileContents(directory_ / "ours.plist"),
            testing::fileContents(directory_ / "theirs.plist"));
}

TEST_F(PropertyListFileTest, WhatPlistlibWritesWeReadInBothForms) {
  for (const char* form : {"xml", "binary"}) {
    std::filesystem::path path = directory_ / (std::string(form) + ".plist");
    ASSERT_TRUE(peer(std::string("write ") + form + " " + quoted(path)));
    Result<PropertyList> value = PropertyListReader::readFile(path);
    ASSERT_TRUE(value.ok()) << form << ": " << value.status().toString();
    EXPECT_EQ(*value, sample()) << form;
  }
  ASSERT_TRUE(writePropertyList(directory_ / "log.plist", sampleLog()).ok());
  ASSERT_TRUE(peer("convert " + quoted(directory_ / "log.plist") + " " +
                   quoted(directory_ / "log.bplist") + " binary"));
  Result<PropertyList> log =
      loadPropertyList(directory_ / "log.bplist", PropertyList::Kind::kDictionary);
  ASSERT_TRUE(log.ok()) << log.status().toString();
  EXPECT_EQ(*log, sampleLog());
}

// Builds binary property lists object by object: one-byte references, two-byte offsets.
class BinaryBuilder {
 public:
  std::size_t add(std::string object) {
    objects_.push_back(std::move(object));
    return objects_.size() - 1;
  }
  std::size_t string(const std::string& text) {
    return add(std::string(1, static_cast<char>(0x50 | text.size())) + text);
  }
  std::size_t array(const std::vector<std::size_t>& references) {
    std::string object(1, static_cast<char>(0xA0 | references.size()));
    for (std::size_t reference : references) object += static_cast<char>(reference);
    return add(object);
  }
  std::size_t dictionary(const std::vector<std::size_t>& keys,
                         const std::vector<std::size_t>& values) {
    std::string object(1, static_cast<char>(0xD0 | keys.size()));
    for (std::size_t key : keys) object += static_cast<char>(key);
    for (std::size_t value : values) object += static_cast<char>(value);
    return add(object);
  }
  std::size_t utf16(const std::vector<char16_t>& units) {
    std::string object(1, static_cast<char>(0x60 | units.size()));
    for (char16_t unit : units) {
      object += static_cast<char>(unit >> 8);
      object += static_cast<char>(unit & 0xFF);
    }
    return add(object);
  }
  std::size_t date(double secondsSince2001) {
    return eightBytes(0x33, std::bit_cast<std::uint64_t>(secondsSince2001));
  }
  std::size_t eightBytes(unsigned char marker, std::uint64_t bits) {
    std::string object(1, static_cast<char>(marker));
    for (int shift = 56; shift >= 0; shift -= 8) object += static_cast<char>(bits >> shift);
    return add(object);
  }
  // Replaces object `index` once references to later objects are known.
  void set(std::size_t index, std::string object) { objects_[index] = std::move(object); }

  std::string build(std::size_t top, std::uint64_t objectCount = 0) const {
    std::string bytes = "bplist00";
    std::vector<std::size_t> offsets;
    for (const std::string& object : objects_) {
      offsets.push_back(bytes.size());
      bytes += object;
    }
    std::size_t table = bytes.size();
    for (std::size_t offset : offsets) {
      bytes += static_cast<char>(offset >> 8);
      bytes += static_cast<char>(offset);
    }
    std::string trailer(6, '\0');
    trailer += '\x02';  // offset size
    trailer += '\x01';  // reference size
    auto append64 = [&](std::uint64_t value) {
      for (int shift = 56; shift >= 0; shift -= 8) trailer += static_cast<char>(value >> shift);
    };
    append64(objectCount != 0 ? objectCount : objects_.size());
    append64(top);
    append64(table);
    return bytes + trailer;
  }

 private:
  std::vector<std::string> objects_;
};

Status::Code binaryCode(const std::string& bytes) {
  return PropertyListReader::parse(bytes).status().code();
}

std::string arrayOf(const std::vector<std::size_t>& references) {
  std::string object(1, static_cast<char>(0xA0 | references.size()));
  for (std::size_t reference : references) object += static_cast<char>(reference);
  return object;
}

TEST(BinaryPropertyListTest, SharedObjectsExpandIntoEqualValues) {
  BinaryBuilder plist;
  std::size_t text = plist.string("a");
  std::size_t list = plist.array({text, text});
  std::size_t key = plist.string("k");
  std::size_t top = plist.dictionary({key}, {list});
  Result<PropertyList> value = PropertyListReader::parse(plist.build(top));
  ASSERT_TRUE(value.ok()) << value.status().toString();
  EXPECT_EQ(*value, PropertyList(Dictionary{{"k", Array{"a", "a"}}}));
}

// Other writers may store empty text as UTF-16 of no units (0x60, or 0x6F with a count of 0),
// which libplist alone refuses; as key and value, it reads as empty text, exactly.
TEST(BinaryPropertyListTest, EmptyUtf16TextReadsAsEmptyText) {
  for (const std::string& empty : {std::string("\x60"), std::string("\x6F\x10\x00", 3)}) {
    BinaryBuilder plist;
    std::size_t text = plist.add(empty);
    std::size_t other = plist.string("a");
    std::size_t list = plist.array({text, other, text});
    std::size_t top = plist.dictionary({text}, {list});
    Result<PropertyListReading> reading = PropertyListReader::read(plist.build(top));
    ASSERT_TRUE(reading.ok()) << reading.status().toString();
    EXPECT_TRUE(reading->exact()) << reading->inexact;
    EXPECT_EQ(reading->value, PropertyList(Dictionary{{"", Array{"", "a", ""}}}));
  }
}

TEST(BinaryPropertyListTest, CyclesAndExponentialSharingAreRefused) {
  BinaryBuilder cycle;
  cycle.array({0});
  EXPECT_EQ(binaryCode(cycle.build(0)), Status::Code::kCorrupt);

  BinaryBuilder indirect;
  indirect.array({1});
  indirect.array({0});
  EXPECT_EQ(binaryCode(indirect.build(0)), Status::Code::kCorrupt);

  // Sixty levels of [next, next]: a few hundred bytes that would expand to 2^60 values.
  BinaryBuilder doubling;
  for (std::size_t i = 0; i < 60; ++i) doubling.array({i + 1, i + 1});
  doubling.string("x");
  EXPECT_EQ(binaryCode(doubling.build(0)), Status::Code::kTooLarge);
}

// Reading costs what a table expands to, so a table may not expand far beyond its own size (the
// fuzzer's find: 106 bytes of arrays sharing each level twice took seconds and megabytes per
// level). Text shared as widely as writers that unique their objects share it still reads.
TEST(BinaryPropertyListTest, ATableThatExpandsFarBeyondItsSizeIsRefused) {
  auto doubling = [](std::size_t levels) {
    BinaryBuilder plist;
    for (std::size_t i = 0; i < levels; ++i) plist.array({i + 1, i + 1});
    plist.string("x");
    return plist.build(0);
  };
  EXPECT_TRUE(PropertyListReader::parse(doubling(14)).ok());  // 2^15 values
  const std::string small = doubling(16);                     // 2^17 values
  ASSERT_LT(std::uint64_t{1} << 17, BinaryPropertyListScanner::kMaxNodes);
  EXPECT_EQ(binaryCode(small), Status::Code::kTooLarge);

  // One short text behind 100,000 one-byte references: 100,001 values from 100 KB.
  BinaryBuilder wide;
  wide.string("kg");
  std::string list = "\xAF\x12";
  const std::uint32_t count = 100'000;
  for (int shift = 24; shift >= 0; shift -= 8) list += static_cast<char>(count >> shift);
  list += std::string(count, '\x00');
  wide.add(list);
  Result<PropertyList> value = PropertyListReader::parse(wide.build(1));
  ASSERT_TRUE(value.ok()) << value.status().toString();
  EXPECT_EQ(value->asArray().size(), count);
  EXPECT_EQ(value->asArray().back(), PropertyList("kg"));
}

TEST(BinaryPropertyListTest, DepthCountsEveryPathToASharedContainer) {
  // Object i holds object i + 1; the last is empty.
  auto chain = [](BinaryBuilder& plist, std::size_t first, std::size_t length) {
    for (std::size_t i = 0; i + 1 < length; ++i) plist.array({first + i + 1});
    plist.array({});
  };
  BinaryBuilder deep;
  chain(deep, 0, 64);
  EXPECT_TRUE(PropertyListReader::parse(deep.build(0)).ok());
  BinaryBuilder tooDeep;
  chain(tooDeep, 0, 65);
  EXPECT_EQ(binaryCode(tooDeep.build(0)), Status::Code::kTooLarge);

  // top = [chain, [chain]]: the 62-deep chain fits under the top, not one level further down.
  BinaryBuilder shared;
  shared.add("");  // top, set below
  shared.array({3});
  shared.array({});  // placeholder
  chain(shared, 3, 62);
  shared.set(0, arrayOf({3, 1}));
  shared.set(2, arrayOf({}));
  EXPECT_TRUE(PropertyListReader::parse(shared.build(0)).ok());
  shared.set(2, arrayOf({1}));
  shared.set(0, arrayOf({3, 2}));
  EXPECT_EQ(binaryCode(shared.build(0)), Status::Code::kTooLarge);
}

TEST(BinaryPropertyListTest, MalformedTablesAreCorrupt) {
  auto valid = [] {
    BinaryBuilder plist;
    plist.array({1});
    plist.string("abc");
    return plist;
  };
  std::string good = valid().build(0);
  ASSERT_TRUE(PropertyListReader::parse(good).ok());

  auto corrupted = [&](std::size_t at, char byte) {
    std::string bytes = good;
    bytes[at] = byte;
    return bytes;
  };
  const std::size_t trailer = good.size() - 32;
  std::vector<std::string> cases = {
      good.substr(0, 20),
      "bplist01" + good.substr(8),
      corrupted(trailer + 6, 0),     // offset size 0
      corrupted(trailer + 7, 9),     // reference size 9
      corrupted(trailer + 23, 2),    // top object beyond the count
      corrupted(trailer + 31, 100),  // offset table beyond the trailer
      corrupted(9, 7),               // reference beyond the count
      corrupted(10, 0x5E),           // string runs into the offset table
      corrupted(10, 0x5F),           // count marker missing
      corrupted(good.size() - 32 - 1, static_cast<char>(0xF0)),  // object offset in the table
      valid().build(0, 50),                                      // object count beyond the table
  };
  BinaryBuilder keyNotString;
  keyNotString.dictionary({1}, {1});
  keyNotString.array({});
  cases.push_back(keyNotString.build(0));
  BinaryBuilder nulKey;  // libplist aborts on such a key
  nulKey.dictionary({1}, {1});
  nulKey.string(std::string("a\0b", 3));
  cases.push_back(nulKey.build(0));
  BinaryBuilder uid;
  uid.add("\x80\x01");
  cases.push_back(uid.build(0));
  BinaryBuilder farDate;
  farDate.eightBytes(0x33, std::bit_cast<std::uint64_t>(1e12));
  cases.push_back(farDate.build(0));
  BinaryBuilder nanDate;
  nanDate.eightBytes(0x33, std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN()));
  cases.push_back(nanDate.build(0));
  BinaryBuilder hugeInteger;
  hugeInteger.add(std::string("\x14\x00\x00\x00\x00\x00\x00\x00\x01", 9) + std::string(8, '\0'));
  cases.push_back(hugeInteger.build(0));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(binaryCode(cases[i]), Status::Code::kCorrupt) << "case " << i;
  }
}

// One value in an array of its own, or one key of a dictionary, in binary form.
std::string binaryArrayOf(const std::function<std::size_t(BinaryBuilder&)>& element) {
  BinaryBuilder plist;
  plist.add("");
  plist.set(0, arrayOf({element(plist)}));
  return plist.build(0);
}
std::string binaryKey(const std::function<std::size_t(BinaryBuilder&)>& key) {
  BinaryBuilder plist;
  plist.add("");
  std::size_t name = key(plist);
  plist.set(0,
            std::string("\xD1") + static_cast<char>(name) + static_cast<char>(plist.string("v")));
  return plist.build(0);
}

// What a reading cannot keep exactly, it says, and shows what it can; what it keeps exactly it
// does not flag. Whatever it shows, the writer writes unchanged and reads back exactly.
TEST(PropertyListExactnessTest, ReadingsSayWhenTheyCannotKeepTheValueExactly) {
  const double kSecondsFrom1970To2001 = 978307200.0;
  struct Case {
    std::string label;
    std::string bytes;
    bool exact;
    std::optional<PropertyList> shown;
  };
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const std::vector<Case> cases = {
      {"xml: repeated key",
       "<plist><dict><key>a</key><string>1</string><key>a</key><string>2</string></dict></plist>",
       false, Dictionary{{"a", "2"}}},
      {"xml: the same key in two dictionaries",
       "<plist><dict><key>a</key><dict><key>a</key><string/></dict></dict></plist>", true,
       Dictionary{{"a", Dictionary{{"a", ""}}}}},
      {"xml: real beyond a double", "<plist><real>1e400</real></plist>", false, std::nullopt},
      {"xml: real below a double", "<plist><real>-1e-400</real></plist>", false, std::nullopt},
      {"xml: subnormal real", "<plist><real>5e-324</real></plist>", true, PropertyList(5e-324)},
      {"xml: forms that read as one value",
       "<plist><array><integer>0x1F</integer><string>a\r\nb</string><real>+inf</real>"
       "<date>2010-01Z</date></array></plist>",
       true,
       Array{Integer(31), "a\nb", std::numeric_limits<double>::infinity(), Date(1262304000.0)}},
      {"binary: lone high surrogate", binaryArrayOf([](BinaryBuilder& b) {
         return b.utf16({u'a', 0xD800});
       }),
       false, std::nullopt},
      {"binary: high surrogate at the end",
       binaryArrayOf([](BinaryBuilder& b) { return b.utf16({0xD83D}); }), false, std::nullopt},
      {"binary: surrogates in the wrong order", binaryArrayOf([](BinaryBuilder& b) {
         return b.utf16({0xDE00, 0xD83D});
       }),
       false, std::nullopt},
      {"binary: key with a lone low surrogate", binaryKey([](BinaryBuilder& b) {
         return b.utf16({u'k', 0xDC00});
       }),
       false, std::nullopt},
      {"binary: surrogate pair", binaryArrayOf([](BinaryBuilder& b) {
         return b.utf16({0xD83D, 0xDE00, u'!'});
       }),
       true, Array{"\xF0\x9F\x98\x80!"}},
      {"binary: ASCII text holding NUL",
       binaryArrayOf([](BinaryBuilder& b) { return b.string(std::string("a\0b", 3)); }), false,
       std::nullopt},
      {"binary: UTF-16 text holding NUL", binaryArrayOf([](BinaryBuilder& b) {
         return b.utf16({u'a', 0, u'b'});
       }),
       false, Array{"a" + r + "b"}},
      {"binary: control character",
       binaryArrayOf([](BinaryBuilder& b) { return b.string("a\ab"); }), false,
       Array{"a" + r + "b"}},
      {"binary: bytes that are not UTF-8",
       binaryArrayOf([](BinaryBuilder& b) { return b.string("\xC3("); }), false, Array{r + "("}},
      // Byte by byte, as the writer repairs it.
      {"binary: U+FFFE", binaryArrayOf([](BinaryBuilder& b) { return b.utf16({0xFFFE}); }), false,
       Array{r + r + r}},
      {"binary: key with a control character",
       binaryKey([](BinaryBuilder& b) { return b.string("k\x01"); }), false,
       Dictionary{{"k" + r, "v"}}},
      {"binary: the same key in ASCII and in UTF-16",
       [] {
         BinaryBuilder plist;
         plist.add("");
         std::size_t ascii = plist.string("k");
         std::size_t utf16 = plist.utf16({u'k'});
         std::size_t one = plist.string("1");
         std::size_t two = plist.string("2");
         plist.set(0, std::string("\xD2") + static_cast<char>(ascii) + static_cast<char>(utf16) +
                          static_cast<char>(one) + static_cast<char>(two));
         return plist.build(0);
       }(),
       false, std::nullopt},
      {"binary: a quarter second", binaryArrayOf([](BinaryBuilder& b) { return b.date(0.25); }),
       false, std::nullopt},
      {"binary: half a second before 2001",
       binaryArrayOf([](BinaryBuilder& b) { return b.date(-0.5); }), false, std::nullopt},
      {"binary: a tenth of a microsecond",
       binaryArrayOf([](BinaryBuilder& b) { return b.date(1e-7); }), false, std::nullopt},
      {"binary: whole seconds", binaryArrayOf([](BinaryBuilder& b) { return b.date(-1.0); }), true,
       Array{Date(kSecondsFrom1970To2001 - 1)}},
      {"binary: four-byte real", binaryArrayOf([](BinaryBuilder& b) {
         return b.add(std::string("\x22\x3D\xCC\xCC\xCD", 5));
       }),
       true, Array{static_cast<double>(0.1f)}},
  };
  for (const Case& c : cases) {
    Result<PropertyListReading> reading = PropertyListReader::read(c.bytes);
    ASSERT_TRUE(reading.ok()) << c.label << ": " << reading.status().toString();
    EXPECT_EQ(reading->exact(), c.exact) << c.label << ": " << reading->inexact;
    if (c.shown) {
      EXPECT_EQ(reading->value, *c.shown) << c.label;
    }
    Result<std::string> written = PropertyListWriter::serialise(reading->value);
    ASSERT_TRUE(written.ok()) << c.label;
    Result<PropertyListReading> again = PropertyListReader::read(*written);
    ASSERT_TRUE(again.ok()) << c.label;
    EXPECT_TRUE(again->exact()) << c.label << ": " << again->inexact;
    const PropertyList& first =
        reading->value.isArray() ? reading->value.asArray()[0] : PropertyList();
    if (!c.exact && first.isDate()) continue;  // the XML form has no fractions of a second
    EXPECT_EQ(again->value, reading->value) << c.label << ": the writer changed what was shown";
  }
}

// Random damage to valid files in both forms: every outcome is a value or an error, never a
// crash, a hang or a sanitizer report.
TEST(PropertyListRobustnessTest, DamagedFilesHaveADefinedOutcome) {
  BinaryBuilder binary;
  std::size_t text = binary.string("abc");
  std::size_t number = binary.eightBytes(0x13, 7);
  std::size_t date = binary.eightBytes(0x33, std::bit_cast<std::uint64_t>(3.5));
  std::size_t list = binary.array({text, number, date, text});
  std::size_t key = binary.string("key");
  std::size_t top = binary.dictionary({key, text}, {list, list});
  Result<std::string> xml = PropertyListWriter::serialise(sampleLog());
  ASSERT_TRUE(xml.ok());
  const std::string originals[] = {binary.build(top), xml->substr(0, 2000) + "</plist>"};

  std::mt19937 random(2024);
  for (const std::string& original : originals) {
    for (int round = 0; round < 3000; ++round) {
      std::string bytes = original;
      for (unsigned hits = 1 + random() % 4; hits > 0; --hits) {
        std::size_t at = random() % bytes.size();
        switch (random() % 3) {
          case 0:
            bytes[at] = static_cast<char>(random());
            break;
          case 1:
            bytes.erase(at, 1 + random() % 8);
            break;
          default:
            bytes.insert(at, bytes.substr(random() % bytes.size(), 1 + random() % 16));
            break;
        }
        if (bytes.empty()) bytes.push_back('<');
      }
      Result<PropertyList> value = PropertyListReader::parse(bytes);
      if (!value.ok()) {
        Status::Code code = value.status().code();
        EXPECT_TRUE(code == Status::Code::kCorrupt || code == Status::Code::kTooLarge);
      }
    }
  }
}

}  // namespace
}  // namespace kinetra
