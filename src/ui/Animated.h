#pragma once

namespace kinetra {

// Whether a change is shown with the device's animation. The model value changes at once
// either way; the toolkit only records the animation for the screen to play.
enum class Animated { No, Yes };

}  // namespace kinetra
