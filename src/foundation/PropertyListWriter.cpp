#include "foundation/PropertyListWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "foundation/AtomicFile.h"
#include "foundation/XmlCharacter.h"

namespace kinetra {

namespace {

constexpr std::string_view kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";
constexpr std::string_view kFooter = "</plist>\n";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::size_t kBase64LineLength = 76;

// True for bytes copied unchanged: printable ASCII other than &, < and >, tab and line feed.
constexpr bool isPlainByte(unsigned char byte) {
  if (byte >= 0x20 && byte < 0x7F) return byte != '&' && byte != '<' && byte != '>';
  return byte == '\t' || byte == '\n' || byte == 0x7F;
}

std::string escapedText(std::string_view text) {
  std::string escaped;
  PropertyListWriter::appendEscapedText(escaped, text);
  return escaped;
}

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's civil_from_days).
struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

CivilDate civilFromDays(std::int64_t days) {
  days += 719468;
  std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
  unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

void appendPadded(std::string& out, std::int64_t number, int width) {
  char digits[24];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
  (void)error;
  for (auto length = end - digits; length < width; ++length) out += '0';
  out.append(digits, end);
}

// Seconds since 1970 to "YYYY-MM-DDTHH:MM:SSZ", truncated to the whole second below.
bool appendIsoDate(std::string& out, Date date) {
  // Years 1 and 9999 bound the 4-digit form; checking the seconds first keeps the conversion
  // below clear of overflow.
  constexpr double kFirstSecond = -62135596800.0;  // 0001-01-01T00:00:00Z
  constexpr double kEndSecond = 253402300800.0;    // 10000-01-01T00:00:00Z
  double seconds = std::floor(date.timeIntervalSince1970());
  if (!(seconds >= kFirstSecond && seconds < kEndSecond)) return false;
  auto whole = static_cast<std::int64_t>(seconds);
  std::int64_t days = (whole >= 0 ? whole : whole - 86399) / 86400;
  std::int64_t secondOfDay = whole - days * 86400;
  CivilDate civil = civilFromDays(days);
  appendPadded(out, civil.year, 4);
  out += '-';
  appendPadded(out, civil.month, 2);
  out += '-';
  appendPadded(out, civil.day, 2);
  out += 'T';
  appendPadded(out, secondOfDay / 3600, 2);
  out += ':';
  appendPadded(out, secondOfDay / 60 % 60, 2);
  out += ':';
  appendPadded(out, secondOfDay % 60, 2);
  out += 'Z';
  return true;
}

void appendReal(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "nan";
  } else if (std::isinf(value)) {
    out += value > 0 ? "+infinity" : "-infinity";
  } else {
    char digits[32];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;  // 32 characters hold the shortest form of any double
    out.append(digits, end);
  }
}

struct StringSink {
  std::string& text;
  void append(std::string_view piece) { text += piece; }
};

// Counts what would be appended, building nothing.
struct CountingSink {
  std::size_t count = 0;
  void append(std::string_view piece) { count += piece.size(); }
};

// Escapes `text` into `out`, anything with append(std::string_view); see appendEscapedText.
template <class Sink>
bool escapeInto(Sink& out, std::string_view text) {
  bool carried = true;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t plainEnd = i;
    while (plainEnd < text.size() && isPlainByte(static_cast<unsigned char>(text[plainEnd]))) {
      ++plainEnd;
    }
    out.append(text.substr(i, plainEnd - i));
    if (plainEnd == text.size()) return carried;
    i = plainEnd;
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      std::size_t length = xmlCharacterLength(text.substr(i));
      if (length == 0) {
        out.append(kReplacement);
        carried = false;
        ++i;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (byte) {
      case '&':
        out.append("&amp;");
        break;
      case '<':
        out.append("&lt;");
        break;
      case '>':
        out.append("&gt;");
        break;
      case '\r':
        out.append("&#13;");
        break;
      default:
        out.append(kReplacement);  // a control character XML 1.0 forbids
        carried = false;
        break;
    }
    ++i;
  }
  return carried;
}

// Where serialised text goes: kept whole as the file's contents, or only counted, in memory
// that does not grow with the size counted.
class Output {
 public:
  enum class Mode { kKeep, kCount };

  explicit Output(Mode mode) : mode_(mode) {}

  void append(std::string_view text) {
    if (mode_ == Mode::kKeep) {
      text_ += text;
    } else {
      counted_ += text.size();
    }
  }

  void indent(int depth) {
    if (mode_ == Mode::kKeep) {
      text_.append(static_cast<std::size_t>(depth), '\t');
    } else {
      counted_ += static_cast<std::size_t>(depth);
    }
  }

  // As PropertyListWriter::appendEscapedText.
  bool appendEscaped(std::string_view text) {
    if (mode_ == Mode::kKeep) return PropertyListWriter::appendEscapedText(text_, text);
    CountingSink sink;
    const bool carried = escapeInto(sink, text);
    counted_ += sink.count;
    return carried;
  }

  std::size_t size() const { return mode_ == Mode::kKeep ? text_.size() : counted_; }
  std::string take() { return std::move(text_); }

 private:
  Mode mode_;
  std::string text_;
  std::size_t counted_ = 0;
};

class Serialiser {
 public:
  Serialiser(Output& out, std::size_t maxBytes) : out_(out), maxBytes_(maxBytes) {}

  // The whole file: header, value, footer.
  bool writeFile(const PropertyList& value) {
    out_.append(kHeader);
    if (!write(value, 0)) return false;
    out_.append(kFooter);
    return fits(0);
  }

  // One entry of a top-level dictionary, as writeFile() writes it.
  bool writeTopLevelEntry(std::string_view key, const PropertyList& value) {
    if (!PropertyListWriter::carriesText(key)) return fail("a key that needs repair on its own");
    return writeText(1, "key", key) && write(value, 1);
  }

  const Status& error() const { return error_; }

 private:
  bool write(const PropertyList& value, int depth) {
    switch (value.kind()) {
      case PropertyList::Kind::kString:
        return writeText(depth, "string", value.asString());
      case PropertyList::Kind::kArray:
        return writeArray(value.asArray(), depth);
      case PropertyList::Kind::kDictionary:
        return writeDictionary(value.asDictionary(), depth);
      case PropertyList::Kind::kInteger:
        return writeText(depth, "integer", value.asInteger().toString());
      case PropertyList::Kind::kReal: {
        std::string text;
        appendReal(text, value.asReal());
        return writeText(depth, "real", text);
      }
      case PropertyList::Kind::kBoolean:
        out_.indent(depth);
        out_.append(value.asBoolean() ? "<true/>\n" : "<false/>\n");
        return fits(0);
      case PropertyList::Kind::kDate: {
        std::string text;
        if (!appendIsoDate(text, value.asDate())) return fail("a date outside the years 1 to 9999");
        return writeText(depth, "date", text);
      }
      case PropertyList::Kind::kData:
        return writeData(value.asData(), depth);
    }
    return fail("a value of unknown kind");
  }

  bool fail(std::string message) {
    error_ = Status::InvalidArgument("cannot write " + std::move(message));
    return false;
  }

  // True while what is written, and at least `more` bytes still to come, stay within the limit;
  // checked before a long text is escaped so that a refusal never builds it.
  bool fits(std::size_t more) {
    if (out_.size() <= maxBytes_ && more <= maxBytes_ - out_.size()) return true;
    error_ = Status::TooLarge("cannot write a property list of more than " +
                              std::to_string(maxBytes_) + " bytes");
    return false;
  }

  bool writeText(int depth, std::string_view tag, std::string_view text) {
    if (!fits(text.size())) return false;  // escaping never shortens text
    out_.indent(depth);
    out_.append("<");
    out_.append(tag);
    out_.append(">");
    out_.appendEscaped(text);
    out_.append("</");
    out_.append(tag);
    out_.append(">\n");
    return fits(0);
  }

  bool enterContainer(int depth) {
    if (depth + 1 > PropertyList::kMaxDepth) {
      return fail("containers nested deeper than " + std::to_string(PropertyList::kMaxDepth));
    }
    return true;
  }

  bool writeArray(const PropertyList::Array& array, int depth) {
    if (!enterContainer(depth)) return false;
    out_.indent(depth);
    if (array.empty()) {
      out_.append("<array/>\n");
      return fits(0);
    }
    out_.append("<array>\n");
    for (const PropertyList& element : array) {
      if (!write(element, depth + 1)) return false;
    }
    out_.indent(depth);
    out_.append("</array>\n");
    return fits(0);
  }

  bool writeDictionary(const PropertyList::Dictionary& dictionary, int depth) {
    if (!enterContainer(depth)) return false;
    out_.indent(depth);
    if (dictionary.empty()) {
      out_.append("<dict/>\n");
      return fits(0);
    }
    out_.append("<dict>\n");
    // Keys nearly always need no repair; when one does, the dictionary is written the slow way.
    const bool keysCarried =
        std::all_of(dictionary.begin(), dictionary.end(),
                    [](const auto& entry) { return PropertyListWriter::carriesText(entry.first); });
    if (!(keysCarried ? writeEntries(dictionary, depth)
                      : writeRepairedEntries(dictionary, depth))) {
      return false;
    }
    out_.indent(depth);
    out_.append("</dict>\n");
    return fits(0);
  }

  bool writeEntries(const PropertyList::Dictionary& dictionary, int depth) {
    for (const auto& [key, value] : dictionary) {
      if (!writeText(depth + 1, "key", key) || !write(value, depth + 1)) return false;
    }
    return true;
  }

  // Keys that need repair can change order or collide once repaired: sort the repaired keys
  // again and keep the last of equal ones.
  bool writeRepairedEntries(const PropertyList::Dictionary& dictionary, int depth) {
    std::vector<std::pair<std::string, const PropertyList*>> entries;
    entries.reserve(dictionary.size());
    for (const auto& [key, value] : dictionary) entries.emplace_back(escapedText(key), &value);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (i + 1 < entries.size() && entries[i + 1].first == entries[i].first) continue;
      if (!fits(entries[i].first.size())) return false;
      out_.indent(depth + 1);
      out_.append("<key>");
      out_.append(entries[i].first);  // already escaped
      out_.append("</key>\n");
      if (!write(*entries[i].second, depth + 1)) return false;
    }
    return true;
  }

  bool writeData(const PropertyList::Data& data, int depth) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::size_t encodedSize = (data.size() + 2) / 3 * 4;
    if (!fits(encodedSize)) return false;
    out_.indent(depth);
    out_.append("<data>\n");
    std::string encoded;
    encoded.reserve(encodedSize);
    for (std::size_t i = 0; i < data.size(); i += 3) {
      std::uint32_t group = std::uint32_t{data[i]} << 16;
      if (i + 1 < data.size()) group |= std::uint32_t{data[i + 1]} << 8;
      if (i + 2 < data.size()) group |= data[i + 2];
      encoded += kAlphabet[group >> 18 & 63];
      encoded += kAlphabet[group >> 12 & 63];
      encoded += i + 1 < data.size() ? kAlphabet[group >> 6 & 63] : '=';
      encoded += i + 2 < data.size() ? kAlphabet[group & 63] : '=';
    }
    for (std::size_t i = 0; i < encoded.size(); i += kBase64LineLength) {
      out_.indent(depth);
      out_.append(std::string_view(encoded).substr(i, kBase64LineLength));
      out_.append("\n");
    }
    out_.indent(depth);
    out_.append("</data>\n");
    return fits(0);
  }

  Output& out_;
  const std::size_t maxBytes_;
  Status error_;
};

}  // namespace

bool PropertyListWriter::carriesText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      std::size_t length = xmlCharacterLength(text.substr(i));
      if (length == 0) return false;
      i += length;
      continue;
    }
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') return false;
    ++i;
  }
  return true;
}

std::string PropertyListWriter::repairedText(std::string_view text) {
  std::string repaired;
  repaired.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (byte >= 0x80) length = xmlCharacterLength(text.substr(i));
    if (length == 0 || (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')) {
      repaired += kReplacement;
      ++i;
    } else {
      repaired.append(text, i, length);
      i += length;
    }
  }
  return repaired;
}

// What the writer writes for a value read from XML, element by element:
// - text (strings, keys): each byte of the document's text gives at most 4 written bytes (">"
//   becomes "&gt;"; "&amp;", "&lt;", "&#13;" and character references are written no longer than
//   they were read; CDATA markup and line-end pairs only shrink; nothing read from XML needs
//   repair);
// - base64 of <data>: at most its length plus 3 characters, in lines of 76 that each add an
//   indent and a line feed: within 2 bytes per document byte and one more line;
// - per element: at most three lines' indents (an opening and a closing line, and the last
//   short line of a <data>), each at most `deepest` tabs, and at most 160 bytes of tags, line
//   feeds and number or date text (the longest number is 24 characters);
// - the header and footer, within 512 bytes.
// A date read from XML lies in years 1 to 9999 and nesting is bounded alike on both sides, so
// size is the only way such a value could fail to be written.
std::size_t PropertyListWriter::xmlSizeBound(std::size_t documentBytes, std::size_t elements,
                                             int deepest) {
  constexpr std::size_t kLimit = std::numeric_limits<std::size_t>::max();
  constexpr std::size_t kBytesPerTextByte = 4;
  constexpr std::size_t kFixedPerElement = 160;
  constexpr std::size_t kHeaderAndFooter = 512;
  const std::size_t perElement =
      3 * static_cast<std::size_t>(std::max(deepest, 0)) + kFixedPerElement;
  if (documentBytes > kLimit / 8 || elements > kLimit / 8 / perElement) return kLimit;
  return kBytesPerTextByte * documentBytes + perElement * elements + kHeaderAndFooter;
}

bool PropertyListWriter::appendEscapedText(std::string& out, std::string_view text) {
  StringSink sink{out};
  return escapeInto(sink, text);
}

Result<std::string> PropertyListWriter::serialise(const PropertyList& value, std::size_t maxBytes) {
  Output out(Output::Mode::kKeep);
  Serialiser serialiser(out, maxBytes);
  if (!serialiser.writeFile(value)) return serialiser.error();
  return out.take();
}

Result<std::string> PropertyListWriter::serialiseTopLevelEntry(std::string_view key,
                                                               const PropertyList& value,
                                                               std::size_t maxBytes) {
  Output out(Output::Mode::kKeep);
  Serialiser serialiser(out, maxBytes);
  if (!serialiser.writeTopLevelEntry(key, value)) return serialiser.error();
  // Grown by doubling, the string would keep up to half again its size unused.
  std::string bytes = out.take();
  bytes.shrink_to_fit();
  return bytes;
}

std::string_view PropertyListWriter::dictionaryHead() {
  static const std::string head = std::string(kHeader) + "<dict>\n";
  return head;
}

std::string_view PropertyListWriter::dictionaryTail() {
  static const std::string tail = "</dict>\n" + std::string(kFooter);
  return tail;
}

std::string_view PropertyListWriter::emptyDictionaryFile() {
  static const std::string file = std::string(kHeader) + "<dict/>\n" + std::string(kFooter);
  return file;
}

Result<std::size_t> PropertyListWriter::serialisedSize(const PropertyList& value,
                                                       std::size_t maxBytes) {
  Output out(Output::Mode::kCount);
  Serialiser serialiser(out, maxBytes);
  if (!serialiser.writeFile(value)) return serialiser.error();
  return out.size();
}

Status writePropertyList(const std::filesystem::path& path, const PropertyList& value,
                         std::size_t maxBytes) {
  Result<std::string> bytes = PropertyListWriter::serialise(value, maxBytes);
  if (!bytes.ok()) return bytes.status();
  return AtomicFile::write(path, *bytes);
}

}  // namespace kinetra
