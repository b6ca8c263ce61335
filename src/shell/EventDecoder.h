#pragma once

#include <cstdint>
#include <string_view>

#include "foundation/Status.h"
#include "shell/ShellEvent.h"

namespace kinetra {

// Reads one message of the client: a JSON object with a "type" and the fields of that type,
// and optionally "seq" (a whole number ≥ 0 the client counts its events with).
//   {"type":"tap","x":..,"y":..,"taps":1..3[,"view":id]}
//   {"type":"selectRow"|"tapAccessory"|"deleteRow","view":id,"section":s,"row":r}
//   {"type":"moveRow","view":id,"from":[s,r],"to":[s,r]}
//   {"type":"sectionIndex","view":id,"index":i}
//   {"type":"editText","text":"..."}          (at most kMaxTextBytes)
//   {"type":"pressReturn"}
//   {"type":"chooseSegment","view":id,"segment":i}
//   {"type":"scroll","view":id,"x":..,"y":..,"phase":"dragging"|"decelerating"|"ended"}
//   {"type":"pickDate","view":id,"date":seconds}
//   {"type":"cancelPicker","view":id}
//   {"type":"resize","height":points}   (the screen's height at 320 points wide)
// Coordinates must be finite and within ±kMaxCoordinate; indices within 0..kMaxIndex.
// Corrupt for anything else, with a message fit for one diagnostic line (never the message
// text itself).
class EventDecoder {
 public:
  static constexpr std::size_t kMaxTextBytes = 64 * 1024;
  static constexpr double kMaxCoordinate = 1e7;
  static constexpr int kMaxIndex = 1 << 24;

  static Result<ShellEvent> decode(std::string_view message);
  // The client's number of a message that decode() refuses, when it is a JSON object with a
  // valid "seq" (an event of a kind this server does not know, say); -1 otherwise. The client
  // waits for the frame that answers each event it numbered, refused or not.
  static std::int64_t sequenceOf(std::string_view message);
};

}  // namespace kinetra
