#pragma once

#include <cstdint>
#include <vector>

#include "foundation/Status.h"
#include "ui/ImagePickerControllerDelegate.h"
#include "ui/ViewController.h"

namespace kinetra {

enum class ImagePickerControllerSourceType { kPhotoLibrary, kCamera, kSavedPhotosAlbum };

// The photo picker, a screen pushed like any other. Its view stands for the device's photo
// library; the picture itself comes from outside (the screen's upload, or a test) through
// Finger::pickPhoto.
class ImagePickerController : public ViewController {
 public:
  ImagePickerController();

  // The photo library and saved photos are available; there is no camera.
  static bool isSourceTypeAvailable(ImagePickerControllerSourceType type);

  ImagePickerControllerSourceType sourceType() const { return sourceType_; }
  void setSourceType(ImagePickerControllerSourceType type) { sourceType_ = type; }

  ImagePickerControllerDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(ImagePickerControllerDelegate* delegate) { delegate_ = delegate; }

 protected:
  std::unique_ptr<View> loadView() override;

 private:
  friend class Finger;
  // Hands the picture to the delegate once it has decoded whole (at the smallest scale, so a
  // phone's 12-megapixel photo costs little). Corrupt for anything that does not: empty, not a
  // PNG or JPEG (a GIF included), truncated or damaged; TooLarge over the picture limits
  // (PictureHeader.h). The delegate hears nothing then.
  Status pick(std::vector<std::uint8_t> bytes);
  void cancel();

  ImagePickerControllerSourceType sourceType_ = ImagePickerControllerSourceType::kPhotoLibrary;
  WeakRef<ImagePickerControllerDelegate> delegate_;
};

}  // namespace kinetra
