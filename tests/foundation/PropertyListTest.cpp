#include "foundation/PropertyList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/XmlPropertyListParser.h"

namespace kinetra {
namespace {

using Array = PropertyList::Array;
using Dictionary = PropertyList::Dictionary;
using ::testing::HasSubstr;

const std::string kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";

std::string document(const std::string& body) { return kHeader + body + "</plist>\n"; }

std::string serialised(const PropertyList& value) {
  Result<std::string> bytes = PropertyListWriter::serialise(value);
  EXPECT_TRUE(bytes.ok()) << bytes.status().toString();
  return bytes.ok() ? *bytes : std::string();
}

Status::Code parseCode(const std::string& bytes) {
  return PropertyListReader::parse(bytes).status().code();
}

PropertyList parsed(const std::string& bytes) {
  Result<PropertyList> value = PropertyListReader::parse(bytes);
  EXPECT_TRUE(value.ok()) << value.status().toString() << "\n" << bytes;
  return value.ok() ? *value : PropertyList();
}

std::string nested(int depth, const std::string& open, const std::string& close) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += open;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

TEST(PropertyListTest, NestedContainersAreModifiedInPlace) {
  PropertyList log = Dictionary{};
  auto& day = log.asDictionary().try_emplace("Jan 5, 2010", Dictionary{}).first->second;
  auto& entry = day.asDictionary().try_emplace("Bench Press", Array{}).first->second;
  entry.asArray().push_back("20.5 kg");
  entry.asArray().push_back("8");
  entry.asArray().push_back("");

  const PropertyList* stored = log.find("Jan 5, 2010");
  ASSERT_NE(stored, nullptr);
  ASSERT_NE(stored->find("Bench Press"), nullptr);
  EXPECT_EQ(stored->find("Bench Press")->asArray().size(), 3u);
  EXPECT_EQ(log.find("Jan 6, 2010"), nullptr);
  EXPECT_EQ(PropertyList("text").find("Jan 5, 2010"), nullptr);
}

TEST(PropertyListTest, EqualityIsDeepAndKindSensitive) {
  PropertyList a = Dictionary{{"x", Array{"1", Dictionary{{"y", "2"}}}}};
  PropertyList b = a;
  EXPECT_EQ(a, b);
  b.asDictionary()["x"].asArray()[1].asDictionary()["y"] = "3";
  EXPECT_NE(a, b);
  EXPECT_NE(PropertyList("1"), PropertyList(1));
  EXPECT_NE(PropertyList(Array{}), PropertyList(Dictionary{}));
  EXPECT_NE(
      PropertyList(PropertyList::Integer(-1)),
      PropertyList(PropertyList::Integer::fromUnsigned(std::numeric_limits<std::uint64_t>::max())));
}

// Strings of up to 15 bytes are kept in the value itself, longer ones on the heap: each side of
// that line, NUL bytes included, survives copying, moving and assigning, and a moved-from value
// is an empty value of its kind.
TEST(PropertyListTest, StringsEitherSideOfTheInPlaceLimitCopyAndMoveWhole) {
  for (std::size_t size : {0u, 1u, 14u, 15u, 16u, 17u, 200u}) {
    std::string text(size, 'x');
    for (std::size_t i = 0; i < size; i += 3) text[i] = static_cast<char>(i % 7);
    const PropertyList original(text);
    ASSERT_TRUE(original.isString()) << size;
    EXPECT_EQ(original.asString(), text) << size;
    EXPECT_EQ(PropertyList(std::string_view(text)), original) << size;

    PropertyList copy = original;
    EXPECT_EQ(copy.asString(), text) << size;
    PropertyList moved = std::move(copy);
    EXPECT_EQ(moved.asString(), text) << size;
    EXPECT_TRUE(copy.isString());  // NOLINT: the moved-from state is what is checked
    EXPECT_EQ(copy.asString(), "");

    PropertyList assigned = Array{"an array in the way of the assignment"};
    assigned = original;
    EXPECT_EQ(assigned, original) << size;
    assigned = PropertyList(Dictionary{{"k", "v"}});
    assigned = std::move(moved);
    EXPECT_EQ(assigned.asString(), text) << size;
  }
  EXPECT_EQ(PropertyList(std::string_view()), PropertyList(""));
}

TEST(PropertyListTest, EveryKindCopiesMovesAndComparesByContent) {
  const std::vector<PropertyList> values = {
      PropertyList(Array{"1", "a string longer than fifteen bytes", Array{}}),
      PropertyList(Dictionary{{"a", Dictionary{}}, {"b", "2"}}),
      PropertyList(PropertyList::Integer::negated(std::uint64_t{1} << 63)),
      PropertyList(PropertyList::Integer::fromUnsigned(std::numeric_limits<std::uint64_t>::max())),
      PropertyList(-0.5),
      PropertyList(true),
      PropertyList(false),
      PropertyList(Date(-1234.25)),
      PropertyList(PropertyList::Data{0, 1, 2, 255}),
  };
  for (std::size_t i = 0; i < values.size(); ++i) {
    for (std::size_t j = 0; j < values.size(); ++j) {
      EXPECT_EQ(values[i] == values[j], i == j) << i << " " << j;
      PropertyList target = values[j];
      target = values[i];
      EXPECT_EQ(target, values[i]) << i << " over " << j;
    }
    PropertyList copy = values[i];
    const PropertyList moved = std::move(copy);
    EXPECT_EQ(moved, values[i]) << i;
    EXPECT_EQ(copy.kind(), values[i].kind()) << i;  // NOLINT: the moved-from state is checked
  }
  EXPECT_EQ(values[2].asInteger(), PropertyList::Integer::negated(std::uint64_t{1} << 63));
  EXPECT_EQ(values[7].asDate(), Date(-1234.25));
  EXPECT_NE(PropertyList(std::nan("")), PropertyList(std::nan("")));
  EXPECT_NE(PropertyList(Date(std::nan(""))), PropertyList(Date(std::nan(""))));
}

// A container moved from is empty and fills again; one assigned a value it holds copies or takes
// that value before letting go of its own.
TEST(PropertyListTest, ContainersEmptiedOrAssignedTheirOwnPartsStayWhole) {
  PropertyList list = Array{"a string longer than fifteen bytes", Dictionary{{"k", "v"}}};
  PropertyList taken = std::move(list);
  EXPECT_TRUE(list.isArray());  // NOLINT: the moved-from state is what is checked
  EXPECT_TRUE(list.asArray().empty());
  list.asArray().push_back("again");
  EXPECT_EQ(list, PropertyList(Array{"again"}));
  EXPECT_EQ(list.find("k"), nullptr);

  taken = taken.asArray()[0];
  EXPECT_EQ(taken.asString(), "a string longer than fifteen bytes");
  PropertyList nested = Array{Array{Dictionary{{"deep", "value"}}}};
  nested = std::move(nested.asArray()[0].asArray()[0]);
  EXPECT_EQ(nested, PropertyList(Dictionary{{"deep", "value"}}));
  PropertyList& same = nested;
  nested = same;
  nested = std::move(same);
  EXPECT_EQ(nested.find("deep")->asString(), "value");
  EXPECT_EQ(PropertyList(Dictionary{}).find("deep"), nullptr);
}

TEST(PropertyListTest, IntegersCoverBothSignedAndUnsignedRanges) {
  using Integer = PropertyList::Integer;
  EXPECT_EQ(Integer(std::numeric_limits<std::int64_t>::min()).toString(), "-9223372036854775808");
  EXPECT_TRUE(Integer(std::numeric_limits<std::int64_t>::min()).fitsInt64());
  EXPECT_EQ(Integer(std::numeric_limits<std::int64_t>::min()).toInt64(),
            std::numeric_limits<std::int64_t>::min());
  EXPECT_FALSE(Integer::fromUnsigned(std::uint64_t{1} << 63).fitsInt64());
  EXPECT_EQ(Integer::negated(0), Integer(0));
}

TEST(PropertyListWriterTest, WritesTheLogLayoutAsFoundationDoes) {
  PropertyList log = Dictionary{
      {"Jan 5, 2010", Dictionary{{"Squat", Array{"100 kg", "5", ""}},
                                 {"Bench Press", Array{"62.5 kg", "8", "easy"}}}},
      {"Feb 1, 2010", Dictionary{{"Curl", Array{}}}},
      {"Mar 1, 2010", Dictionary{}},
  };
  EXPECT_EQ(serialised(log), document("<dict>\n"
                                      "\t<key>Feb 1, 2010</key>\n"
                                      "\t<dict>\n"
                                      "\t\t<key>Curl</key>\n"
                                      "\t\t<array/>\n"
                                      "\t</dict>\n"
                                      "\t<key>Jan 5, 2010</key>\n"
                                      "\t<dict>\n"
                                      "\t\t<key>Bench Press</key>\n"
                                      "\t\t<array>\n"
                                      "\t\t\t<string>62.5 kg</string>\n"
                                      "\t\t\t<string>8</string>\n"
                                      "\t\t\t<string>easy</string>\n"
                                      "\t\t</array>\n"
                                      "\t\t<key>Squat</key>\n"
                                      "\t\t<array>\n"
                                      "\t\t\t<string>100 kg</string>\n"
                                      "\t\t\t<string>5</string>\n"
                                      "\t\t\t<string></string>\n"
                                      "\t\t</array>\n"
                                      "\t</dict>\n"
                                      "\t<key>Mar 1, 2010</key>\n"
                                      "\t<dict/>\n"
                                      "</dict>\n"));
  EXPECT_EQ(serialised(Array{}), document("<array/>\n"));
}

TEST(PropertyListWriterTest, KeysComeOutInByteOrderWhateverTheInsertionOrder) {
  PropertyList first = Dictionary{};
  PropertyList second = Dictionary{};
  for (const char* key : {"b", "a", "\xC3\xA9", "B", "a b"}) first.asDictionary()[key] = key;
  for (const char* key : {"a b", "\xC3\xA9", "B", "a", "b"}) second.asDictionary()[key] = key;
  std::string bytes = serialised(first);
  EXPECT_EQ(bytes, serialised(second));
  EXPECT_LT(bytes.find("<key>B</key>"), bytes.find("<key>a</key>"));
  EXPECT_LT(bytes.find("<key>a</key>"), bytes.find("<key>a b</key>"));
  EXPECT_LT(bytes.find("<key>b</key>"), bytes.find("<key>\xC3\xA9</key>"));
}

TEST(PropertyListWriterTest, EscapesMarkupInStringsAndKeys) {
  PropertyList value = Dictionary{{"<k&>", "a & b < c > d \"q\" 'a'"}};
  EXPECT_EQ(serialised(value), document("<dict>\n"
                                        "\t<key>&lt;k&amp;&gt;</key>\n"
                                        "\t<string>a &amp; b &lt; c &gt; d \"q\" 'a'</string>\n"
                                        "</dict>\n"));
  EXPECT_EQ(parsed(serialised(value)), value);
}

TEST(PropertyListWriterTest, RepairsTextXmlCannotCarryAndKeepsTheFileReadable) {
  PropertyList value = Array{
      std::string("bell\x07 nul") + '\0' + "end",  // control characters
      "cut \xE2\x82",                              // truncated sequence
      "lone \xFF byte",                            // never valid in UTF-8
      "surrogate \xED\xA0\x80",                    // encoded surrogate
      "overlong \xC0\xAF",                         // overlong '/'
      "not a character \xEF\xBF\xBE",              // U+FFFE
      "kept: tab\t newline\n emoji \xF0\x9F\x98\x80 accents \xC3\xA9",
  };
  PropertyList back = parsed(serialised(value));
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(back, (PropertyList(Array{"bell" + r + " nul" + r + "end", "cut " + r + r,
                                      "lone " + r + " byte", "surrogate " + r + r + r,
                                      "overlong " + r + r, "not a character " + r + r + r,
                                      value.asArray()[6]})));
}

TEST(PropertyListWriterTest, RepairedKeysThatCollideKeepOneEntryInOrder) {
  PropertyList value = Dictionary{{"k\x01", "first"}, {"k\x02", "second"}, {"a", "third"}};
  PropertyList back = parsed(serialised(value));
  EXPECT_EQ(back, (PropertyList(Dictionary{{"a", "third"}, {"k\xEF\xBF\xBD", "second"}})));
}

TEST(PropertyListWriterTest, CarriageReturnsSurviveTheRoundTrip) {
  PropertyList value = Array{"line\r\nnext\rlast"};
  std::string bytes = serialised(value);
  EXPECT_NE(bytes.find("line&#13;\nnext&#13;last"), std::string::npos);
  EXPECT_EQ(parsed(bytes), value);
}

TEST(PropertyListWriterTest, WritesForeignLeafKindsInTheirXmlForm) {
  PropertyList value = Array{
      PropertyList::Integer(-42),
      PropertyList::Integer::fromUnsigned(18446744073709551615u),
      0.1,
      -std::numeric_limits<double>::infinity(),
      true,
      false,
      Date(1262694645.75),  // 2010-01-05T12:30:45.75Z
      PropertyList::Data{'h', 'i', '!', 0xFF},
      PropertyList::Data{},
  };
  EXPECT_EQ(serialised(value), document("<array>\n"
                                        "\t<integer>-42</integer>\n"
                                        "\t<integer>18446744073709551615</integer>\n"
                                        "\t<real>0.1</real>\n"
                                        "\t<real>-infinity</real>\n"
                                        "\t<true/>\n"
                                        "\t<false/>\n"
                                        "\t<date>2010-01-05T12:30:45Z</date>\n"
                                        "\t<data>\n"
                                        "\taGkh/w==\n"
                                        "\t</data>\n"
                                        "\t<data>\n"
                                        "\t</data>\n"
                                        "</array>\n"));
}

TEST(PropertyListWriterTest, DatesBeforeTheEpochAndLongDataAreExact) {
  PropertyList::Data bytes(100);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  PropertyList value = Array{Date(-14182940.0), bytes, Date(-62135596800.0), Date(253402300799.0)};
  std::string text = serialised(value);
  EXPECT_NE(text.find("<date>1969-07-20T20:17:40Z</date>"), std::string::npos);
  EXPECT_NE(text.find("<date>0001-01-01T00:00:00Z</date>"), std::string::npos);
  EXPECT_NE(text.find("<date>9999-12-31T23:59:59Z</date>"), std::string::npos);
  EXPECT_EQ(parsed(text), value);
}

TEST(PropertyListWriterTest, RefusesValuesTheFormatCannotCarry) {
  PropertyList deep = Array{};
  PropertyList* innermost = &deep;
  for (int depth = 1; depth < PropertyList::kMaxDepth; ++depth) {
    innermost = &innermost->asArray().emplace_back(Array{});
  }
  EXPECT_TRUE(PropertyListWriter::serialise(deep).ok());
  innermost->asArray().emplace_back(Dictionary{});
  EXPECT_EQ(PropertyListWriter::serialise(deep).status().code(), Status::Code::kInvalidArgument);
  EXPECT_EQ(PropertyListWriter::serialise(Array{Date(1e300)}).status().code(),
            Status::Code::kInvalidArgument);
  EXPECT_EQ(PropertyListWriter::serialise(Array{Date(std::nan(""))}).status().code(),
            Status::Code::kInvalidArgument);
}

TEST(XmlPropertyListParserTest, ReadsWhatWellFormedDocumentsMayHold) {
  EXPECT_EQ(parsed("\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- note --><array><string>a</string>"
                   "</array>"),
            PropertyList(Array{"a"}));
  EXPECT_EQ(parsed(document("<dict>\r\n<key>k</key><!-- c --><string>x<!-- y -->z</string>"
                            "<key>e</key><string/><key>t</key><true></true>"
                            "<key>c</key><string><![CDATA[<&>]]>&amp;&lt;&gt;&apos;&quot;"
                            "&#65;&#x1F600;</string></dict>")),
            PropertyList(Dictionary{
                {"k", "xz"}, {"e", ""}, {"t", true}, {"c", "<&>&<>'\"A\xF0\x9F\x98\x80"}}));
  EXPECT_EQ(parsed("<plist version='1.0'><string>a\r\nb\rc&#13;</string></plist>"),
            PropertyList("a\nb\nc\r"));
  EXPECT_EQ(parsed(document("<dict><key>a</key><string>1</string><key>a</key><string>2</string>"
                            "</dict>")),
            PropertyList(Dictionary{{"a", "2"}}));
}

// Plain text is read by a shorter path than text with references, CDATA, line ends or
// non-ASCII characters, and waits for its array's end in another form: neither may change the
// values, their order, or what a malformed document is told.
TEST(XmlPropertyListParserTest, PlainAndOtherTextReadAlikeInOrder) {
  EXPECT_EQ(parsed(document("<array><string>a</string><string>b&amp;c</string><integer>1"
                            "</integer><string >d</string><array><string>e</string></array>"
                            "<string>\xC3\xA9</string><string/><string>f\r\ng</string>"
                            "<string><![CDATA[h]]></string><string>i</string></array>")),
            PropertyList(Array{"a", "b&c", PropertyList::Integer(1), "d", Array{"e"}, "\xC3\xA9",
                               "", "f\ng", "h", "i"}));
  EXPECT_EQ(parsed(document("<dict><key>a</key><string>1</string><key>b&lt;</key><string>2"
                            "</string><key>c</key><string>3&gt;</string><key>d</key><array>"
                            "<string>4</string></array></dict>")),
            PropertyList(Dictionary{{"a", "1"}, {"b<", "2"}, {"c", "3>"}, {"d", Array{"4"}}}));

  const auto message = [](const std::string& bytes) {
    return PropertyListReader::parse(bytes).status().message();
  };
  EXPECT_THAT(message("<array><key>a</key></array>"), HasSubstr("unexpected <key> at byte 12"));
  EXPECT_THAT(message("<dict><string>a</string></dict>"),
              HasSubstr("dictionary value without a key at byte 24"));
  EXPECT_THAT(message("<dict><key>a</key><key>b</key></dict>"),
              HasSubstr("unexpected <key> at byte 23"));

  const std::string repeated = "<dict><key>a</key><string>1</string><key>a</key><string>2</string>";
  Result<PropertyListReading> reading = XmlPropertyListParser::parse(repeated + "</dict>");
  ASSERT_TRUE(reading.ok());
  EXPECT_EQ(reading->inexact, "key repeated: a before byte " + std::to_string(repeated.size()));

  // Keys out of order, one repeated apart from its first: the last value stands.
  const std::string unsorted =
      "<dict><key>c</key><string>1</string><key>a</key><string>2</string>"
      "<key>c</key><string>3</string><key>b</key><string>4</string></dict>";
  reading = XmlPropertyListParser::parse(unsorted);
  ASSERT_TRUE(reading.ok());
  EXPECT_EQ(reading->value, PropertyList(Dictionary{{"a", "2"}, {"b", "4"}, {"c", "3"}}));
  EXPECT_EQ(reading->inexact, "key repeated: c before byte " + std::to_string(unsorted.size()));
}

TEST(XmlPropertyListParserTest, ReadsLeafKindsExactly) {
  using Integer = PropertyList::Integer;
  EXPECT_EQ(parsed(document("<array><integer> -9223372036854775808 </integer>"
                            "<integer>18446744073709551615</integer><integer>0x1F</integer>"
                            "<integer>010</integer><integer>+7</integer></array>")),
            PropertyList(Array{Integer(std::numeric_limits<std::int64_t>::min()),
                               Integer::fromUnsigned(18446744073709551615u), Integer(31),
                               Integer(10), Integer(7)}));
  PropertyList reals =
      parsed(document("<array><real>1.5</real><real>-1e-3</real><real>1E400</real>"
                      "<real>+infinity</real><real>-inf</real><real>NaN</real>"
                      "<real>.5</real></array>"));
  const Array& r = reals.asArray();
  ASSERT_EQ(r.size(), 7u);
  EXPECT_EQ(r[0].asReal(), 1.5);
  EXPECT_EQ(r[1].asReal(), -0.001);
  EXPECT_EQ(r[2].asReal(), std::numeric_limits<double>::infinity());
  EXPECT_EQ(r[3].asReal(), std::numeric_limits<double>::infinity());
  EXPECT_EQ(r[4].asReal(), -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(r[5].asReal()));
  EXPECT_EQ(r[6].asReal(), 0.5);
  EXPECT_EQ(parsed(document("<array><date>2100-02-28T23:59:59Z</date><date>2010-01Z</date>"
                            "<date>1900-03-01T00:00Z</date></array>")),
            PropertyList(Array{Date(4107542399.0), Date(1262304000.0), Date(-2203891200.0)}));
  EXPECT_EQ(parsed(document("<array><data>\n\taGkh\n\t/w==\n</data><data/></array>")),
            PropertyList(Array{PropertyList::Data{'h', 'i', '!', 0xFF}, PropertyList::Data{}}));
}

TEST(XmlPropertyListParserTest, MalformedDocumentsAreCorrupt) {
  const std::string cases[] = {
      "",
      "   ",
      "bplist",
      "<plist version=\"1.0\"></plist>",
      document("<array><string>a</string>"),
      document("<array><string>a</array></string>"),
      document("<array></dict>"),
      document("<dict><key>a</key></dict>"),
      document("<dict><string>a</string></dict>"),
      document("<dict><key>a</key><key>b</key><string/></dict>"),
      document("<array><key>a</key></array>"),
      document("<array/><array/>"),
      document("<array/>") + "<array/>",
      document("text<array/>"),
      document("<array><unknown/></array>"),
      document("<array><string><b>x</b></string></array>"),
      document("<string>&nbsp;</string>"),
      document("<string>&#0;</string>"),
      document("<string>&#xD800;</string>"),
      document("<string>&#x110000;</string>"),
      document("<string>&#99999999999999999999;</string>"),
      document("<string>&amp</string>"),
      document("<string>bell\x07</string>"),
      document("<string>\xFF</string>"),
      document("<string>\xC0\xAF</string>"),
      document("<string>\xED\xA0\x80</string>"),
      document("<string><![CDATA[open</string>"),
      document("<string><!-- open</string>"),
      document("<true>yes</true>"),
      document("<integer></integer>"),
      document("<integer>12a</integer>"),
      document("<integer>18446744073709551616</integer>"),
      document("<integer>-9223372036854775809</integer>"),
      document("<integer>-0x5</integer>"),
      document("<real>1.5.5</real>"),
      document("<real>+-1</real>"),
      document("<real></real>"),
      document("<date>2010-02-30T00:00:00Z</date>"),
      document("<date>2010-01-05T24:00:00Z</date>"),
      document("<date>2010-01-05T12:00:00</date>"),
      document("<date>0000-01-01T00:00:00Z</date>"),
      document("<data>a===</data>"),
      document("<data>aGk*</data>"),
      document("<data>aGkh/w==aGkh</data>"),
      "<!DOCTYPE plist [<!ENTITY x \"y\">]><string>&x;</string>",
      "<plist><array/></plist><!DOCTYPE plist>",
      "<plist><plist/></plist>",
      "<array",
      "<array attr=\"unterminated></array>",
  };
  for (const std::string& bytes : cases) {
    EXPECT_EQ(parseCode(bytes), Status::Code::kCorrupt) << bytes;
  }
}

TEST(XmlPropertyListParserTest, NestingIsBoundedWithoutRecursion) {
  EXPECT_TRUE(PropertyListReader::parse(nested(64, "<array>", "</array>")).ok());
  std::string mixed = nested(62, "<array>", "</array>");
  mixed.insert(62 * 7, "<dict><key>k</key><array/></dict>");
  EXPECT_TRUE(PropertyListReader::parse(mixed).ok());
  EXPECT_EQ(parseCode(nested(65, "<array>", "</array>")), Status::Code::kTooLarge);
  EXPECT_EQ(parseCode(nested(65, "<dict><key>k</key>", "</dict>")), Status::Code::kTooLarge);
  // An empty container is a level too, as the writer counts it.
  std::string emptyInside = nested(64, "<array>", "</array>");
  EXPECT_EQ(parseCode(emptyInside.insert(64 * 7, "<dict/>")), Status::Code::kTooLarge);
  // Markup that merely looks like containers does not count.
  std::string flat = nested(63, "<array>", "</array>");
  flat.insert(63 * 7, "<array/><dict/><!-- <array> --><string><![CDATA[<array>]]></string>");
  EXPECT_TRUE(PropertyListReader::parse(flat).ok());
  // A million unclosed containers: refused at the 65th, long before the end.
  std::string opens;
  for (int i = 0; i < 1'000'000; ++i) opens += "<array>";
  EXPECT_EQ(parseCode(opens), Status::Code::kTooLarge);
}

}  // namespace
}  // namespace kinetra
