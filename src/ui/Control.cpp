#include "ui/Control.h"

#include "ui/ScreenDescription.h"

namespace kinetra {

void Control::addTarget(Action action, ControlEvent event) {
  if (!action) return;
  targets_.push_back(
      {[action = std::move(action)](Control& sender, const Event&) { action(sender); }, event});
}

void Control::addTarget(ActionWithEvent action, ControlEvent event) {
  if (!action) return;
  targets_.push_back({std::move(action), event});
}

ControlState Control::state() const {
  if (!enabled_) return ControlState::kDisabled;
  if (highlighted_) return ControlState::kHighlighted;
  if (selected_) return ControlState::kSelected;
  return ControlState::kNormal;
}

void Control::touchesBegan(const std::vector<Touch>&, const Event&) {}

void Control::touchesEnded(const std::vector<Touch>& touches, const Event& event) {
  if (!enabled_ || touches.empty()) return;
  const Touch& touch = touches.front();
  if (!pointInside(touch.locationInView(*this))) return;
  tapped(touch, event);
}

void Control::tapped(const Touch&, const Event& event) {
  sendActionsForControlEvents(ControlEvent::kTouchUpInside, event);
}

void Control::sendActionsForControlEvents(ControlEvent controlEvent, const Event& event) {
  std::vector<ActionWithEvent> actions;
  for (const Target& target : targets_) {
    if (target.event == controlEvent) actions.push_back(target.action);
  }
  WeakRef<Control> self(this);
  for (const ActionWithEvent& action : actions) {
    Control* control = self.get();
    if (control == nullptr) return;
    action(*control, event);
  }
}

void Control::describe(ViewDescription& description) const {
  View::describe(description);
  description.enabled = enabled_;
  description.selected = selected_;
  description.highlighted = highlighted_;
}

}  // namespace kinetra
