#pragma once

#include <memory>
#include <string>

#include "app/PlaceholderTableScreen.h"
#include "catalogue/CatalogueState.h"
#include "catalogue/FullListTableController.h"
#include "catalogue/MuscleTableController2.h"
#include "catalogue/TargetTableController.h"
#include "catalogue/TargetTableController2.h"
#include "ui/BarButtonItem.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/View.h"
#include "ui/ViewController.h"

namespace kinetra {

// Tab 1, the catalogue: the regions menu and the lists it opens, the body map, and the screens
// of the user's own exercises. The lists read the state they are made with, which must outlive
// this object. The custom list's bar control and its bar item are made at start-up.
struct CatalogueTab {
  explicit CatalogueTab(CatalogueState state);

  // The regions menu's ways on, each pushed animated onto the catalogue tab (see
  // CatalogueNavigation).
  void pushRegionList(const std::string& region);
  void pushBodyMap();
  void pushCompleteList();
  void pushCustomExercises();
  void pushNewCustomExercise();

  TargetTableController targetMenu;  // root of the catalogue tab: the regions menu
  TargetTableController2 targetTableView;
  NavigationItem& TargetNavigationTitle;
  FullListTableController FullListTableView;
  MuscleTableController2 muscleTableView2;
  NavigationItem& MuscleNavigationTitle;
  ViewController body;
  NavigationItem& bodyNavigationTitle;
  ImageView bodyImage;
  View bodyButtonView;
  Label bodyButtonLabel;

  // ---- Custom exercises
  PlaceholderTableScreen customExercisesTableView;
  NavigationItem& customExercisesNavigationTitle;
  std::unique_ptr<SegmentedControl> customSegmentedControl;  // made at start-up
  std::unique_ptr<BarButtonItem> customExercisesButton;      // holds customSegmentedControl
  PlaceholderTableScreen addExercisesTableView;
  NavigationItem& addExercisesNavigationTitle;
  PlaceholderTableScreen customTargetTableView;
  PlaceholderTableScreen customDifficultyTableView;
  PlaceholderTableScreen customMuscleTableView;
  TextField customName;
  TextView CustomDescription;

  NavigationController targetNavigationController;  // last: it holds its root screen
};

}  // namespace kinetra
