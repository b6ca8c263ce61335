#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "ui/Finger.h"

namespace kinetra::test {

// The application launched on the small catalogue, with an exercise opened on the exercise
// screen the way the catalogue opens one (selection, bar items, tab), ready for the finger.
class LoggingTest : public AppTest {
 protected:
  static constexpr const char* kToday = "Mar 20, 2024";

  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    launch();
  }

  MainInterface& ui() { return app().interface(); }

  void openExercise(const std::string& name, int fromTab = 1) {
    app().selection().selectedExercise = name;
    app().flags().doneLogo = true;
    app().selection().lastTabIndex = fromTab;
    ui().velomarNavigationTitle.setLeftBarButtonItem(&ui().velomarBackButton);
    ui().velomarNavigationTitle.setRightBarButtonItem(ui().segmentBarItem.get());
    app().velomarTabSelect();
  }

  // The exercise, then the bar's log segment.
  void openPane(const std::string& name) {
    openExercise(name);
    ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());
  }

  void type(TextField& field, const std::string& text) {
    ASSERT_TRUE(finger.typeInto(field, text).ok()) << text;
  }

  // The strings of an entry of a log, as the file or the memory holds them.
  static std::vector<std::string> entryOf(const PropertyList& log, const std::string& day,
                                          const std::string& exercise) {
    std::vector<std::string> strings;
    if (!log.isDictionary()) return strings;
    const auto dayValue = log.asDictionary().find(day);
    if (dayValue == log.asDictionary().end()) return strings;
    const auto entry = dayValue->second.asDictionary().find(exercise);
    if (entry == dayValue->second.asDictionary().end()) return strings;
    for (const PropertyList& value : entry->second.asArray())
      strings.emplace_back(value.asString());
    return strings;
  }

  // The row texts and notes on screen, top to bottom.
  static std::vector<std::string> rowTexts(TableView& table) {
    std::vector<std::string> texts;
    table.layoutIfNeeded();
    for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
      TableViewCell* cell = table.cellForRowAtIndexPath({0, row});
      texts.push_back(cell != nullptr ? cell->text() : "(off screen)");
    }
    return texts;
  }

  Finger finger;
};

}  // namespace kinetra::test
