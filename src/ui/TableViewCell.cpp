#include "ui/TableViewCell.h"

#include <algorithm>

#include "ui/ScreenDescription.h"
#include "ui/TableView.h"

namespace kinetra {

namespace {

std::string accessoryName(TableViewCellAccessoryType type) {
  switch (type) {
    case TableViewCellAccessoryType::kDisclosureIndicator:
      return "disclosureIndicator";
    case TableViewCellAccessoryType::kDetailDisclosureButton:
      return "detailDisclosureButton";
    case TableViewCellAccessoryType::kCheckmark:
      return "checkmark";
    case TableViewCellAccessoryType::kNone:
      break;
  }
  return "none";
}

std::string selectionStyleName(TableViewCellSelectionStyle style) {
  switch (style) {
    case TableViewCellSelectionStyle::kNone:
      return "none";
    case TableViewCellSelectionStyle::kGray:
      return "gray";
    case TableViewCellSelectionStyle::kBlue:
      break;
  }
  return "blue";
}

}  // namespace

TableViewCell::TableViewCell(Rect frame, std::string reuseIdentifier)
    : View(frame),
      reuseIdentifier_(std::move(reuseIdentifier)),
      contentView_(&addSubview(std::make_unique<View>(Rect{0, 0, frame.width, frame.height}))) {
  setBackgroundColor(Color::whiteColor());
}

Label& TableViewCell::textLabel() {
  if (textLabel_ == nullptr) {
    textLabel_ = &contentView_->insertSubview(std::make_unique<Label>(), imageView_ ? 1 : 0);
    textLabel_->setFont(Font::boldSystemFontOfSize(20));
    textLabel_->setBackgroundColor(Color::clearColor());
    layoutIfNeeded();
  }
  return *textLabel_;
}

ImageView& TableViewCell::imageView() {
  if (imageView_ == nullptr) {
    imageView_ = &contentView_->insertSubview(std::make_unique<ImageView>(), 0);
    layoutIfNeeded();
  }
  return *imageView_;
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type) {
  accessoryType_ = type;
  updateDisclosureButton();
  layoutIfNeeded();
}

void TableViewCell::removeAccessoryView() {
  View* old = accessoryView_.get();
  accessoryView_.reset();
  if (old != nullptr && old->superview() == this) old->removeFromSuperview();
}

void TableViewCell::setAccessoryView(View* view) {
  if (view == accessoryView_.get()) return;
  removeAccessoryView();
  if (view == nullptr || view == this || isDescendantOfView(*view)) return;
  addSubview(*view);
  accessoryView_ = view;
  updateDisclosureButton();
  layoutIfNeeded();
}

void TableViewCell::setAccessoryView(std::unique_ptr<View> view) {
  removeAccessoryView();
  if (!view) {
    updateDisclosureButton();
    return;
  }
  accessoryView_ = &addSubview(std::move(view));
  updateDisclosureButton();
  layoutIfNeeded();
}

void TableViewCell::updateDisclosureButton() {
  const bool wanted = accessoryView_.get() == nullptr &&
                      accessoryType_ == TableViewCellAccessoryType::kDetailDisclosureButton;
  if (wanted && disclosureButton_ == nullptr) {
    auto button = Button::buttonWithType(ButtonType::kDetailDisclosure);
    WeakRef<TableViewCell> cell(this);
    button->addTarget(
        [cell](Control&) {
          TableViewCell* self = cell.get();
          if (self == nullptr) return;
          if (auto* table = dynamic_cast<TableView*>(self->superview())) {
            table->accessoryButtonTapped(*self);
          }
        },
        ControlEvent::kTouchUpInside);
    disclosureButton_ = &addSubview(std::move(button));
  } else if (!wanted && disclosureButton_ != nullptr) {
    Button* button = disclosureButton_;
    disclosureButton_ = nullptr;
    button->removeFromSuperview();  // owned: destroyed here
  }
}

double TableViewCell::accessoryWidth() const {
  if (View* view = accessoryView_.get()) return view->bounds().width;
  if (disclosureButton_ != nullptr) return disclosureButton_->bounds().width;
  return accessoryType_ == TableViewCellAccessoryType::kNone ? 0 : kAccessoryWidth;
}

Rect TableViewCell::accessoryRect() const {
  if (editing_) return {};
  const double width = accessoryWidth();
  if (width <= 0) return {};
  const Rect b = bounds();
  double height = b.height;
  if (View* view = accessoryView_.get()) height = view->bounds().height;
  if (disclosureButton_ != nullptr) height = disclosureButton_->bounds().height;
  return {b.width - 10 - width, (b.height - height) / 2, width, height};
}

void TableViewCell::setSelected(bool selected, Animated) { selected_ = selected; }

void TableViewCell::setRow(std::optional<IndexPath> indexPath, bool editing, bool deletable,
                           bool movable) {
  indexPath_ = indexPath;
  editing_ = editing;
  deletable_ = deletable;
  movable_ = movable;
  layoutIfNeeded();
}

void TableViewCell::layoutIfNeeded() {
  const Rect b = bounds();
  const Rect accessory = accessoryRect();
  const double left = editing_ ? kEditingControlWidth : 0;
  const double right = accessory.width > 0 ? b.width - accessory.x : 0;
  const double contentWidth = std::max(0.0, b.width - left - right);
  contentView_->setFrame({left, 0, contentWidth, b.height});
  if (View* view = accessoryView_.get()) {
    view->setHidden(editing_);
    view->setFrame(accessory.width > 0
                       ? accessory
                       : Rect{b.width, 0, view->bounds().width, view->bounds().height});
  }
  if (disclosureButton_ != nullptr) {
    disclosureButton_->setHidden(editing_);
    if (accessory.width > 0) disclosureButton_->setFrame(accessory);
  }
  double textLeft = 10;
  if (imageView_ != nullptr) {
    const Size size = imageView_->image().size();
    imageView_->setFrame({0, (b.height - size.height) / 2, size.width, size.height});
    if (!imageView_->image().empty()) textLeft = size.width + 10;
  }
  if (textLabel_ != nullptr) {
    textLabel_->setFrame({textLeft, 0, std::max(0.0, contentWidth - textLeft - 10), b.height});
  }
  View::layoutIfNeeded();
}

void TableViewCell::describe(ViewDescription& description) const {
  View::describe(description);
  description.indexPath = indexPath_;
  description.accessoryType = accessoryName(accessoryType_);
  description.selectionStyle = selectionStyleName(selectionStyle_);
  description.selected = selected_;
  description.editing = editing_;
  description.deletable = deletable_;
  description.movable = movable_;
}

}  // namespace kinetra
