#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/IndexPath.h"

namespace kinetra {

using ViewId = std::uint64_t;

// The transitions a view animation can run on a container view.
enum class AnimationTransition { kNone, kFlipFromLeft, kFlipFromRight, kCurlUp, kCurlDown };

// One animation the system asked for, kept for the screen to play. The toolkit changes every
// value at once; this says how the change should look.
struct AnimationRecord {
  enum class Kind {
    kTransition,     // `transition` on the container `view`
    kAlpha,          // fromAlpha → toAlpha
    kFrame,          // fromFrame → toFrame (position and size)
    kTransform,      // fromTransform → toTransform
    kPush,           // a navigation controller showed a new top screen
    kPop,            // ... went back
    kNavigationBar,  // the navigation bar was hidden or shown (`hidden`)
    kStatusBar,      // the status bar was hidden or shown (`hidden`)
    kDeleteRows,     // `rows` of the table `view` deleted with `rowAnimation`
    kContentOffset,  // a scroll view moved to its offset with animation
  };

  std::uint64_t sequence = 0;  // in the order the animations were committed
  std::string transactionId;   // the id given to beginAnimations, if any
  ViewId view = 0;             // 0 for the status bar
  Kind kind = Kind::kTransition;
  double duration = 0;  // seconds
  double delay = 0;     // seconds
  AnimationTransition transition = AnimationTransition::kNone;
  double fromAlpha = 1;
  double toAlpha = 1;
  Rect fromFrame;
  Rect toFrame;
  AffineTransform fromTransform;
  AffineTransform toTransform;
  bool hidden = false;
  std::string rowAnimation;
  std::vector<IndexPath> rows;
};

}  // namespace kinetra
