#pragma once

#include "ui/Image.h"
#include "ui/Trackable.h"

namespace kinetra {

class ImagePickerController;

// What the photo picker tells its delegate. Both default to nothing; the delegate closes the
// picker itself.
class ImagePickerControllerDelegate : public virtual Trackable {
 public:
  virtual ~ImagePickerControllerDelegate() = default;

  // imagePickerController:didFinishPickingImage:editingInfo: (editing is never offered, so
  // there is no editing information).
  virtual void didFinishPickingImage(ImagePickerController&, const Image&) {}
  virtual void imagePickerControllerDidCancel(ImagePickerController&) {}
};

}  // namespace kinetra
