#pragma once

#include <optional>
#include <string>

#include "catalogue/CatalogueState.h"
#include "ui/TableViewController.h"

namespace kinetra {

struct CustomExerciseViews;

// What the editor's three choosers share: rows 39 high, and choosing a row gives the row's value
// to the editor row that opened the chooser and closes it. Each chooser says what its rows hold.
class CustomExerciseChooser : public TableViewController {
 public:
  static constexpr double kRowHeight = 39;

  CustomExerciseChooser(std::string title, CustomExerciseViews& views, CatalogueState state);

  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) override {
    return kRowHeight;
  }
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 protected:
  // The value of the row at `indexPath`: what it shows.
  virtual std::string valueAt(IndexPath indexPath) const = 0;

  const CatalogueState& state() const { return state_; }

 private:
  CustomExerciseViews& views_;
  CatalogueState state_;
};

}  // namespace kinetra
