#include "model/LogCsv.h"

#include <cstring>
#include <iterator>

#include "model/DayList.h"
#include "model/LogEntry.h"

namespace kinetra {

namespace {

constexpr std::size_t kCardioValues = 5;
constexpr std::size_t kStrengthValues = 3;

// The text is built the same way into a string (the mail's attachment), into a count of its
// bytes (so that the string is allocated once at its final size) or into the pieces of a
// download.
struct ByteCount {
  std::size_t bytes = 0;
  void push_back(char) { ++bytes; }
};
void append(ByteCount& count, std::string_view piece) { count.bytes += piece.size(); }
void append(std::string& text, std::string_view piece) { text.append(piece); }
void append(std::vector<std::uint8_t>& text, std::string_view piece) {
  if (piece.empty()) return;
  const std::size_t end = text.size();
  text.resize(end + piece.size());
  std::memcpy(text.data() + end, piece.data(), piece.size());
}

template <class Text>
void appendQuotedTo(Text& csv, std::string_view value) {
  csv.push_back('"');
  for (std::size_t quote = value.find('"'); quote != std::string_view::npos;
       quote = value.find('"')) {
    append(csv, value.substr(0, quote + 1));
    csv.push_back('"');
    value.remove_prefix(quote + 1);
  }
  append(csv, value);
  csv.push_back('"');
}

template <class Text>
void appendDay(Text& csv, const PropertyList& log, const std::string& day, std::size_t groupSize) {
  for (const std::string& exercise : LogEntry::exercisesOn(log, day)) {
    const PropertyList::Array* entry = LogEntry::find(log, day, exercise);
    if (entry == nullptr) continue;
    for (std::size_t group = 0; (group + 1) * groupSize <= entry->size(); ++group) {
      appendQuotedTo(csv, day);
      csv.push_back(',');
      appendQuotedTo(csv, exercise);
      csv.push_back(',');
      appendQuotedTo(csv, std::to_string(group + 1));
      for (std::size_t i = 0; i < groupSize; ++i) {
        csv.push_back(',');
        appendQuotedTo(csv, LogEntry::text(*entry, group * groupSize + i));
      }
      csv.push_back('\n');
    }
  }
}

// The days of one log listed in a section: the other log stands in as an empty one.
std::vector<std::string> sectionDays(const PropertyList& log, const LogCsv::Inputs& inputs) {
  const PropertyList none = PropertyList::Dictionary{};
  return DayList::daysWithin(log, none, inputs.now, inputs.days, inputs.formatter).days;
}

template <class Text>
void appendDayGroup(Text& csv, const PropertyList& log, const std::string& day,
                    std::size_t groupSize) {
  csv.push_back('\n');
  appendDay(csv, log, day, groupSize);
}

// The export's two sections, in order: each a head, then a group per day of its log.
struct Section {
  std::string_view head;
  std::string_view header;
  const PropertyList& (*log)(const LogCsv::Inputs&);
  std::size_t groupSize;
};
constexpr Section kSections[] = {
    {"Cardio\n", LogCsv::kCardioHeader,
     [](const LogCsv::Inputs& inputs) -> const PropertyList& { return inputs.aerobicsLog; },
     kCardioValues},
    {"\n\nExercise\n", LogCsv::kStrengthHeader,
     [](const LogCsv::Inputs& inputs) -> const PropertyList& { return inputs.exerciseLog; },
     kStrengthValues},
};

template <class Text>
void appendHead(Text& csv, const Section& section) {
  append(csv, section.head);
  append(csv, section.header);
}

template <class Text>
void buildInto(Text& csv, const LogCsv::Inputs& inputs) {
  for (const Section& section : kSections) {
    appendHead(csv, section);
    const PropertyList& log = section.log(inputs);
    for (const std::string& day : sectionDays(log, inputs)) {
      appendDayGroup(csv, log, day, section.groupSize);
    }
  }
}

}  // namespace

// Counted first, then built into text reserved to that size: a 5 MB text grown by doubling
// would hold up to three times that at once.
std::string LogCsv::build(const Inputs& inputs) {
  ByteCount count;
  buildInto(count, inputs);
  std::string csv;
  csv.reserve(count.bytes);
  buildInto(csv, inputs);
  return csv;
}

std::vector<std::uint8_t> LogCsv::Pieces::next() {
  std::vector<std::uint8_t> piece;
  piece.reserve(pieceBytes_);
  while (piece.size() < pieceBytes_ && appendNextPart(piece)) {
  }
  return piece;
}

bool LogCsv::Pieces::appendNextPart(std::vector<std::uint8_t>& piece) {
  if (section_ >= std::size(kSections)) return false;
  const Section& section = kSections[section_];
  const PropertyList& log = section.log(inputs_);
  if (!headGiven_) {
    appendHead(piece, section);
    days_ = sectionDays(log, inputs_);
    nextDay_ = 0;
    headGiven_ = true;
  } else if (nextDay_ < days_.size()) {
    appendDayGroup(piece, log, days_[nextDay_++], section.groupSize);
  } else {
    ++section_;
    headGiven_ = false;
    days_ = {};
  }
  return true;
}

std::string LogCsv::quoted(std::string_view value) {
  std::string field;
  appendQuoted(field, value);
  return field;
}

void LogCsv::appendQuoted(std::string& csv, std::string_view value) { appendQuotedTo(csv, value); }

}  // namespace kinetra
