#include "model/AerobicKind.h"

#include <algorithm>

namespace kinetra {

namespace {

constexpr std::array<AerobicKind, 9> kKinds{{
    {" treadmill", {"(Duration)", "(Speed)", "(Elevation)", "(Calories)"}, "treadmill_log"},
    {" cycling", {"(Duration)", "(Speed)", "(Avg HR)", "(Calories)"}, "cycling_log"},
    {" elliptical", {"(Duration)", "(Resistance)", "(Incline)", "(Calories)"}, "elliptical_log"},
    {" jump rope", {"(Duration)", "(Jumps)", "(Avg HR)", "(Calories)"}, "jump_rope_log"},
    {" jogging", {"(Duration)", "(Distance)", "(Avg HR)", "(Calories)"}, "jogging_log"},
    {" rowing", {"(Duration)", "(Distance)", "(Avg HR)", "(Calories)"}, "rowing_log"},
    {" step machine", {"(Duration)", "(Resistance)", "(Steps)", "(Calories)"}, "step_machine_log"},
    {" swimming", {"(Duration)", "(Distance)", "(Avg HR)", "(Laps)"}, "swimming_log"},
    {" tennis", {"(Duration)", "(Sets)", "(Avg HR)", "(Matches)"}, "tennis_log"},
}};

}  // namespace

const AerobicKind* AerobicKind::named(std::string_view exercise) {
  const auto found = std::find_if(kKinds.begin(), kKinds.end(),
                                  [&](const AerobicKind& kind) { return kind.name == exercise; });
  return found == kKinds.end() ? nullptr : &*found;
}

std::span<const AerobicKind> AerobicKind::all() { return kKinds; }

}  // namespace kinetra
