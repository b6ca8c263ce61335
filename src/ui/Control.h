#pragma once

#include <functional>
#include <vector>

#include "ui/View.h"

namespace kinetra {

enum class ControlEvent { kTouchUpInside, kValueChanged, kEditingChanged };
enum class ControlState { kNormal, kHighlighted, kSelected, kDisabled };

// A view that turns touches into actions (addTarget:action:forControlEvents:). Actions run in
// the order they were added; an action may destroy the control, after which no further action
// of that event runs. A disabled control takes touches and does nothing with them.
class Control : public View {
 public:
  using Action = std::function<void(Control& sender)>;
  using ActionWithEvent = std::function<void(Control& sender, const Event& event)>;

  Control() = default;
  explicit Control(Rect frame) : View(frame) {}

  void addTarget(Action action, ControlEvent event);
  void addTarget(ActionWithEvent action, ControlEvent event);
  void removeAllTargets() { targets_.clear(); }

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool isSelected() const { return selected_; }
  void setSelected(bool selected) { selected_ = selected; }
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
  ControlState state() const;

  // Control touches stop here instead of passing to the next responder.
  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;
  void touchesEnded(const std::vector<Touch>& touches, const Event& event) override;

  void describe(ViewDescription& description) const override;

 protected:
  // A finger lifted inside the enabled control. The default sends touch-up-inside.
  virtual void tapped(const Touch& touch, const Event& event);
  void sendActionsForControlEvents(ControlEvent controlEvent, const Event& event);

 private:
  struct Target {
    ActionWithEvent action;
    ControlEvent event;
  };

  std::vector<Target> targets_;
  bool enabled_ = true;
  bool selected_ = false;
  bool highlighted_ = false;
};

}  // namespace kinetra
