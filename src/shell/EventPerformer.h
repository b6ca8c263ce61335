#pragma once

#include <cstdint>
#include <vector>

#include "foundation/Status.h"
#include "shell/ShellEvent.h"
#include "ui/Application.h"
#include "ui/Finger.h"

namespace kinetra {

// Carries the browser's events out on the toolkit through the Finger, finding views by
// identifier in the application's window. Whatever the event names must still be there and be
// of the right kind: NotFound for a view that is gone, InvalidArgument for a view of another
// kind; otherwise the Finger's own outcome.
class EventPerformer {
 public:
  explicit EventPerformer(Application& application)
      : application_(application), finger_(application) {}

  Status perform(const ShellEvent& event);
  // The photo chosen in the picker whose view is `pickerView`.
  Status pickPhoto(std::uint64_t pickerView, std::vector<std::uint8_t> bytes);
  // Ok when the picker whose view is `pickerView` is on the screen, so that pickPhoto would
  // hand it the photo; NotFound when it is not, InvalidArgument for a view of another kind.
  Status photoPickerShown(std::uint64_t pickerView);
  // The file chosen in the document picker whose view is `pickerView`, and whether that picker
  // is on the screen, alike.
  Status pickDocument(std::uint64_t pickerView, const std::vector<std::uint8_t>& bytes);
  Status documentPickerShown(std::uint64_t pickerView);

 private:
  template <typename T>
  Result<T*> viewOfKind(std::uint64_t identifier);

  Status tap(const ShellEvent& event);

  Application& application_;
  Finger finger_;
};

}  // namespace kinetra
