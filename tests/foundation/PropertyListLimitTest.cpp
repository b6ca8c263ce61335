// How large a property list may be: the writer never writes what the reader would refuse, and
// the reader never takes what the writer could not write back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/PropertyList.h"
#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/XmlPropertyListParser.h"
#include "support/TemporaryDirectory.h"

namespace kinetra {
namespace {

std::string repeated(const std::string& text, std::size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

// An array holding one ASCII text four times over, in binary form: the text is stored once.
std::string binaryOfSharedText(const std::string& text) {
  std::string bytes = "bplist00";
  bytes += "\xA4\x01\x01\x01\x01";
  bytes += static_cast<char>(0x50 | text.size()) + text;  // fewer than 15 characters
  const std::size_t table = bytes.size();
  bytes += std::string("\x00\x08\x00\x0D", 4);
  bytes += std::string(6, '\0') + "\x02\x01";
  for (std::uint64_t value : {std::uint64_t{2}, std::uint64_t{0}, std::uint64_t{table}}) {
    for (int shift = 56; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift);
  }
  return bytes;
}

struct Compact {
  const char* label;
  std::string bytes;
};

// Files that grow when written: indentation, escaping, shared binary objects.
std::vector<Compact> compactFiles() {
  return {
      {"a log without indentation",
       "<plist><dict><key>Mar 1, 2024</key><dict><key>Squat &amp; Press</key><array>"
       "<string>100 kg</string><string>5</string><string>felt&#13;good</string></array>"
       "</dict><key>Mar 2, 2024</key><dict/></dict></plist>"},
      {"empty data 63 levels down",
       repeated("<array>", 63) + repeated("<data/>", 3) + repeated("</array>", 63)},
      {"markup characters in CDATA",
       "<plist><string><![CDATA[" + repeated("&<>", 100) + "]]></string></plist>"},
      {"binary text shared four times", binaryOfSharedText("a&b<c>")},
  };
}

// With the limit set to the written size of each value, and to one byte less.
TEST(PropertyListLimitTest, TheLimitIsTheWrittenSizeForTheWriterAndTheReaderAlike) {
  for (const Compact& file : compactFiles()) {
    Result<PropertyList> value = PropertyListReader::parse(file.bytes);
    ASSERT_TRUE(value.ok()) << file.label << ": " << value.status().toString();
    Result<std::string> written = PropertyListWriter::serialise(*value);
    ASSERT_TRUE(written.ok()) << file.label;
    const std::size_t size = written->size();
    ASSERT_LT(file.bytes.size(), size - 1) << file.label << " does not grow";

    Result<std::string> atLimit = PropertyListWriter::serialise(*value, size);
    EXPECT_TRUE(atLimit.ok() && *atLimit == *written) << file.label;
    EXPECT_EQ(PropertyListWriter::serialise(*value, size - 1).status().code(),
              Status::Code::kTooLarge)
        << file.label;
    Result<std::size_t> counted = PropertyListWriter::serialisedSize(*value, size);
    EXPECT_TRUE(counted.ok() && *counted == size) << file.label;
    EXPECT_EQ(PropertyListWriter::serialisedSize(*value, size - 1).status().code(),
              Status::Code::kTooLarge)
        << file.label;

    // The compact file is far below either limit in bytes; its content decides.
    EXPECT_TRUE(PropertyListReader::read(file.bytes, size).ok()) << file.label;
    EXPECT_EQ(PropertyListReader::read(file.bytes, size - 1).status().code(),
              Status::Code::kTooLarge)
        << file.label;
    Result<PropertyList> back = PropertyListReader::parse(*written, size);
    EXPECT_TRUE(back.ok() && *back == *value) << file.label;
    EXPECT_EQ(PropertyListReader::read(*written, size - 1).status().code(), Status::Code::kTooLarge)
        << file.label;
  }
}

// The reader skips sizing an XML value when the bound says it fits; the bound must hold for the
// documents that grow most per byte and per element when written.
TEST(PropertyListLimitTest, TheXmlSizeBoundHoldsForDocumentsThatGrowTheMost) {
  const std::string deep = repeated("<array>", 63);
  const std::string undeep = repeated("</array>", 63);
  std::vector<Compact> files = compactFiles();
  files.pop_back();  // binary
  files.push_back({"markup characters 63 levels down",
                   deep + "<string>" + repeated(">", 4000) + "</string>" + undeep});
  files.push_back(
      {"short leaves 63 levels down",
       deep + repeated("<true/><false/><string/><array/><dict/><data/>", 500) + undeep});
  files.push_back({"keys 63 levels down", repeated("<array>", 62) + "<dict>" + [] {
                     std::string entries;
                     for (int i = 0; i < 500; ++i) {
                       entries += "<key>" + std::to_string(i) + "</key><true/>";
                     }
                     return entries;
                   }() + "</dict>" + repeated("</array>", 62)});
  files.push_back({"numbers and dates",
                   deep +
                       repeated("<real>.1</real><real>-2.2250738585072014e-308</real>"
                                "<integer>-1</integer><integer>0xFFFFFFFFFFFFFFFF</integer>"
                                "<date>0001-01-01T00:00:00Z</date>",
                                100) +
                       undeep});
  files.push_back({"data in short lines", deep + "<data>" + repeated("QUJD\n", 1000) +
                                              "</data><data>QQ==</data>" + undeep});
  for (const Compact& file : files) {
    Result<XmlPropertyListParser::CountedReading> counted =
        XmlPropertyListParser::parseCounted(file.bytes);
    ASSERT_TRUE(counted.ok()) << file.label << ": " << counted.status().toString();
    Result<std::size_t> size = PropertyListWriter::serialisedSize(counted->reading.value);
    ASSERT_TRUE(size.ok()) << file.label;
    EXPECT_LE(*size, PropertyListWriter::xmlSizeBound(file.bytes.size(), counted->elements,
                                                      counted->deepest))
        << file.label;
  }
}

TEST(PropertyListLimitTest, ASaveOverTheLimitWritesNothingAndKeepsTheOldFile) {
  testing::TemporaryDirectory directory;
  const std::filesystem::path path = directory / "Kinetra_Log.plist";
  const PropertyList old = PropertyList::Dictionary{{"Mar 1, 2024", PropertyList::Dictionary{}}};
  ASSERT_TRUE(writePropertyList(path, old).ok());
  const std::string oldBytes = testing::fileContents(path);

  PropertyList grown = old;
  grown.asDictionary()["Mar 2, 2024"] =
      PropertyList::Dictionary{{"Squat", PropertyList::Array{"100 kg", "5", ""}}};
  Result<std::size_t> size = PropertyListWriter::serialisedSize(grown);
  ASSERT_TRUE(size.ok());
  EXPECT_EQ(writePropertyList(path, grown, *size - 1).code(), Status::Code::kTooLarge);
  EXPECT_EQ(testing::fileContents(path), oldBytes);
  EXPECT_EQ(directory.entries(), std::vector<std::string>{"Kinetra_Log.plist"});

  ASSERT_TRUE(writePropertyList(path, grown, *size).ok());
  Result<PropertyList> back = PropertyListReader::readFile(path);
  EXPECT_TRUE(back.ok() && *back == grown);
}

// At the real limits, with a file far below the reader's byte limit whose indented form is far
// above it: a million empty data elements 63 levels down, 7 bytes each here and 141 once written.
TEST(PropertyListLimitTest, ACompactFileThatWouldBeWrittenOverTheLimitIsRefusedWhenRead) {
  const std::string compact =
      repeated("<array>", 63) + repeated("<data/>", 1'000'000) + repeated("</array>", 63);
  ASSERT_LT(compact.size(), PropertyListReader::kMaxFileBytes);
  Result<PropertyList> value = PropertyListReader::parse(compact);
  if (value.ok()) {
    Result<std::string> written = PropertyListWriter::serialise(*value);
    ASSERT_TRUE(written.ok()) << "read, but cannot be saved: " << written.status().toString();
    EXPECT_TRUE(PropertyListReader::parse(*written).ok())
        << "saved as " << written->size() << " bytes the reader refuses";
  }
  EXPECT_EQ(value.status().code(), Status::Code::kTooLarge);
}

}  // namespace
}  // namespace kinetra
