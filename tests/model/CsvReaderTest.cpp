#include "model/CsvReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinetra::test {
namespace {

using Fields = std::vector<std::string>;

std::vector<Fields> fieldsOf(std::string_view text) {
  const Result<CsvReader::Table> table = CsvReader::read(text);
  EXPECT_TRUE(table.ok()) << table.status().toString();
  std::vector<Fields> records;
  if (!table.ok()) return records;
  for (const CsvReader::Record& record : table->records) records.push_back(record.fields);
  return records;
}

TEST(CsvReaderTest, TakesRecordsApart) {
  struct Case {
    std::string text;
    std::vector<Fields> records;
  };
  const std::vector<Case> cases = {
      {"a,b,c\n1,2,3\n", {{"a", "b", "c"}, {"1", "2", "3"}}},
      {"a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
      {"a,b\r1,2", {{"a", "b"}, {"1", "2"}}},
      {"a,,c,\n", {{"a", "", "c", ""}}},
      {"\"a,b\",\"say \"\"hi\"\"\"\n", {{"a,b", "say \"hi\""}}},
      {"\"two\nlines\",x\n", {{"two\nlines", "x"}}},
      {"\"two\r\nlines\",x\r\n", {{"two\r\nlines", "x"}}},
      {"\"\",\"\"\n", {{"", ""}}},
      {"a\n\n\nb\n", {{"a"}, {}, {}, {"b"}}},
      {"5'10\",x\n", {{"5'10\"", "x"}}},
      {"\xEF\xBB\xBF"
       "Date,Reps\n",
       {{"Date", "Reps"}}},
      {"caf\xC3\xA9,\xF0\x9F\x92\xAA\n", {{"caf\xC3\xA9", "\xF0\x9F\x92\xAA"}}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(fieldsOf(c.text), c.records) << c.text;
}

TEST(CsvReaderTest, ChoosesTheSeparatorOfTheFirstLine) {
  const Result<CsvReader::Table> semicolons =
      CsvReader::read("Date;Weight;Notes\n1;62,5;\"a;b,c\"\n");
  ASSERT_TRUE(semicolons.ok());
  EXPECT_EQ(semicolons->separator, ';');
  EXPECT_EQ(semicolons->records[1].fields, (Fields{"1", "62,5", "a;b,c"}));
  // Quoted separators do not count; a line without either is a comma's.
  EXPECT_EQ(CsvReader::read("\"a;b;c\",d\n")->separator, ',');
  EXPECT_EQ(CsvReader::read("\n\nCardio\nx;y\n")->separator, ',');
  EXPECT_EQ(CsvReader::read("\n\nx;y\n")->separator, ';');
}

TEST(CsvReaderTest, NamesTheLineOfEachRecordCountingBreaksInsideFields) {
  const Result<CsvReader::Table> table = CsvReader::read("a\r\n\"b\nc\"\r\n\r\nd\n");
  ASSERT_TRUE(table.ok());
  ASSERT_EQ(table->records.size(), 4u);
  EXPECT_EQ(table->records[0].line, 1u);
  EXPECT_EQ(table->records[1].line, 2u);
  EXPECT_EQ(table->records[2].line, 4u);
  EXPECT_EQ(table->records[3].line, 5u);
}

TEST(CsvReaderTest, RefusesBrokenTextNamingTheLine) {
  struct Case {
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"a,b\n\"open,c\n", "a quote is left open on line 2."},
      {"a,b\n1,\"x\"y\n", "text follows a closing quote on line 2."},
      {"a\n\"x\ny\"z\n", "text follows a closing quote on line 3."},
      {"a\nb\xFF\n", "the file is not UTF-8 text on line 2."},
      {"a\xC0\xAF\n", "the file is not UTF-8 text on line 1."},          // overlong "/"
      {"a\n\n\xED\xA0\x80\n", "the file is not UTF-8 text on line 3."},  // a surrogate
      {"\xF4\x90\x80\x80", "the file is not UTF-8 text on line 1."},     // past U+10FFFF
      {"ab\xE2\x82", "the file is not UTF-8 text on line 1."},           // cut short
      {std::string("a,b\nc\0d\n", 8), "the file is not UTF-8 text on line 2."},
  };
  for (const Case& c : cases) {
    const Result<CsvReader::Table> table = CsvReader::read(c.text);
    ASSERT_FALSE(table.ok()) << c.text;
    EXPECT_EQ(table.status().code(), Status::Code::kCorrupt) << c.text;
    EXPECT_EQ(table.status().message(), c.message) << c.text;
  }
}

}  // namespace
}  // namespace kinetra::test
