#include "ui/DocumentPickerController.h"

#include "ui/ScreenDescription.h"

namespace kinetra {

namespace {

// Describes the picker's offer: the kinds of file, the largest size and the prompt (as its
// text).
class DocumentLibraryView : public View {
 public:
  DocumentLibraryView(Rect frame, const DocumentPickerController& picker)
      : View(frame), picker_(picker) {
    setBackgroundColor(Color::whiteColor());
  }
  std::string kind() const override { return "documentPicker"; }

  void describe(ViewDescription& description) const override {
    View::describe(description);
    std::string accept;
    for (const std::string& type : picker_.allowedTypes()) {
      if (!accept.empty()) accept += ',';
      accept += type;
    }
    description.acceptedTypes = std::move(accept);
    description.maxBytes = picker_.maxBytes();
    if (!picker_.prompt().empty()) description.text = picker_.prompt();
  }

 private:
  const DocumentPickerController& picker_;
};

}  // namespace

DocumentPickerController::DocumentPickerController() { setTitle("Choose a File"); }

std::unique_ptr<View> DocumentPickerController::loadView() {
  return std::make_unique<DocumentLibraryView>(Rect{0, 0, kDefaultWidth, kDefaultHeight}, *this);
}

Status DocumentPickerController::pick(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() > maxBytes_) {
    return Status::TooLarge("the file is larger than " + std::to_string(maxBytes_) + " bytes");
  }
  if (DocumentPickerControllerDelegate* d = delegate()) d->didPickDocument(*this, bytes);
  return Status::Ok();
}

void DocumentPickerController::cancel() {
  if (DocumentPickerControllerDelegate* d = delegate()) d->documentPickerWasCancelled(*this);
}

}  // namespace kinetra
