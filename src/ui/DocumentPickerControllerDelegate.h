#pragma once

#include <cstdint>
#include <vector>

#include "ui/Trackable.h"

namespace kinetra {

class DocumentPickerController;

// What the document picker tells its delegate. Both default to nothing; the delegate closes the
// picker itself.
class DocumentPickerControllerDelegate : public virtual Trackable {
 public:
  virtual ~DocumentPickerControllerDelegate() = default;

  // The bytes of the file the user chose, whole (at most the picker's maxBytes).
  virtual void didPickDocument(DocumentPickerController&, const std::vector<std::uint8_t>&) {}
  virtual void documentPickerWasCancelled(DocumentPickerController&) {}
};

}  // namespace kinetra
