#include "ui/ImagePickerController.h"

#include <span>

#include "graphics/PictureDecoder.h"
#include "ui/ScreenDescription.h"

namespace kinetra {

namespace {

class PhotoLibraryView : public View {
 public:
  explicit PhotoLibraryView(Rect frame) : View(frame) { setBackgroundColor(Color::whiteColor()); }
  std::string kind() const override { return "imagePicker"; }
};

}  // namespace

ImagePickerController::ImagePickerController() { setTitle("Photo Albums"); }

bool ImagePickerController::isSourceTypeAvailable(ImagePickerControllerSourceType type) {
  return type != ImagePickerControllerSourceType::kCamera;
}

std::unique_ptr<View> ImagePickerController::loadView() {
  return std::make_unique<PhotoLibraryView>(Rect{0, 0, kDefaultWidth, kDefaultHeight});
}

Status ImagePickerController::pick(std::vector<std::uint8_t> bytes) {
  // The smallest decode still reads every byte: a photo cut short by its upload, damaged, or
  // in a form nothing here decodes is refused now rather than when a screen first draws it.
  const Result<Picture> whole =
      decodePictureUpright(std::span<const std::uint8_t>(bytes), PictureSize{1, 1});
  if (whole.status().code() == Status::Code::kTooLarge) return whole.status();
  if (!whole.ok()) return Status::Corrupt("the picked file is not a whole PNG or JPEG picture");
  const Image image = Image::fromBytes(std::move(bytes));
  if (image.empty()) return Status::Corrupt("the picked file is not a picture");
  if (ImagePickerControllerDelegate* d = delegate()) d->didFinishPickingImage(*this, image);
  return Status::Ok();
}

void ImagePickerController::cancel() {
  if (ImagePickerControllerDelegate* d = delegate()) d->imagePickerControllerDidCancel(*this);
}

}  // namespace kinetra
