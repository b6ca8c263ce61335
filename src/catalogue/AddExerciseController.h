#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/CatalogueState.h"
#include "ui/TableViewController.h"
#include "ui/TextViewDelegate.h"

namespace kinetra {

struct CustomExerciseViews;

// The editor of one of the user's own exercises, a grouped table: the name, the description,
// then the picture and the three choices (region, muscle, skill level), each of these four
// opening its chooser or the photo picker. Cells are made anew at every reload and show no
// selection. It is the delegate of its two text views: a line feed typed into either gives up
// the keyboard and stays in the text.
class AddExerciseController : public TableViewController, public TextViewDelegate {
 public:
  static constexpr int kNameSection = 0;
  static constexpr int kDescriptionSection = 1;
  static constexpr int kDetailsSection = 2;
  static constexpr int kImageRow = 0;
  // Rows 1 to 3 of the details section: the region, the muscle, the skill level.
  static constexpr int kFirstChoiceRow = 1;
  // Where the picture's thumbnail is centred in its row.
  static constexpr double kThumbnailCentreX = 87;
  static constexpr double kThumbnailCentreY = 21;

  AddExerciseController(CustomExerciseViews& views, CatalogueState state);

  // The label a choice row shows while nothing is chosen ("Target Region:", ...).
  static std::string choiceLabel(int choice);

  int numberOfSectionsInTableView(TableView&) override { return 3; }
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) override;
  std::optional<double> heightForRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;
  bool canEditRowAtIndexPath(TableView&, IndexPath) override { return false; }

  bool shouldChangeTextInRange(TextView& textView, TextRange range,
                               const std::string& text) override;

  // The thumbnail the picture row shows: the photo picked in the editor, else the edited
  // record's own, else the bundle's placeholder.
  Image thumbnail() const;

 private:
  std::unique_ptr<TableViewCell> detailsCell(int row);

  CustomExerciseViews& views_;
  CatalogueState state_;
};

}  // namespace kinetra
