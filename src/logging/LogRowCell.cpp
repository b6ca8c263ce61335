#include "logging/LogRowCell.h"

#include "ui/Label.h"

namespace kinetra {

namespace {

constexpr double kNoteFontSize = 12;

Label& noteLabel(TableViewCell& cell) {
  for (View* view : cell.contentView().subviews()) {
    if (view->tag() == LogRowCell::kNoteLabelTag) {
      if (auto* label = dynamic_cast<Label*>(view)) return *label;
    }
  }
  auto label = std::make_unique<Label>(LogRowCell::kNoteFrame);
  label->setTag(LogRowCell::kNoteLabelTag);
  label->setFont(Font::systemFontOfSize(kNoteFontSize));
  label->setNumberOfLines(0);
  // Clear, so that row text reaching into the note's band is not covered.
  label->setBackgroundColor(Color::clearColor());
  return cell.contentView().addSubview(std::move(label));
}

}  // namespace

std::unique_ptr<TableViewCell> LogRowCell::make(TableView& table, std::string text,
                                                std::string note, double fontSize, Rect noteFrame) {
  std::unique_ptr<TableViewCell> cell = table.reusableCell(kReuseIdentifier);
  cell->setText(std::move(text));
  cell->setFont(Font::systemFontOfSize(fontSize));
  cell->setSelectionStyle(TableViewCellSelectionStyle::kNone);
  Label& label = noteLabel(*cell);
  label.setFrame(noteFrame);
  label.setText(std::move(note));
  cell->contentView().bringSubviewToFront(label);
  return cell;
}

}  // namespace kinetra
