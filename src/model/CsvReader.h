#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Status.h"

namespace kinetra {

// A CSV text taken apart into records of fields (RFC 4180): fields parted by a comma or a
// semicolon, records by a line feed, a carriage return and line feed, or a carriage return. A
// field between double quotes may hold the separator, line breaks and doubled double quotes
// (each one quote of the value); a double quote inside an unquoted field is kept as it is. A
// leading UTF-8 byte-order mark is dropped. A blank line is a record with no fields; a final
// line break ends the last record and starts none.
//
// Refused, as Corrupt with a message for the user naming the line: text that is not UTF-8 or
// holds a NUL byte, a quoted field left open at the end, and text after a field's closing
// quote. Pure; nothing is kept between calls.
class CsvReader {
 public:
  struct Record {
    std::vector<std::string> fields;
    std::size_t line = 0;  // where the record starts, from 1
  };
  struct Table {
    char separator = ',';
    std::vector<Record> records;
  };

  // The separator is the one of "," and ";" found more often outside quotes on the first line
  // that is not blank (a comma when neither is).
  static Result<Table> read(std::string_view text);

  // The 1-based line of the first byte that is not UTF-8 (overlong forms, surrogates and code
  // points past U+10FFFF included) or is NUL; 0 when there is none.
  static std::size_t firstBadLine(std::string_view text);

 private:
  static char separatorOf(std::string_view text);
};

}  // namespace kinetra
