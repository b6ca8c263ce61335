#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ui/Animated.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/IndexPath.h"
#include "ui/Label.h"
#include "ui/View.h"

namespace kinetra {

enum class TableViewCellAccessoryType {
  kNone,
  kDisclosureIndicator,
  kDetailDisclosureButton,
  kCheckmark,
};
enum class TableViewCellSelectionStyle { kNone, kBlue, kGray };

// One row of a table: a content view holding the text label and the image view (both made on
// first use, at the back of the content view) and whatever the data source adds, and an
// accessory on the right: a standard one by type, or a view of the data source's own (which
// takes precedence). Cells live in their table: on screen as its subviews, off screen in its
// reuse queue, so a reused cell keeps the subviews added to it.
class TableViewCell : public View {
 public:
  static constexpr double kEditingControlWidth = 32;  // the delete control on the left
  static constexpr double kAccessoryWidth = 20;       // a standard accessory's width

  explicit TableViewCell(Rect frame = {}, std::string reuseIdentifier = {});

  std::string kind() const override { return "tableViewCell"; }

  const std::string& reuseIdentifier() const { return reuseIdentifier_; }
  View& contentView() { return *contentView_; }
  Label& textLabel();
  ImageView& imageView();
  // The older shorthands of the cell's main text and picture.
  void setText(std::string text) { textLabel().setText(std::move(text)); }
  std::string text() const { return textLabel_ != nullptr ? textLabel_->text() : std::string(); }
  void setFont(const Font& font) { textLabel().setFont(font); }
  void setImage(Image image) { imageView().setImage(std::move(image)); }

  TableViewCellAccessoryType accessoryType() const { return accessoryType_; }
  void setAccessoryType(TableViewCellAccessoryType type);
  View* accessoryView() const { return accessoryView_.get(); }
  // A view of the caller's, kept by reference; null removes the accessory view.
  void setAccessoryView(View* view);
  // A view the cell owns from now on.
  void setAccessoryView(std::unique_ptr<View> view);
  // The accessory's rectangle in the cell's bounds; empty when there is none.
  Rect accessoryRect() const;

  TableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
  void setSelectionStyle(TableViewCellSelectionStyle style) { selectionStyle_ = style; }
  bool isSelected() const { return selected_; }
  void setSelected(bool selected, Animated animated = Animated::No);
  bool isEditing() const { return editing_; }

  // Called when the cell is taken from the reuse queue.
  virtual void prepareForReuse() {}

  void layoutIfNeeded() override;
  void describe(ViewDescription& description) const override;

 private:
  friend class TableView;

  void setRow(std::optional<IndexPath> indexPath, bool editing, bool deletable, bool movable);
  void removeAccessoryView();
  void updateDisclosureButton();
  double accessoryWidth() const;

  std::string reuseIdentifier_;
  View* contentView_;
  Label* textLabel_ = nullptr;
  ImageView* imageView_ = nullptr;
  TableViewCellAccessoryType accessoryType_ = TableViewCellAccessoryType::kNone;
  WeakRef<View> accessoryView_;
  Button* disclosureButton_ = nullptr;
  TableViewCellSelectionStyle selectionStyle_ = TableViewCellSelectionStyle::kBlue;
  bool selected_ = false;
  bool editing_ = false;
  bool deletable_ = false;
  bool movable_ = false;
  std::optional<IndexPath> indexPath_;
};

}  // namespace kinetra
