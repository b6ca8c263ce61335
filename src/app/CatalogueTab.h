#pragma once

#include <memory>
#include <string>

#include "catalogue/CatalogueState.h"
#include "catalogue/CustomExerciseViews.h"
#include "catalogue/FullListTableController.h"
#include "catalogue/MuscleTableController2.h"
#include "catalogue/TargetTableController.h"
#include "catalogue/TargetTableController2.h"
#include "catalogue/bodyController.h"
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
// of the user's own exercises (CustomExerciseViews, on this tab's navigation controller). The
// lists read the state they are made with, which must outlive this object.
struct CatalogueTab : public CustomExerciseViews {
  CatalogueTab(CatalogueState state, UserData& userData, DiagnosticLog& log);

  // The regions menu's ways on, each pushed animated onto the catalogue tab (see
  // CatalogueNavigation).
  void pushRegionList(const std::string& region);
  void pushBodyMap();
  void pushMuscleList(const std::string& muscle);
  void pushCompleteList();
  void pushCustomExercises();
  void pushNewCustomExercise();

  TargetTableController targetMenu;  // root of the catalogue tab: the regions menu
  TargetTableController2 targetTableView;
  NavigationItem& TargetNavigationTitle;
  FullListTableController FullListTableView;
  MuscleTableController2 muscleTableView2;
  NavigationItem& MuscleNavigationTitle;
  View bodyButtonView;
  Button bodyButtonLabel;
  bodyController body;
  NavigationItem& bodyNavigationTitle;

  NavigationController targetNavigationController;  // last: it holds its root screen
};

}  // namespace kinetra
