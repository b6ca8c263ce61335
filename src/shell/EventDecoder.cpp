#include "shell/EventDecoder.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace kinetra {

namespace {

using nlohmann::json;

std::optional<double> number(const json& object, const char* name, double limit) {
  const auto it = object.find(name);
  if (it == object.end() || !it->is_number()) return std::nullopt;
  const double value = it->get<double>();
  if (!std::isfinite(value) || std::fabs(value) > limit) return std::nullopt;
  return value;
}

std::optional<std::int64_t> whole(const json& value, std::int64_t low, std::int64_t high) {
  if (!value.is_number_integer()) return std::nullopt;
  const std::int64_t n =
      value.is_number_unsigned()
          ? static_cast<std::int64_t>(std::min<std::uint64_t>(value.get<std::uint64_t>(),
                                                              static_cast<std::uint64_t>(high) + 1))
          : value.get<std::int64_t>();
  if (n < low || n > high) return std::nullopt;
  return n;
}

std::optional<std::int64_t> whole(const json& object, const char* name, std::int64_t low,
                                  std::int64_t high) {
  const auto it = object.find(name);
  if (it == object.end()) return std::nullopt;
  return whole(*it, low, high);
}

std::optional<IndexPath> indexPathField(const json& object, const char* name) {
  const auto it = object.find(name);
  if (it == object.end() || !it->is_array() || it->size() != 2) return std::nullopt;
  const auto section = whole((*it)[0], 0, EventDecoder::kMaxIndex);
  const auto row = whole((*it)[1], 0, EventDecoder::kMaxIndex);
  if (!section || !row) return std::nullopt;
  return IndexPath{static_cast<int>(*section), static_cast<int>(*row)};
}

Status bad(const std::string& what) { return Status::Corrupt(what); }

constexpr std::int64_t kMaxViewIdentifier = (std::int64_t{1} << 53);

// The fields every view-addressed event needs.
bool readView(const json& object, ShellEvent& event) {
  const auto view = whole(object, "view", 1, kMaxViewIdentifier);
  if (!view) return false;
  event.view = static_cast<std::uint64_t>(*view);
  return true;
}

bool readRow(const json& object, ShellEvent& event) {
  const auto section = whole(object, "section", 0, EventDecoder::kMaxIndex);
  const auto row = whole(object, "row", 0, EventDecoder::kMaxIndex);
  if (!readView(object, event) || !section || !row) return false;
  event.indexPath = {static_cast<int>(*section), static_cast<int>(*row)};
  return true;
}

bool readPoint(const json& object, ShellEvent& event) {
  const auto x = number(object, "x", EventDecoder::kMaxCoordinate);
  const auto y = number(object, "y", EventDecoder::kMaxCoordinate);
  if (!x || !y) return false;
  event.point = {*x, *y};
  return true;
}

bool readTap(const json& object, ShellEvent& event) {
  if (!readPoint(object, event)) return false;
  if (object.contains("view") && !readView(object, event)) return false;
  if (object.contains("taps")) {
    const auto taps = whole(object, "taps", 1, 3);
    if (!taps) return false;
    event.tapCount = static_cast<int>(*taps);
  }
  return true;
}

bool readScroll(const json& object, ShellEvent& event) {
  if (!readView(object, event) || !readPoint(object, event)) return false;
  const auto phase = object.find("phase");
  if (phase == object.end() || !phase->is_string()) return false;
  const std::string& name = phase->get_ref<const std::string&>();
  if (name == "dragging") {
    event.phase = ScrollPhase::kDragging;
  } else if (name == "decelerating") {
    event.phase = ScrollPhase::kDecelerating;
  } else if (name == "ended") {
    event.phase = ScrollPhase::kEnded;
  } else {
    return false;
  }
  return true;
}

bool readIndex(const json& object, const char* name, ShellEvent& event) {
  const auto index = whole(object, name, 0, EventDecoder::kMaxIndex);
  if (!readView(object, event) || !index) return false;
  event.index = static_cast<int>(*index);
  return true;
}

bool readText(const json& object, ShellEvent& event) {
  const auto text = object.find("text");
  if (text == object.end() || !text->is_string()) return false;
  const std::string& value = text->get_ref<const std::string&>();
  if (value.size() > EventDecoder::kMaxTextBytes) return false;
  event.text = value;
  return true;
}

bool readFields(const std::string& type, const json& object, ShellEvent& event) {
  using Kind = ShellEvent::Kind;
  if (type == "tap") {
    event.kind = Kind::kTap;
    return readTap(object, event);
  }
  if (type == "selectRow" || type == "tapAccessory" || type == "deleteRow") {
    event.kind = type == "selectRow"      ? Kind::kSelectRow
                 : type == "tapAccessory" ? Kind::kTapAccessory
                                          : Kind::kDeleteRow;
    return readRow(object, event);
  }
  if (type == "moveRow") {
    event.kind = Kind::kMoveRow;
    const auto from = indexPathField(object, "from");
    const auto to = indexPathField(object, "to");
    if (!readView(object, event) || !from || !to) return false;
    event.indexPath = *from;
    event.toIndexPath = *to;
    return true;
  }
  if (type == "sectionIndex") {
    event.kind = Kind::kChooseSectionIndex;
    return readIndex(object, "index", event);
  }
  if (type == "editText") {
    event.kind = Kind::kEditText;
    return readText(object, event);
  }
  if (type == "pressReturn") {
    event.kind = Kind::kPressReturn;
    return true;
  }
  if (type == "chooseSegment") {
    event.kind = Kind::kChooseSegment;
    return readIndex(object, "segment", event);
  }
  if (type == "scroll") {
    event.kind = Kind::kScroll;
    return readScroll(object, event);
  }
  if (type == "pickDate") {
    event.kind = Kind::kPickDate;
    const auto date = number(object, "date", 1e11);
    if (!readView(object, event) || !date) return false;
    event.date = *date;
    return true;
  }
  if (type == "cancelPicker") {
    event.kind = Kind::kCancelPicker;
    return readView(object, event);
  }
  if (type == "resize") {
    event.kind = Kind::kResize;
    const auto height = number(object, "height", EventDecoder::kMaxCoordinate);
    if (!height || *height <= 0) return false;
    event.height = *height;
    return true;
  }
  return false;
}

}  // namespace

std::int64_t EventDecoder::sequenceOf(std::string_view message) {
  const json object = json::parse(message, nullptr, /*allow_exceptions=*/false);
  if (object.is_discarded() || !object.is_object()) return -1;
  return whole(object, "seq", 0, kMaxViewIdentifier).value_or(-1);
}

Result<ShellEvent> EventDecoder::decode(std::string_view message) {
  const json object = json::parse(message, nullptr, /*allow_exceptions=*/false);
  if (object.is_discarded()) return bad("an event that is not JSON");
  if (!object.is_object()) return bad("an event that is not a JSON object");
  const auto type = object.find("type");
  if (type == object.end() || !type->is_string()) return bad("an event without a type");
  const std::string& name = type->get_ref<const std::string&>();
  ShellEvent event;
  if (object.contains("seq")) {
    const auto sequence = whole(object, "seq", 0, kMaxViewIdentifier);
    if (!sequence) return bad("an event with a bad sequence number");
    event.sequence = *sequence;
  }
  if (!readFields(name, object, event)) {
    // Only known names are echoed, so the log never carries what a stranger typed.
    static const char* const kKnown[] = {
        "tap",          "selectRow",    "tapAccessory", "deleteRow",     "moveRow",
        "sectionIndex", "editText",     "pressReturn",  "chooseSegment", "scroll",
        "pickDate",     "cancelPicker", "resize"};
    for (const char* known : kKnown) {
      if (name == known) return bad("a malformed " + name + " event");
    }
    return bad("an event of an unknown type");
  }
  return event;
}

}  // namespace kinetra
