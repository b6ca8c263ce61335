// Fuzz target for the shell's event decoder: any bytes give an event or a Corrupt refusal. An
// event holds only what the decoder promises (finite coordinates within bounds, indices and taps
// in range, text within its limit), and written back as the client would write it, it decodes
// to the same event.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "shell/EventDecoder.h"

namespace {

using kinetra::EventDecoder;
using kinetra::ShellEvent;
using nlohmann::json;
using Kind = ShellEvent::Kind;

bool within(double value, double limit) {
  return std::isfinite(value) && std::fabs(value) <= limit;
}

bool indexInRange(int index) { return index >= 0 && index <= EventDecoder::kMaxIndex; }

void checkBounds(const ShellEvent& event) {
  FUZZ_CHECK(within(event.point.x, EventDecoder::kMaxCoordinate));
  FUZZ_CHECK(within(event.point.y, EventDecoder::kMaxCoordinate));
  FUZZ_CHECK(event.tapCount >= 1 && event.tapCount <= 3);
  FUZZ_CHECK(indexInRange(event.indexPath.section) && indexInRange(event.indexPath.row));
  FUZZ_CHECK(indexInRange(event.toIndexPath.section) && indexInRange(event.toIndexPath.row));
  FUZZ_CHECK(indexInRange(event.index));
  FUZZ_CHECK(event.text.size() <= EventDecoder::kMaxTextBytes);
  FUZZ_CHECK(event.sequence >= -1);
  FUZZ_CHECK(within(event.date, 1e11));
  FUZZ_CHECK(within(event.height, EventDecoder::kMaxCoordinate) && event.height >= 0);
  if (event.kind == Kind::kResize) FUZZ_CHECK(event.height > 0);
  const bool addressed = event.kind != Kind::kTap && event.kind != Kind::kEditText &&
                         event.kind != Kind::kPressReturn && event.kind != Kind::kResize;
  if (addressed) FUZZ_CHECK(event.view >= 1);
}

const char* typeName(Kind kind) {
  switch (kind) {
    case Kind::kTap:
      return "tap";
    case Kind::kSelectRow:
      return "selectRow";
    case Kind::kTapAccessory:
      return "tapAccessory";
    case Kind::kDeleteRow:
      return "deleteRow";
    case Kind::kMoveRow:
      return "moveRow";
    case Kind::kChooseSectionIndex:
      return "sectionIndex";
    case Kind::kEditText:
      return "editText";
    case Kind::kPressReturn:
      return "pressReturn";
    case Kind::kChooseSegment:
      return "chooseSegment";
    case Kind::kScroll:
      return "scroll";
    case Kind::kPickDate:
      return "pickDate";
    case Kind::kCancelPicker:
      return "cancelPicker";
    case Kind::kResize:
      return "resize";
  }
  return "";
}

const char* phaseName(kinetra::ScrollPhase phase) {
  switch (phase) {
    case kinetra::ScrollPhase::kDragging:
      return "dragging";
    case kinetra::ScrollPhase::kDecelerating:
      return "decelerating";
    case kinetra::ScrollPhase::kEnded:
      return "ended";
  }
  return "";
}

// The message the browser client would send for `event`.
json messageFor(const ShellEvent& event) {
  json message = {{"type", typeName(event.kind)}};
  if (event.sequence >= 0) message["seq"] = event.sequence;
  switch (event.kind) {
    case Kind::kTap:
      message.update({{"x", event.point.x}, {"y", event.point.y}, {"taps", event.tapCount}});
      if (event.view != 0) message["view"] = event.view;
      break;
    case Kind::kSelectRow:
    case Kind::kTapAccessory:
    case Kind::kDeleteRow:
      message.update({{"view", event.view},
                      {"section", event.indexPath.section},
                      {"row", event.indexPath.row}});
      break;
    case Kind::kMoveRow:
      message.update({{"view", event.view},
                      {"from", {event.indexPath.section, event.indexPath.row}},
                      {"to", {event.toIndexPath.section, event.toIndexPath.row}}});
      break;
    case Kind::kChooseSectionIndex:
      message.update({{"view", event.view}, {"index", event.index}});
      break;
    case Kind::kEditText:
      message["text"] = event.text;
      break;
    case Kind::kPressReturn:
      break;
    case Kind::kChooseSegment:
      message.update({{"view", event.view}, {"segment", event.index}});
      break;
    case Kind::kScroll:
      message.update({{"view", event.view},
                      {"x", event.point.x},
                      {"y", event.point.y},
                      {"phase", phaseName(event.phase)}});
      break;
    case Kind::kPickDate:
      message.update({{"view", event.view}, {"date", event.date}});
      break;
    case Kind::kCancelPicker:
      message["view"] = event.view;
      break;
    case Kind::kResize:
      message["height"] = event.height;
      break;
  }
  return message;
}

bool sameEvent(const ShellEvent& a, const ShellEvent& b) {
  return a.kind == b.kind && a.sequence == b.sequence && a.view == b.view &&
         a.point.x == b.point.x && a.point.y == b.point.y && a.tapCount == b.tapCount &&
         a.indexPath == b.indexPath && a.toIndexPath == b.toIndexPath && a.index == b.index &&
         a.text == b.text && a.phase == b.phase && a.date == b.date && a.height == b.height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view message(reinterpret_cast<const char*>(data), size);
  auto event = EventDecoder::decode(message);
  if (!event.ok()) {
    FUZZ_CHECK(event.status().code() == kinetra::Status::Code::kCorrupt);
    // The reason goes to the diagnostic log: it never carries what the stranger sent.
    FUZZ_CHECK(event.status().message().size() < 64);
    return 0;
  }
  checkBounds(*event);
  const std::string again = messageFor(*event).dump();
  auto decoded = EventDecoder::decode(again);
  FUZZ_CHECK(decoded.ok() && sameEvent(*event, *decoded));
  return 0;
}
