#pragma once

#include <memory>

#include "app/KinetraImageController.h"
#include "app/KinetraTextController.h"
#include "graph/drawGraph.h"
#include "logging/EntryPaneViews.h"
#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/ScrollView.h"
#include "ui/SegmentedControl.h"
#include "ui/TextView.h"
#include "ui/View.h"

namespace kinetra {

class RecordBook;
class UserData;
struct Selection;

// Tab 0, the exercise screen: the card with its picture, description and muscles, the help
// page, the bar's controls, the two entry panes (EntryPaneViews), the paging panels a workout
// shows them in, and the progress graph. The controls made at launch (the description text,
// the bar's segmented control and the information button, with their bar items) start null.
struct ExerciseTab : EntryPaneViews {
  ExerciseTab(UserData& userData, const Selection& selection, RecordBook& records);

  KinetraImageController exerciseScreen;
  View& kinetraTabView;  // the exercise screen's view: the card
  ImageView velomarTabImage;
  std::unique_ptr<KinetraTextController> velomarTabText;  // made at launch
  TextView MusclesText;
  Label RecordsText;  // the personal records, under the muscles text
  View kinetraHelpView;
  NavigationItem& velomarNavigationTitle;
  BarButtonItem velomarBackButton;
  std::unique_ptr<SegmentedControl> segmentedControl;  // made at start-up
  std::unique_ptr<BarButtonItem> segmentBarItem;       // holds segmentedControl
  std::unique_ptr<Button> informationButton;           // made at launch
  std::unique_ptr<BarButtonItem> informationBarItem;   // holds informationButton

  // ---- The workout screen's paging panels
  ScrollView logsScrollView;
  View kinetraLogViewLeft;
  View kinetraLogViewRight;
  View kinetraAerobicsViewLeft;
  View kinetraAerobicsViewRight;
  Label logExerciseLabelLeft;
  Label logExerciseLabelRight;
  ImageView aerobicsLogImageLeft;
  ImageView aerobicsLogImageRight;

  // ---- The progress graph
  drawGraph graphView;  // 480 × 320, shown turned
  SegmentedControl graphDuration;
  SegmentedControl graphType;
  ImageView noGraph;

  NavigationController kinetraNavigationController;  // last: it holds its root screen
};

}  // namespace kinetra
