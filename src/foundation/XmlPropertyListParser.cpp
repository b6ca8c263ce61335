#include "foundation/XmlPropertyListParser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

#include "foundation/XmlCharacter.h"

namespace kinetra {

namespace {

constexpr std::uint64_t kInt64MinMagnitude = std::uint64_t{1} << 63;

constexpr bool isXmlWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

constexpr std::array<bool, 256> kNameCharacters = [] {
  std::array<bool, 256> table{};
  for (unsigned char c :
       std::string_view("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_:-.")) {
    table[c] = true;
  }
  return table;
}();

constexpr bool isNameCharacter(char c) { return kNameCharacters[static_cast<unsigned char>(c)]; }

// Text copied unchanged: ASCII that XML allows as it stands, other than markup's '<' and '&'.
constexpr std::array<bool, 256> kPlainText = [] {
  std::array<bool, 256> table{};
  for (int c = 0x20; c < 0x80; ++c) table[static_cast<std::size_t>(c)] = c != '<' && c != '&';
  table['\t'] = true;
  table['\n'] = true;
  return table;
}();

constexpr bool isPlainText(char c) { return kPlainText[static_cast<unsigned char>(c)]; }

// True when `text` holds `literal` from `pos` (at most its size) on. The literals are tags of a
// few bytes; with the length a constant, the compiler compares them in a word or two.
template <std::size_t N>
bool holdsAt(std::string_view text, std::size_t pos, const char (&literal)[N]) {
  constexpr std::size_t kLength = N - 1;
  return text.size() - pos >= kLength && std::memcmp(text.data() + pos, literal, kLength) == 0;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isXmlWhitespace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isXmlWhitespace(text.back())) text.remove_suffix(1);
  return text;
}

// The start of a text for a message; hostile files can hold megabytes in one element.
std::string excerpt(std::string_view text) {
  constexpr std::size_t kLength = 40;
  return text.size() <= kLength ? std::string(text) : std::string(text.substr(0, kLength)) + "...";
}

bool isXmlCodePoint(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void appendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool parseUnsigned(std::string_view digits, int base, std::uint64_t& value) {
  if (digits.empty()) return false;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  return error == std::errc() && end == digits.data() + digits.size();
}

// Decimal with an optional sign, or unsigned hexadecimal after "0x", as plistlib reads them.
bool parseInteger(std::string_view text, PropertyList::Integer& value) {
  text = trimmed(text);
  std::uint64_t magnitude = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (!parseUnsigned(text.substr(2), 16, magnitude)) return false;
    value = PropertyList::Integer::fromUnsigned(magnitude);
    return true;
  }
  bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (!parseUnsigned(text, 10, magnitude)) return false;
  if (negative && magnitude > kInt64MinMagnitude) return false;
  value = negative ? PropertyList::Integer::negated(magnitude)
                   : PropertyList::Integer::fromUnsigned(magnitude);
  return true;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char lower = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    if (lower != b[i]) return false;
  }
  return true;
}

enum class RealText { kMalformed, kExact, kOutOfRange };

// A real in plistlib's forms. kExact means the nearest double, as every reader of reals reads it;
// kOutOfRange a number beyond the doubles, read as an infinity or zero.
RealText parseReal(std::string_view text, double& value) {
  text = trimmed(text);
  bool negative = !text.empty() && text.front() == '-';
  std::string_view unsignedText = text;
  if (!unsignedText.empty() && (unsignedText.front() == '-' || unsignedText.front() == '+')) {
    unsignedText.remove_prefix(1);
  }
  if (equalsIgnoringCase(unsignedText, "nan")) {
    value = std::numeric_limits<double>::quiet_NaN();
    return RealText::kExact;
  }
  if (equalsIgnoringCase(unsignedText, "inf") || equalsIgnoringCase(unsignedText, "infinity")) {
    value = negative ? -std::numeric_limits<double>::infinity()
                     : std::numeric_limits<double>::infinity();
    return RealText::kExact;
  }
  // from_chars takes no "+" and would read "-+1"; the sign is handled here.
  if (unsignedText.empty() || unsignedText.front() == '-' || unsignedText.front() == '+') {
    return RealText::kMalformed;
  }
  const char* end = unsignedText.data() + unsignedText.size();
  auto [stop, error] = std::from_chars(unsignedText.data(), end, value);
  if (stop != end) return RealText::kMalformed;
  RealText kind = RealText::kExact;
  if (error == std::errc::result_out_of_range) {
    // Beyond the range of double: overflow reads as infinity, underflow as zero, as strtod does.
    std::size_t exponent = unsignedText.find_first_of("eE");
    bool underflow = exponent != std::string_view::npos && exponent + 1 < unsignedText.size() &&
                     unsignedText[exponent + 1] == '-';
    value = underflow ? 0.0 : std::numeric_limits<double>::infinity();
    kind = RealText::kOutOfRange;
  } else if (error != std::errc()) {
    return RealText::kMalformed;
  }
  if (negative) value = -value;
  return kind;
}

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  auto yearOfEra = static_cast<unsigned>(year - era * 400);
  unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

unsigned daysInMonth(std::int64_t year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// Reads `count` digits at `pos` when the text has them there.
bool readDigits(std::string_view text, std::size_t& pos, std::size_t count, unsigned& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  pos += count;
  return true;
}

// "YYYY[-MM[-DD[THH[:MM[:SS]]]]]Z" in UTC, the forms plistlib reads.
bool parseDate(std::string_view text, Date& value) {
  text = trimmed(text);
  if (text.empty() || text.back() != 'Z') return false;
  text.remove_suffix(1);
  unsigned fields[6] = {0, 1, 1, 0, 0, 0};
  static constexpr char kSeparators[] = {'\0', '-', '-', 'T', ':', ':'};
  std::size_t pos = 0;
  if (!readDigits(text, pos, 4, fields[0])) return false;
  for (int field = 1; field < 6 && pos < text.size(); ++field) {
    if (text[pos++] != kSeparators[field] || !readDigits(text, pos, 2, fields[field])) return false;
  }
  if (pos != text.size()) return false;
  auto [year, month, day, hour, minute, second] = fields;
  if (year == 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) {
    return false;
  }
  if (hour > 23 || minute > 59 || second > 59) return false;
  std::int64_t seconds =
      daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  value = Date(static_cast<double>(seconds));
  return true;
}

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Standard base64 with "=" padding; white space anywhere is skipped.
bool decodeBase64(std::string_view text, PropertyList::Data& data) {
  std::uint32_t group = 0;
  int sextets = 0;
  int padding = 0;
  for (char c : text) {
    if (isXmlWhitespace(c)) continue;
    if (c == '=') {
      ++padding;
      continue;
    }
    int value = base64Value(c);
    if (value < 0 || padding > 0) return false;
    group = group << 6 | static_cast<std::uint32_t>(value);
    if (++sextets == 4) {
      data.push_back(static_cast<std::uint8_t>(group >> 16));
      data.push_back(static_cast<std::uint8_t>(group >> 8));
      data.push_back(static_cast<std::uint8_t>(group));
      group = 0;
      sextets = 0;
    }
  }
  if (sextets == 0) return padding == 0;
  if (sextets + padding != 4 || sextets < 2) return false;
  group <<= 6 * (4 - sextets);
  data.push_back(static_cast<std::uint8_t>(group >> 16));
  if (sextets == 3) data.push_back(static_cast<std::uint8_t>(group >> 8));
  return true;
}

}  // namespace

Result<PropertyListReading> XmlPropertyListParser::parse(std::string_view document) {
  Result<CountedReading> counted = parseCounted(document);
  if (!counted.ok()) return counted.status();
  return std::move(counted->reading);
}

Result<XmlPropertyListParser::CountedReading> XmlPropertyListParser::parseCounted(
    std::string_view document) {
  XmlPropertyListParser parser(document);
  if (Status status = parser.run(); !status.ok()) return status;
  return CountedReading{PropertyListReading{std::move(parser.root_), std::move(parser.inexact_)},
                        parser.elements_, parser.deepest_};
}

Status XmlPropertyListParser::run() {
  stack_.reserve(PropertyList::kMaxDepth);
  if (startsWith("\xEF\xBB\xBF")) pos_ = 3;
  while (true) {
    skipWhitespace();
    if (pos_ == text_.size()) break;
    if (text_[pos_] != '<') return corrupt("text outside of a value");
    if (readPlainLeaf()) continue;
    if (Status status = parseMarkup(); !status.ok()) return status;
  }
  if (!stack_.empty()) return corrupt("unclosed container");
  if (plistOpen_ && !plistClosed_) return corrupt("missing </plist>");
  if (!hasRoot_) return corrupt("no value");
  return Status::Ok();
}

bool XmlPropertyListParser::readPlainLeaf() {
  if (stack_.empty()) return false;
  if (holdsAt(text_, pos_, "<string>")) {
    const std::size_t start = pos_ + 8;
    const std::size_t end = plainTextEnd(start);
    if (!holdsAt(text_, end, "</string>")) return false;
    Frame& frame = stack_.back();
    if (!frame.value.isArray() && !frame.hasKey) return false;
    const std::string_view text = text_.substr(start, end - start);
    pos_ = end + 9;
    if (frame.value.isArray()) {
      pending_.emplace_back(text);
    } else {
      // Cannot fail: the value has its key.
      static_cast<void>(addValue(text));
    }
  } else if (holdsAt(text_, pos_, "<key>")) {
    const std::size_t start = pos_ + 5;
    const std::size_t end = plainTextEnd(start);
    if (!holdsAt(text_, end, "</key>")) return false;
    Frame& frame = stack_.back();
    if (!frame.value.isDictionary() || frame.hasKey) return false;
    frame.key.assign(text_.substr(start, end - start));
    frame.hasKey = true;
    pos_ = end + 6;
  } else {
    return false;
  }
  ++elements_;
  return true;
}

std::size_t XmlPropertyListParser::plainTextEnd(std::size_t from) const {
  while (from < text_.size() && isPlainText(text_[from])) ++from;
  return from;
}

Status XmlPropertyListParser::parseMarkup() {
  char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
  if (next == '/') return parseEndTag();
  if (next == '?') return skipPast("<?", "?>");
  if (next == '!') {
    if (startsWith("<!--")) return skipPast("<!--", "-->");
    if (startsWith("<!DOCTYPE")) return skipDoctype();
    return corrupt("unexpected markup");
  }
  ++pos_;
  std::string_view name;
  if (Status status = readTagName(name); !status.ok()) return status;
  bool selfClosing = false;
  if (Status status = skipAttributes(selfClosing); !status.ok()) return status;
  return parseStartTag(name, selfClosing);
}

XmlPropertyListParser::Element XmlPropertyListParser::elementNamed(std::string_view name) {
  static constexpr std::pair<std::string_view, Element> kElements[] = {
      {"string", Element::kString}, {"key", Element::kKey},         {"array", Element::kArray},
      {"dict", Element::kDict},     {"integer", Element::kInteger}, {"real", Element::kReal},
      {"true", Element::kTrue},     {"false", Element::kFalse},     {"date", Element::kDate},
      {"data", Element::kData},     {"plist", Element::kPlist}};
  for (const auto& [elementName, element] : kElements) {
    if (name.size() == elementName.size() && name[0] == elementName[0] && name == elementName) {
      return element;
    }
  }
  return Element::kUnknown;
}

Status XmlPropertyListParser::parseStartTag(std::string_view name, bool selfClosing) {
  const Element element = elementNamed(name);
  if (element != Element::kPlist) ++elements_;
  switch (element) {
    case Element::kPlist:
      if (plistOpen_ || hasRoot_ || !stack_.empty()) return corrupt("unexpected <plist>");
      plistOpen_ = true;
      plistClosed_ = selfClosing;
      return Status::Ok();
    case Element::kArray:
    case Element::kDict: {
      PropertyList empty = element == Element::kArray ? PropertyList(PropertyList::Array{})
                                                      : PropertyList(PropertyList::Dictionary{});
      if (!selfClosing) return openContainer(std::move(empty));
      // An empty container is a level of nesting too.
      if (Status status = openContainer(std::move(empty)); !status.ok()) return status;
      return addValue(closeContainer());
    }
    case Element::kKey: {
      if (stack_.empty() || !stack_.back().value.isDictionary() || stack_.back().hasKey) {
        return corrupt("unexpected <key>");
      }
      Frame& frame = stack_.back();
      frame.key.clear();
      if (Status status = readText(name, selfClosing, frame.key); !status.ok()) return status;
      frame.hasKey = true;
      return Status::Ok();
    }
    case Element::kUnknown:
      return corrupt("unknown element <" + std::string(name) + ">");
    default:
      return parseLeaf(name, element, selfClosing);
  }
}

Status XmlPropertyListParser::parseLeaf(std::string_view name, Element element, bool selfClosing) {
  std::string text;
  if (Status status = readText(name, selfClosing, text); !status.ok()) return status;
  switch (element) {
    case Element::kString:
      return addValue(std::move(text));
    case Element::kTrue:
    case Element::kFalse:
      if (!trimmed(text).empty()) return corrupt("text inside <" + std::string(name) + ">");
      return addValue(element == Element::kTrue);
    case Element::kInteger: {
      PropertyList::Integer value;
      if (!parseInteger(text, value)) return corrupt("bad <integer> " + excerpt(text));
      return addValue(value);
    }
    case Element::kReal: {
      double value = 0;
      RealText kind = parseReal(text, value);
      if (kind == RealText::kMalformed) return corrupt("bad <real> " + excerpt(text));
      if (kind == RealText::kOutOfRange) noteInexact("<real> beyond a double: " + excerpt(text));
      return addValue(value);
    }
    case Element::kDate: {
      Date value;
      if (!parseDate(text, value)) return corrupt("bad <date> " + excerpt(text));
      return addValue(value);
    }
    default: {
      PropertyList::Data data;
      if (!decodeBase64(text, data)) return corrupt("bad base64 in <data>");
      return addValue(std::move(data));
    }
  }
}

Status XmlPropertyListParser::openContainer(PropertyList value) {
  if (stack_.empty()) {
    if (hasRoot_ || plistClosed_) return corrupt("more than one value");
  } else if (stack_.back().value.isDictionary() && !stack_.back().hasKey) {
    return corrupt("dictionary value without a key");
  }
  if (stack_.size() + 1 > static_cast<std::size_t>(PropertyList::kMaxDepth)) {
    return Status::TooLarge("containers nested deeper than " +
                            std::to_string(PropertyList::kMaxDepth));
  }
  const std::size_t firstPending = value.isArray() ? pending_.size() : pendingEntries_.size();
  stack_.push_back(Frame{std::move(value), {}, false, firstPending});
  deepest_ = std::max(deepest_, static_cast<int>(stack_.size()));
  return Status::Ok();
}

Status XmlPropertyListParser::addValue(PropertyList value) {
  if (stack_.empty()) {
    if (hasRoot_ || plistClosed_) return corrupt("more than one value");
    root_ = std::move(value);
    hasRoot_ = true;
    return Status::Ok();
  }
  Frame& frame = stack_.back();
  if (frame.value.isArray()) {
    pending_.emplace_back(std::move(value));
    return Status::Ok();
  }
  if (!frame.hasKey) return corrupt("dictionary value without a key");
  // A key repeated at once is told here, where it is; closeContainer() finds the others.
  if (pendingEntries_.size() > frame.firstPending && pendingEntries_.back().first == frame.key) {
    noteInexact("key repeated: " + excerpt(frame.key));
  }
  pendingEntries_.emplace_back(std::move(frame.key), std::move(value));
  frame.key.clear();
  frame.hasKey = false;
  return Status::Ok();
}

Status XmlPropertyListParser::parseEndTag() {
  pos_ += 2;
  std::string_view name;
  if (Status status = readTagName(name); !status.ok()) return status;
  skipWhitespace();
  if (pos_ == text_.size() || text_[pos_] != '>') return corrupt("malformed end tag");
  ++pos_;
  if (stack_.empty()) {
    if (name != "plist" || !plistOpen_ || plistClosed_) return corrupt("unexpected end tag");
    plistClosed_ = true;
    return Status::Ok();
  }
  Frame& frame = stack_.back();
  if (name != (frame.value.isArray() ? "array" : "dict")) return corrupt("mismatched end tag");
  if (frame.hasKey) return corrupt("dictionary key without a value");
  return addValue(closeContainer());
}

PropertyList XmlPropertyListParser::closeContainer() {
  Frame& frame = stack_.back();
  PropertyList value = std::move(frame.value);
  if (value.isArray()) {
    const auto first = pending_.begin() + static_cast<std::ptrdiff_t>(frame.firstPending);
    PropertyList::Array& array = value.asArray();
    array.reserve(static_cast<std::size_t>(pending_.end() - first));
    for (auto element = first; element != pending_.end(); ++element) {
      if (const auto* plain = std::get_if<std::string_view>(&*element)) {
        array.emplace_back(*plain);
      } else {
        array.push_back(std::move(std::get<PropertyList>(*element)));
      }
    }
    pending_.erase(first, pending_.end());
  } else {
    const auto first = pendingEntries_.begin() + static_cast<std::ptrdiff_t>(frame.firstPending);
    PropertyList::Dictionary::Entries entries(std::make_move_iterator(first),
                                              std::make_move_iterator(pendingEntries_.end()));
    pendingEntries_.erase(first, pendingEntries_.end());
    value = PropertyList::Dictionary::fromEntries(
        std::move(entries),
        [this](const std::string& key) { noteInexact("key repeated: " + excerpt(key)); });
  }
  stack_.pop_back();
  return value;
}

Status XmlPropertyListParser::readText(std::string_view name, bool selfClosing, std::string& out) {
  if (selfClosing) return Status::Ok();
  while (true) {
    // Plain characters are copied as they are; anything else in the run is checked and
    // converted by appendCharacters.
    std::size_t runEnd = pos_;
    while (runEnd < text_.size() && isPlainText(text_[runEnd])) ++runEnd;
    out.append(text_, pos_, runEnd - pos_);
    pos_ = runEnd;
    if (pos_ < text_.size() && text_[pos_] != '<' && text_[pos_] != '&') {
      while (runEnd < text_.size() && text_[runEnd] != '<' && text_[runEnd] != '&') ++runEnd;
      Status characters = appendCharacters(text_.substr(pos_, runEnd - pos_), out);
      pos_ = runEnd;
      if (!characters.ok()) return characters;
    }
    if (pos_ == text_.size()) return corrupt("unterminated <" + std::string(name) + ">");
    if (text_[pos_] == '&') {
      if (Status status = appendReference(out); !status.ok()) return status;
    } else if (startsWith("</")) {
      pos_ += 2;
      std::string_view endName;
      if (Status status = readTagName(endName); !status.ok()) return status;
      skipWhitespace();
      if (endName != name || pos_ == text_.size() || text_[pos_] != '>') {
        return corrupt("mismatched end tag in <" + std::string(name) + ">");
      }
      ++pos_;
      return Status::Ok();
    } else if (startsWith("<![CDATA[")) {
      std::size_t start = pos_ + 9;
      std::size_t end = text_.find("]]>", start);
      if (end == std::string_view::npos) return corrupt("unterminated CDATA section");
      if (Status status = appendCharacters(text_.substr(start, end - start), out); !status.ok()) {
        return status;
      }
      pos_ = end + 3;
    } else if (startsWith("<!--")) {
      if (Status status = skipPast("<!--", "-->"); !status.ok()) return status;
    } else if (startsWith("<?")) {
      if (Status status = skipPast("<?", "?>"); !status.ok()) return status;
    } else {
      return corrupt("element inside <" + std::string(name) + ">");
    }
  }
}

Status XmlPropertyListParser::appendCharacters(std::string_view raw, std::string& out) {
  std::size_t runStart = 0;
  std::size_t i = 0;
  while (i < raw.size()) {
    auto c = static_cast<unsigned char>(raw[i]);
    if ((c >= 0x20 && c < 0x80) || c == '\t' || c == '\n') {
      ++i;
    } else if (c >= 0x80) {
      std::size_t length = xmlCharacterLength(raw.substr(i));
      if (length == 0) return corrupt("bytes that are not UTF-8 or not XML characters");
      i += length;
    } else if (c == '\r') {
      // XML reads CR LF and a lone CR as one line feed.
      out.append(raw, runStart, i - runStart);
      out += '\n';
      ++i;
      if (i < raw.size() && raw[i] == '\n') ++i;
      runStart = i;
    } else {
      return corrupt("control character in text");
    }
  }
  out.append(raw, runStart, raw.size() - runStart);
  return Status::Ok();
}

Status XmlPropertyListParser::appendReference(std::string& out) {
  constexpr std::size_t kLongestReference = 10;  // "&#x10FFFF;"
  std::size_t end = text_.find(';', pos_);
  if (end == std::string_view::npos || end - pos_ > kLongestReference) {
    return corrupt("malformed reference");
  }
  std::string_view name = text_.substr(pos_ + 1, end - pos_ - 1);
  pos_ = end + 1;
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"apos", '\''}, {"quot", '"'}};
  for (const auto& [entity, character] : kEntities) {
    if (name == entity) {
      out += character;
      return Status::Ok();
    }
  }
  if (name.size() < 2 || name[0] != '#')
    return corrupt("unknown entity &" + std::string(name) + ";");
  std::uint64_t codePoint = 0;
  bool parsed = name[1] == 'x' ? parseUnsigned(name.substr(2), 16, codePoint)
                               : parseUnsigned(name.substr(1), 10, codePoint);
  if (!parsed || codePoint > 0x10FFFF || !isXmlCodePoint(static_cast<std::uint32_t>(codePoint))) {
    return corrupt("bad character reference");
  }
  appendUtf8(out, static_cast<std::uint32_t>(codePoint));
  return Status::Ok();
}

Status XmlPropertyListParser::skipPast(std::string_view opener, std::string_view terminator) {
  std::size_t end = text_.find(terminator, pos_ + opener.size());
  if (end == std::string_view::npos) return corrupt("unterminated " + std::string(opener));
  pos_ = end + terminator.size();
  return Status::Ok();
}

// A DOCTYPE may precede the root element. One with an internal subset could declare entities,
// which this reader does not expand, so it is refused.
Status XmlPropertyListParser::skipDoctype() {
  if (hasRoot_ || plistOpen_ || !stack_.empty()) return corrupt("misplaced DOCTYPE");
  for (pos_ += 9; pos_ < text_.size(); ++pos_) {
    char c = text_[pos_];
    if (c == '>') {
      ++pos_;
      return Status::Ok();
    }
    if (c == '[') return corrupt("DOCTYPE with an internal subset");
    if (c == '"' || c == '\'') {
      std::size_t close = text_.find(c, pos_ + 1);
      if (close == std::string_view::npos) break;
      pos_ = close;
    }
  }
  return corrupt("unterminated DOCTYPE");
}

Status XmlPropertyListParser::readTagName(std::string_view& name) {
  std::size_t start = pos_;
  while (pos_ < text_.size() && isNameCharacter(text_[pos_])) ++pos_;
  if (pos_ == start) return corrupt("malformed tag");
  name = text_.substr(start, pos_ - start);
  return Status::Ok();
}

Status XmlPropertyListParser::skipAttributes(bool& selfClosing) {
  while (pos_ < text_.size()) {
    char c = text_[pos_];
    if (c == '>') {
      ++pos_;
      selfClosing = false;
      return Status::Ok();
    }
    if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '>') {
      pos_ += 2;
      selfClosing = true;
      return Status::Ok();
    }
    if (c == '<') break;
    if (c == '"' || c == '\'') {
      std::size_t close = text_.find(c, pos_ + 1);
      if (close == std::string_view::npos) break;
      pos_ = close;
    }
    ++pos_;
  }
  return corrupt("malformed tag");
}

void XmlPropertyListParser::skipWhitespace() {
  while (pos_ < text_.size() && isXmlWhitespace(text_[pos_])) ++pos_;
}

bool XmlPropertyListParser::startsWith(std::string_view prefix) const {
  return text_.substr(pos_, prefix.size()) == prefix;
}

Status XmlPropertyListParser::corrupt(const std::string& message) const {
  return Status::Corrupt(message + " at byte " + std::to_string(pos_));
}

void XmlPropertyListParser::noteInexact(const std::string& message) {
  if (inexact_.empty()) inexact_ = message + " before byte " + std::to_string(pos_);
}

}  // namespace kinetra
