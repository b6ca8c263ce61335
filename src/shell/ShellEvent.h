#pragma once

#include <cstdint>
#include <string>

#include "ui/Geometry.h"
#include "ui/IndexPath.h"
#include "ui/ScrollView.h"

namespace kinetra {

// One thing the browser's finger or keyboard did, as the client reports it. Which fields are
// meaningful depends on the kind (see EventDecoder for the message of each).
struct ShellEvent {
  enum class Kind {
    kTap,                 // point (in the window, or in `view` when given), tapCount
    kSelectRow,           // view (a table), indexPath
    kTapAccessory,        // view, indexPath
    kDeleteRow,           // view, indexPath
    kMoveRow,             // view, indexPath → toIndexPath
    kChooseSectionIndex,  // view, index
    kEditText,            // text: the whole new text of the focused field
    kPressReturn,
    kChooseSegment,  // view, index
    kScroll,         // view, point (the offset), phase
    kPickDate,       // view, date (seconds since 1970)
    kCancelPicker,   // view (the picker's view)
    kResize,         // height: the screen's height in points
  };

  Kind kind = Kind::kTap;
  std::int64_t sequence = -1;  // the client's number for the event; -1 when it gave none
  std::uint64_t view = 0;
  Point point;
  int tapCount = 1;
  IndexPath indexPath;
  IndexPath toIndexPath;
  int index = 0;
  std::string text;
  ScrollPhase phase = ScrollPhase::kDragging;
  double date = 0;
  double height = 0;
};

}  // namespace kinetra
