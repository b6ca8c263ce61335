#include "model/CsvReader.h"

#include <utility>

namespace kinetra {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string onLine(std::size_t line) { return " on line " + std::to_string(line) + "."; }

// The length of the UTF-8 sequence at `text[at]`, or 0 when none starts there.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead == 0) return 0;
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// Walks the text one field at a time.
class Parser {
 public:
  Parser(std::string_view text, char separator) : text_(text), separator_(separator) {}

  Status parse(std::vector<CsvReader::Record>& records) {
    while (at_ < text_.size()) {
      CsvReader::Record record;
      record.line = line_;
      if (Status read = readRecord(record.fields); !read.ok()) return read;
      records.push_back(std::move(record));
    }
    return Status::Ok();
  }

 private:
  bool atLineBreak() const { return text_[at_] == '\n' || text_[at_] == '\r'; }

  void skipLineBreak() {
    if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ++at_;
    ++at_;
    ++line_;
  }

  Status readRecord(std::vector<std::string>& fields) {
    if (atLineBreak()) {  // a blank line
      skipLineBreak();
      return Status::Ok();
    }
    while (true) {
      std::string field;
      if (Status read = readField(field); !read.ok()) return read;
      fields.push_back(std::move(field));
      if (at_ >= text_.size()) return Status::Ok();
      if (atLineBreak()) {
        skipLineBreak();
        return Status::Ok();
      }
      ++at_;  // the separator
      if (at_ >= text_.size()) {
        fields.emplace_back();
        return Status::Ok();
      }
    }
  }

  Status readField(std::string& field) {
    if (text_[at_] != '"') {
      while (at_ < text_.size() && text_[at_] != separator_ && !atLineBreak()) {
        field += text_[at_++];
      }
      return Status::Ok();
    }
    const std::size_t opened = line_;
    ++at_;
    while (true) {
      if (at_ >= text_.size()) return Status::Corrupt("a quote is left open" + onLine(opened));
      const char c = text_[at_++];
      if (c == '\n' || (c == '\r' && (at_ >= text_.size() || text_[at_] != '\n'))) ++line_;
      if (c != '"') {
        field += c;
        continue;
      }
      if (at_ < text_.size() && text_[at_] == '"') {
        field += '"';
        ++at_;
        continue;
      }
      if (at_ >= text_.size() || text_[at_] == separator_ || atLineBreak()) return Status::Ok();
      return Status::Corrupt("text follows a closing quote" + onLine(line_));
    }
  }

  std::string_view text_;
  char separator_;
  std::size_t at_ = 0;
  std::size_t line_ = 1;
};

}  // namespace

std::size_t CsvReader::firstBadLine(std::string_view text) {
  std::size_t line = 1;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = sequenceLength(text, at);
    if (length == 0) return line;
    if (text[at] == '\n') ++line;
    at += length;
  }
  return 0;
}

char CsvReader::separatorOf(std::string_view text) {
  std::size_t commas = 0;
  std::size_t semicolons = 0;
  bool quoted = false;
  bool seenText = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (!quoted && (c == '\n' || c == '\r')) {
      if (seenText) break;
      continue;
    }
    seenText = true;
    if (quoted) continue;
    if (c == ',') ++commas;
    if (c == ';') ++semicolons;
  }
  return semicolons > commas ? ';' : ',';
}

Result<CsvReader::Table> CsvReader::read(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (const std::size_t bad = firstBadLine(text); bad != 0) {
    return Status::Corrupt("the file is not UTF-8 text" + onLine(bad));
  }
  Table table;
  table.separator = separatorOf(text);
  if (Status parsed = Parser(text, table.separator).parse(table.records); !parsed.ok()) {
    return parsed;
  }
  return table;
}

}  // namespace kinetra
