#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "graphics/PngEncoder.h"
#include "graphics/TestPictures.h"
#include "ui/DatePicker.h"
#include "ui/Finger.h"
#include "ui/ImagePickerController.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TabBarController.h"
#include "ui/TableView.h"

namespace kinetra {
namespace {

const ViewDescription* find(const ViewDescription& description,
                            const std::function<bool(const ViewDescription&)>& match) {
  if (match(description)) return &description;
  for (const ViewDescription& subview : description.subviews) {
    if (const ViewDescription* found = find(subview, match)) return found;
  }
  return nullptr;
}

int count(const ViewDescription& description, const std::string& kind) {
  int n = description.kind == kind ? 1 : 0;
  for (const ViewDescription& subview : description.subviews) n += count(subview, kind);
  return n;
}

class Rows : public TableViewDataSource {
 public:
  int numberOfRowsInSection(TableView&, int) override { return 50; }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, IndexPath i) override {
    auto cell = table.dequeueReusableCellWithIdentifier("mine");
    if (!cell) cell = std::make_unique<TableViewCell>(Rect{}, "mine");
    cell->setText("row " + std::to_string(i.row));
    return cell;
  }
  std::optional<std::string> titleForHeaderInSection(TableView&, int) override { return "All"; }
};

class ScreenDescriptionTest : public test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    list.setView(std::make_unique<TableView>());
    table().setDataSource(&rows);
    tabs.setViewControllers({&navigation, &other});
    window().addSubview(tabs.view());
  }
  TableView& table() { return dynamic_cast<TableView&>(list.view()); }

  Rows rows;
  ViewController list;
  NavigationController navigation{list};
  ViewController other;
  TabBarController tabs;
};

TEST_F(ScreenDescriptionTest, TheSelectedTabsBarTopScreenAndOnScreenRowsAreDescribed) {
  list.setTitle("Catalogue");
  const ScreenDescription screen = application().describeScreen();
  EXPECT_DOUBLE_EQ(screen.size.width, 320);
  EXPECT_FALSE(screen.statusBarHidden);
  EXPECT_EQ(screen.window.kind, "window");
  const ViewDescription* bar =
      find(screen.window, [](const ViewDescription& d) { return d.kind == "navigationBar"; });
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->title, "Catalogue");
  const ViewDescription* tabBar =
      find(screen.window, [](const ViewDescription& d) { return d.kind == "tabBar"; });
  ASSERT_NE(tabBar, nullptr);
  EXPECT_EQ(tabBar->tabs.size(), 2u);
  EXPECT_EQ(tabBar->selectedTab, 0);

  const ViewDescription* tableDescription =
      find(screen.window, [](const ViewDescription& d) { return d.kind == "tableView"; });
  ASSERT_NE(tableDescription, nullptr);
  // 460 − 44 (bar) − 49 (tabs) = 367 points: the header and rows 0 to 7.
  EXPECT_DOUBLE_EQ(tableDescription->frame.height, 367);
  EXPECT_EQ(count(screen.window, "tableViewCell"), 8);
  ASSERT_EQ(tableDescription->sectionHeaders.size(), 1u);
  EXPECT_EQ(tableDescription->sectionHeaders[0].title, "All");
  const ViewDescription* row3 = find(screen.window, [](const ViewDescription& d) {
    return d.kind == "tableViewCell" && d.indexPath == IndexPath{0, 3};
  });
  ASSERT_NE(row3, nullptr);
  EXPECT_NE(find(*row3, [](const ViewDescription& d) { return d.text == "row 3"; }), nullptr);
  // The other tab's screen is not on the screen.
  EXPECT_EQ(
      find(screen.window,
           [&](const ViewDescription& d) { return d.identifier == other.view().identifier(); }),
      nullptr);
}

TEST_F(ScreenDescriptionTest, IdentifiersStayAndAnimationsAreReportedOnce) {
  const ScreenDescription before = application().describeScreen();
  View overlay(Rect{0, 0, 480, 320});
  window().addSubview(overlay);
  View::beginAnimations();
  overlay.setAlpha(0.5);
  View::commitAnimations();
  application().setStatusBarHidden(true, Animated::Yes);

  const ScreenDescription after = application().describeScreen();
  EXPECT_EQ(after.window.identifier, before.window.identifier);
  EXPECT_EQ(after.window.subviews.front().identifier, before.window.subviews.front().identifier);
  EXPECT_EQ(after.window.subviews.back().identifier, overlay.identifier());
  EXPECT_TRUE(after.statusBarHidden);
  ASSERT_EQ(after.animations.size(), 2u);
  EXPECT_EQ(after.animations[0].kind, AnimationRecord::Kind::kAlpha);
  EXPECT_EQ(after.animations[1].kind, AnimationRecord::Kind::kStatusBar);
  EXPECT_TRUE(application().describeScreen().animations.empty());
  overlay.setHidden(true);
  EXPECT_EQ(application().describeScreen().window.subviews.size(), 1u);
  EXPECT_EQ(application().viewWithIdentifier(overlay.identifier()), &overlay);
  EXPECT_EQ(application().viewWithIdentifier(0), nullptr);
}

class PickerWatcher : public ImagePickerControllerDelegate {
 public:
  void didFinishPickingImage(ImagePickerController&, const Image& image) override {
    picked = image;
  }
  void imagePickerControllerDidCancel(ImagePickerController&) override { ++cancelled; }
  Image picked;
  int cancelled = 0;
};

std::vector<std::uint8_t> jpegPhoto(int width, int height) {
  testing::JpegSpec recipe{width, height};
  recipe.samples = testing::photoRgb(width, height, 3);
  return testing::makeJpeg(recipe);
}

TEST_F(ScreenDescriptionTest, ThePhotoPickerTakesPicturesFromOutsideOnlyWhileShown) {
  ImagePickerController picker;
  PickerWatcher watcher;
  picker.setDelegate(&watcher);
  Finger finger;
  const std::vector<std::uint8_t> png = *encodePng(*Picture::filled(64, 48, {9, 9, 9, 255}));
  EXPECT_EQ(finger.pickPhoto(picker, png).code(), Status::Code::kNotFound);
  navigation.pushViewController(picker, Animated::Yes);
  EXPECT_EQ(finger.pickPhoto(picker, {0xFF, 0xD8, 0x00}).code(), Status::Code::kCorrupt);
  EXPECT_TRUE(watcher.picked.empty());
  ASSERT_TRUE(finger.pickPhoto(picker, png).ok());
  EXPECT_DOUBLE_EQ(watcher.picked.size().width, 64);
  const std::vector<std::uint8_t> jpeg = jpegPhoto(640, 480);
  ASSERT_TRUE(finger.pickPhoto(picker, jpeg).ok());
  EXPECT_EQ(watcher.picked.bytes(), jpeg);
  ASSERT_TRUE(finger.cancelPicker(picker).ok());
  EXPECT_EQ(watcher.cancelled, 1);
  EXPECT_NE(find(application().describeScreen().window,
                 [](const ViewDescription& d) { return d.kind == "imagePicker"; }),
            nullptr);
}

// Whatever does not decode whole is refused and the delegate hears nothing: an Image holding
// it would fail only later, when a screen decodes it to draw.
TEST_F(ScreenDescriptionTest, ThePhotoPickerRefusesWhatDoesNotDecodeWhole) {
  ImagePickerController picker;
  PickerWatcher watcher;
  picker.setDelegate(&watcher);
  navigation.pushViewController(picker, Animated::Yes);
  const std::vector<std::uint8_t> jpeg = jpegPhoto(320, 240);
  std::vector<std::uint8_t> damaged = jpeg;
  damaged[damaged.size() / 2] = 0xff;  // a marker in the middle of the image data
  damaged[damaged.size() / 2 + 1] = 0xd9;
  std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 16, 0, 16, 0};
  gif.resize(400, 0x5a);
  std::vector<std::uint8_t> noise(3000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = std::uint8_t(i * 7919 >> 3);
  const std::vector<std::uint8_t> png = *encodePng(*Picture::filled(64, 48, {9, 9, 9, 255}));
  struct Case {
    std::string what;
    std::vector<std::uint8_t> bytes;
    Status::Code code;
  };
  for (const Case& c : std::vector<Case>{
           {"JPEG cut short", {jpeg.begin(), jpeg.end() - 200}, Status::Code::kCorrupt},
           {"JPEG without its end marker", {jpeg.begin(), jpeg.end() - 2}, Status::Code::kCorrupt},
           {"damaged JPEG", damaged, Status::Code::kCorrupt},
           {"PNG cut short", {png.begin(), png.end() - 20}, Status::Code::kCorrupt},
           {"GIF header and garbage", gif, Status::Code::kCorrupt},
           {"random bytes", noise, Status::Code::kCorrupt},
           {"nothing", {}, Status::Code::kCorrupt},
       }) {
    EXPECT_EQ(Finger().pickPhoto(picker, c.bytes).code(), c.code) << c.what;
    EXPECT_TRUE(watcher.picked.empty()) << c.what;
  }
  // A forged size over the limits is too large rather than broken.
  std::vector<std::uint8_t> huge = jpeg;
  testing::forgeJpegSize(huge, 9000, 9000);
  EXPECT_EQ(Finger().pickPhoto(picker, huge).code(), Status::Code::kTooLarge);
  EXPECT_TRUE(watcher.picked.empty());
}

TEST_F(ScreenDescriptionTest, ControlsSendTheirActionsOnlyForTheFinger) {
  View& page = other.view();
  tabs.setSelectedIndex(1);
  DatePicker picker(Rect{0, 100, 320, 216});
  page.addSubview(picker);
  std::vector<double> picked;
  picker.addTarget(
      [&](Control& sender) {
        picked.push_back(dynamic_cast<DatePicker&>(sender).date().timeIntervalSince1970());
      },
      ControlEvent::kValueChanged);
  picker.setDate(Date(10));  // by code: no action
  Finger finger;
  ASSERT_TRUE(finger.pickDate(picker, Date(86400)).ok());
  EXPECT_EQ(picked, (std::vector<double>{86400}));

  SegmentedControl unit(std::vector<std::string>{"lb", "kg"}, Rect{0, 0, 100, 30});
  page.addSubview(unit);
  int changes = 0;
  unit.addTarget([&](Control&) { ++changes; }, ControlEvent::kValueChanged);
  unit.setSelectedSegmentIndex(1);
  EXPECT_EQ(changes, 0);
  ASSERT_TRUE(finger.chooseSegment(unit, 1).ok());  // already selected: no change
  EXPECT_EQ(changes, 0);
  unit.setEnabled(false, 0);
  ASSERT_TRUE(finger.chooseSegment(unit, 0).ok());
  EXPECT_EQ(unit.selectedSegmentIndex(), 1);
  unit.setEnabled(true, 0);
  ASSERT_TRUE(finger.chooseSegment(unit, 0).ok());
  EXPECT_EQ(unit.selectedSegmentIndex(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(finger.chooseSegment(unit, 2).code(), Status::Code::kInvalidArgument);
  unit.setSelectedSegmentIndex(9);
  EXPECT_EQ(unit.selectedSegmentIndex(), SegmentedControl::kNoSegment);
  EXPECT_EQ(unit.titleForSegmentAtIndex(1), "kg");
  EXPECT_EQ(unit.titleForSegmentAtIndex(-1), "");

  // A button whose action destroys it stops there, without harm.
  auto button = Button::buttonWithType(ButtonType::kRoundedRect);
  button->setFrame({0, 50, 100, 40});
  Button& added = page.addSubview(std::move(button));
  int presses = 0;
  added.addTarget(
      [&](Control& sender) {
        ++presses;
        sender.removeFromSuperview();  // owned by the page: destroyed once this returns
      },
      ControlEvent::kTouchUpInside);
  added.addTarget([&](Control&) { ++presses; }, ControlEvent::kTouchUpInside);
  ASSERT_TRUE(finger.tap({50, 90}).ok());
  EXPECT_EQ(presses, 1);
  EXPECT_TRUE(page.subviews().size() == 2u);
}

class SharedState : public ApplicationDelegate {
 public:
  void applicationDidFinishLaunching(Application& application) override {
    launchedWithDelegate = application.delegate() == this;
    application.window().addSubview(label);
  }
  bool launchedWithDelegate = false;
  Label label{Rect{0, 0, 100, 20}};
};

TEST(ApplicationTest, LaunchingSetsTheDelegateFirstAndAGoneDelegateReadsAsNone) {
  Application& application = Application::shared();
  application.reset();
  {
    SharedState state;
    application.launch(state);
    EXPECT_TRUE(state.launchedWithDelegate);
    EXPECT_EQ(application.delegate(), &state);
    EXPECT_EQ(state.label.window(), &application.window());
  }
  EXPECT_EQ(application.delegate(), nullptr);
  EXPECT_TRUE(application.window().subviews().empty());
  application.reset();
}

}  // namespace
}  // namespace kinetra
