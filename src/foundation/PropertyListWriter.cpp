#include "foundation/PropertyListWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
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

std::string repairedText(std::string_view text) {
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

class Serialiser {
 public:
  explicit Serialiser(std::string& out) : out_(out) {}

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
        indent(depth);
        out_ += value.asBoolean() ? "<true/>\n" : "<false/>\n";
        return true;
      case PropertyList::Kind::kDate: {
        std::string text;
        if (!appendIsoDate(text, value.asDate())) return fail("a date outside the years 1 to 9999");
        return writeText(depth, "date", text);
      }
      case PropertyList::Kind::kData:
        writeData(value.asData(), depth);
        return true;
    }
    return fail("a value of unknown kind");
  }

  const std::string& error() const { return error_; }

 private:
  bool fail(std::string message) {
    error_ = "cannot write " + std::move(message);
    return false;
  }

  void indent(int depth) { out_.append(static_cast<std::size_t>(depth), '\t'); }

  bool writeText(int depth, std::string_view tag, std::string_view text) {
    indent(depth);
    out_ += '<';
    out_ += tag;
    out_ += '>';
    PropertyListWriter::appendEscapedText(out_, text);
    out_ += "</";
    out_ += tag;
    out_ += ">\n";
    return true;
  }

  bool enterContainer(int depth) {
    if (depth + 1 > PropertyList::kMaxDepth) {
      return fail("containers nested deeper than " + std::to_string(PropertyList::kMaxDepth));
    }
    return true;
  }

  bool writeArray(const PropertyList::Array& array, int depth) {
    if (!enterContainer(depth)) return false;
    indent(depth);
    if (array.empty()) {
      out_ += "<array/>\n";
      return true;
    }
    out_ += "<array>\n";
    for (const PropertyList& element : array) {
      if (!write(element, depth + 1)) return false;
    }
    indent(depth);
    out_ += "</array>\n";
    return true;
  }

  bool writeDictionary(const PropertyList::Dictionary& dictionary, int depth) {
    if (!enterContainer(depth)) return false;
    indent(depth);
    if (dictionary.empty()) {
      out_ += "<dict/>\n";
      return true;
    }
    out_ += "<dict>\n";
    // Keys nearly always need no repair; when one does, what was written of this dictionary is
    // dropped and it is written again the slow way.
    const std::size_t start = out_.size();
    bool keysCarried = true;
    for (const auto& [key, value] : dictionary) {
      indent(depth + 1);
      out_ += "<key>";
      if (!PropertyListWriter::appendEscapedText(out_, key)) {
        keysCarried = false;
        break;
      }
      out_ += "</key>\n";
      if (!write(value, depth + 1)) return false;
    }
    if (!keysCarried) {
      out_.resize(start);
      if (!writeRepairedEntries(dictionary, depth)) return false;
    }
    indent(depth);
    out_ += "</dict>\n";
    return true;
  }

  // Keys that need repair can change order or collide once repaired: sort the repaired keys
  // again and keep the last of equal ones.
  bool writeRepairedEntries(const PropertyList::Dictionary& dictionary, int depth) {
    std::vector<std::pair<std::string, const PropertyList*>> entries;
    entries.reserve(dictionary.size());
    for (const auto& [key, value] : dictionary) entries.emplace_back(repairedText(key), &value);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (i + 1 < entries.size() && entries[i + 1].first == entries[i].first) continue;
      indent(depth + 1);
      out_ += "<key>";
      out_ += entries[i].first;  // already escaped
      out_ += "</key>\n";
      if (!write(*entries[i].second, depth + 1)) return false;
    }
    return true;
  }

  void writeData(const PropertyList::Data& data, int depth) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    indent(depth);
    out_ += "<data>\n";
    std::string encoded;
    encoded.reserve((data.size() + 2) / 3 * 4);
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
      indent(depth);
      out_.append(encoded, i, kBase64LineLength);
      out_ += '\n';
    }
    indent(depth);
    out_ += "</data>\n";
  }

  std::string& out_;
  std::string error_;
};

}  // namespace

bool PropertyListWriter::appendEscapedText(std::string& out, std::string_view text) {
  bool carried = true;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t plainEnd = i;
    while (plainEnd < text.size() && isPlainByte(static_cast<unsigned char>(text[plainEnd]))) {
      ++plainEnd;
    }
    out.append(text, i, plainEnd - i);
    if (plainEnd == text.size()) return carried;
    i = plainEnd;
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      std::size_t length = xmlCharacterLength(text.substr(i));
      if (length == 0) {
        out += kReplacement;
        carried = false;
        ++i;
      } else {
        out.append(text, i, length);
        i += length;
      }
      continue;
    }
    switch (byte) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += kReplacement;  // a control character XML 1.0 forbids
        carried = false;
        break;
    }
    ++i;
  }
  return carried;
}

Result<std::string> PropertyListWriter::serialise(const PropertyList& value) {
  std::string out;
  out.reserve(4096);
  out += kHeader;
  Serialiser serialiser(out);
  if (!serialiser.write(value, 0)) return Status::InvalidArgument(serialiser.error());
  out += kFooter;
  return out;
}

Status writePropertyList(const std::filesystem::path& path, const PropertyList& value) {
  Result<std::string> bytes = PropertyListWriter::serialise(value);
  if (!bytes.ok()) return bytes.status();
  return AtomicFile::write(path, *bytes);
}

}  // namespace kinetra
