#include "shell/EventPerformer.h"

#include "ui/DatePicker.h"
#include "ui/DocumentPickerController.h"
#include "ui/ImagePickerController.h"
#include "ui/SegmentedControl.h"
#include "ui/TableView.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace kinetra {

namespace {

Result<ImagePickerController*> pickerOf(View* view) {
  if (view == nullptr) return Status::NotFound("no such view");
  auto* picker = dynamic_cast<ImagePickerController*>(view->viewController());
  if (picker == nullptr) return Status::InvalidArgument("the view is not a photo picker's");
  return picker;
}

Result<DocumentPickerController*> documentPickerOf(View* view) {
  if (view == nullptr) return Status::NotFound("no such view");
  auto* picker = dynamic_cast<DocumentPickerController*>(view->viewController());
  if (picker == nullptr) return Status::InvalidArgument("the view is not a document picker's");
  return picker;
}

bool onScreen(ViewController& controller) {
  return controller.isViewLoaded() && controller.view().isVisibleInWindow();
}

}  // namespace

template <typename T>
Result<T*> EventPerformer::viewOfKind(std::uint64_t identifier) {
  View* view = application_.viewWithIdentifier(identifier);
  if (view == nullptr) return Status::NotFound("no such view");
  T* typed = dynamic_cast<T*>(view);
  if (typed == nullptr) return Status::InvalidArgument("the view is of another kind");
  return typed;
}

Status EventPerformer::tap(const ShellEvent& event) {
  if (event.view == 0) return finger_.tap(event.point, event.tapCount);
  auto view = viewOfKind<View>(event.view);
  if (!view.ok()) return view.status();
  return finger_.tap(**view, event.point, event.tapCount);
}

Status EventPerformer::perform(const ShellEvent& event) {
  using Kind = ShellEvent::Kind;
  switch (event.kind) {
    case Kind::kTap:
      return tap(event);
    case Kind::kEditText:
      return finger_.editText(event.text);
    case Kind::kPressReturn:
      return finger_.pressReturn();
    case Kind::kSelectRow:
    case Kind::kTapAccessory:
    case Kind::kDeleteRow:
    case Kind::kMoveRow:
    case Kind::kChooseSectionIndex: {
      auto table = viewOfKind<TableView>(event.view);
      if (!table.ok()) return table.status();
      TableView& t = **table;
      if (event.kind == Kind::kSelectRow) return finger_.selectRow(t, event.indexPath);
      if (event.kind == Kind::kTapAccessory) return finger_.tapAccessory(t, event.indexPath);
      if (event.kind == Kind::kDeleteRow) return finger_.deleteRow(t, event.indexPath);
      if (event.kind == Kind::kMoveRow) {
        return finger_.moveRow(t, event.indexPath, event.toIndexPath);
      }
      return finger_.chooseSectionIndexTitle(t, event.index);
    }
    case Kind::kChooseSegment: {
      auto control = viewOfKind<SegmentedControl>(event.view);
      if (!control.ok()) return control.status();
      return finger_.chooseSegment(**control, event.index);
    }
    case Kind::kScroll: {
      auto scrollView = viewOfKind<ScrollView>(event.view);
      if (!scrollView.ok()) return scrollView.status();
      return finger_.scroll(**scrollView, event.point, event.phase);
    }
    case Kind::kPickDate: {
      auto picker = viewOfKind<DatePicker>(event.view);
      if (!picker.ok()) return picker.status();
      return finger_.pickDate(**picker, Date(event.date));
    }
    case Kind::kResize:
      application_.window().setHeight(event.height);
      return Status::Ok();
    case Kind::kCancelPicker: {
      View* view = application_.viewWithIdentifier(event.view);
      if (auto document = documentPickerOf(view); document.ok()) {
        return finger_.cancelPicker(**document);
      }
      auto picker = pickerOf(view);
      if (!picker.ok()) return picker.status();
      return finger_.cancelPicker(**picker);
    }
  }
  return Status::InvalidArgument("unknown event");
}

Status EventPerformer::pickPhoto(std::uint64_t pickerView, std::vector<std::uint8_t> bytes) {
  auto picker = pickerOf(application_.viewWithIdentifier(pickerView));
  if (!picker.ok()) return picker.status();
  return finger_.pickPhoto(**picker, std::move(bytes));
}

Status EventPerformer::photoPickerShown(std::uint64_t pickerView) {
  // As the finger would find it: after the pending layout.
  application_.layoutIfNeeded();
  auto picker = pickerOf(application_.viewWithIdentifier(pickerView));
  if (!picker.ok()) return picker.status();
  if (!onScreen(**picker)) return Status::NotFound("the photo picker is not on the screen");
  return Status::Ok();
}

Status EventPerformer::pickDocument(std::uint64_t pickerView,
                                    const std::vector<std::uint8_t>& bytes) {
  auto picker = documentPickerOf(application_.viewWithIdentifier(pickerView));
  if (!picker.ok()) return picker.status();
  return finger_.pickDocument(**picker, bytes);
}

Status EventPerformer::documentPickerShown(std::uint64_t pickerView) {
  application_.layoutIfNeeded();
  auto picker = documentPickerOf(application_.viewWithIdentifier(pickerView));
  if (!picker.ok()) return picker.status();
  if (!onScreen(**picker)) return Status::NotFound("the document picker is not on the screen");
  return Status::Ok();
}

}  // namespace kinetra
