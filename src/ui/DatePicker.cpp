#include "ui/DatePicker.h"

#include <cmath>

#include "ui/ScreenDescription.h"

namespace kinetra {

DatePicker::DatePicker() : DatePicker(Rect{0, 0, 320, 216}) {}

DatePicker::DatePicker(Rect frame) : Control(frame) {}

void DatePicker::setDate(Date date, Animated) {
  if (std::isfinite(date.timeIntervalSince1970())) date_ = date;
}

void DatePicker::pick(Date date, const Event& event) {
  if (!std::isfinite(date.timeIntervalSince1970())) return;
  date_ = date;
  sendActionsForControlEvents(ControlEvent::kValueChanged, event);
}

void DatePicker::describe(ViewDescription& description) const {
  Control::describe(description);
  description.date = date_.timeIntervalSince1970();
  switch (mode_) {
    case DatePickerMode::kTime:
      description.controlStyle = "time";
      break;
    case DatePickerMode::kDate:
      description.controlStyle = "date";
      break;
    case DatePickerMode::kDateAndTime:
      description.controlStyle = "dateAndTime";
      break;
  }
}

}  // namespace kinetra
