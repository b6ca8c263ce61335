#pragma once

#include "foundation/Date.h"
#include "ui/Animated.h"
#include "ui/Control.h"

namespace kinetra {

enum class DatePickerMode { kTime, kDate, kDateAndTime };

// The wheels for choosing a moment. A date picked by the finger sends value-changed; setDate
// sends nothing.
class DatePicker : public Control {
 public:
  DatePicker();
  explicit DatePicker(Rect frame);

  std::string kind() const override { return "datePicker"; }

  Date date() const { return date_; }
  void setDate(Date date, Animated animated = Animated::No);
  DatePickerMode datePickerMode() const { return mode_; }
  void setDatePickerMode(DatePickerMode mode) { mode_ = mode; }

  void describe(ViewDescription& description) const override;

 protected:
  // A tap on the wheels changes nothing by itself; picking goes through Finger::pickDate.
  void tapped(const Touch&, const Event&) override {}

 private:
  friend class Finger;
  void pick(Date date, const Event& event);

  Date date_;
  DatePickerMode mode_ = DatePickerMode::kDate;
};

}  // namespace kinetra
