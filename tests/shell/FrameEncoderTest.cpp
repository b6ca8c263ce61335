#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "shell/FrameEncoder.h"
#include "ui/Application.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TextField.h"
#include "ui/View.h"

namespace kinetra {
namespace {

using nlohmann::json;

const json* findView(const json& view, const std::string& kind) {
  if (view.value("kind", "") == kind) return &view;
  if (!view.contains("subviews")) return nullptr;
  for (const json& subview : view["subviews"]) {
    if (const json* found = findView(subview, kind)) return found;
  }
  return nullptr;
}

std::vector<std::uint8_t> png(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> bytes = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
      0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
      0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
      0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF, 0x89, 0x99,
      0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  bytes[19] = static_cast<std::uint8_t>(width);
  bytes[23] = static_cast<std::uint8_t>(height);
  return bytes;
}

class FrameEncoderTest : public ::testing::Test {
 protected:
  void SetUp() override { Application::shared().reset(); }
  void TearDown() override { Application::shared().reset(); }
  Window& window() { return Application::shared().window(); }
};

TEST_F(FrameEncoderTest, ViewsCarryTheirOwnFieldsAndPicturesGoToTheStore) {
  PictureStore store;
  FrameEncoder encoder(store, nullptr);
  Label label(Rect{10, 20, 100, 30});
  label.setText("20.5 kg");
  window().addSubview(label);
  ImageView image(Rect{0, 50, 40, 40});
  image.setImage(Image::fromBytes(png(40, 40)));
  window().addSubview(image);
  TextField field(Rect{0, 100, 200, 31});
  field.setKeyboardType(KeyboardType::kNumberPad);
  field.setReturnKeyType(ReturnKeyType::kDone);
  window().addSubview(field);

  const json frame = json::parse(encoder.encode(Application::shared().describeScreen()));
  EXPECT_EQ(frame["type"], "frame");
  EXPECT_EQ(frame["size"], json::array({320, 480}));
  const json* labelJson = findView(frame["root"], "label");
  ASSERT_NE(labelJson, nullptr);
  EXPECT_EQ((*labelJson)["text"], "20.5 kg");
  EXPECT_EQ((*labelJson)["frame"], json::array({10, 20, 100, 30}));
  EXPECT_EQ((*labelJson)["id"], label.identifier());
  EXPECT_FALSE(labelJson->contains("alpha"));  // defaults are left out
  EXPECT_FALSE(labelJson->contains("transform"));

  const json* imageJson = findView(frame["root"], "imageView");
  ASSERT_NE(imageJson, nullptr);
  const std::string id = (*imageJson)["picture"]["id"];
  const auto stored = store.find(*PictureStore::parseIdentifier(id));
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(*stored, png(40, 40));

  const json* fieldJson = findView(frame["root"], "textField");
  ASSERT_NE(fieldJson, nullptr);
  EXPECT_EQ((*fieldJson)["keyboard"], "numberPad");
  EXPECT_EQ((*fieldJson)["returnKey"], "done");
}

TEST_F(FrameEncoderTest, CustomDrawnViewsShowWhatTheRendererGives) {
  PictureStore store;
  int renders = 0;
  FrameEncoder encoder(store, [&](const ViewDescription& d) -> std::optional<PictureDescription> {
    ++renders;
    EXPECT_TRUE(d.drawsContent);
    return PictureDescription{
        77, {300, 150}, std::make_shared<const std::vector<std::uint8_t>>(png(3, 3))};
  });
  class Drawn : public View {
   public:
    using View::View;
    bool drawsContent() const override { return true; }
  } drawn(Rect{0, 0, 300, 150});
  window().addSubview(drawn);
  const json frame = json::parse(encoder.encode(Application::shared().describeScreen()));
  const json& view = frame["root"]["subviews"][0];
  EXPECT_EQ(view["draws"], true);
  EXPECT_EQ(view["picture"]["id"], PictureStore::identifierText(77));
  EXPECT_EQ(renders, 1);
  EXPECT_NE(store.find(77), nullptr);
}

TEST_F(FrameEncoderTest, AnimationsAreSentOnceWithTheirKind) {
  PictureStore store;
  FrameEncoder encoder(store, nullptr);
  View card(Rect{0, 0, 100, 100});
  window().addSubview(card);
  View::beginAnimations("flip");
  View::setAnimationDuration(0.75);
  View::setAnimationTransition(AnimationTransition::kCurlUp, card);
  card.setAlpha(0.5);
  View::commitAnimations();
  const json first = json::parse(encoder.encode(Application::shared().describeScreen()));
  ASSERT_EQ(first["animations"].size(), 2u);
  bool sawCurl = false;
  for (const json& a : first["animations"]) {
    if (a["kind"] == "transition") {
      sawCurl = a["transition"] == "curlUp" && a["view"] == card.identifier() &&
                a["duration"] == 0.75 && a["transaction"] == "flip";
    }
  }
  EXPECT_TRUE(sawCurl);
  const json second = json::parse(encoder.encode(Application::shared().describeScreen()));
  EXPECT_TRUE(second["animations"].empty());
}

TEST_F(FrameEncoderTest, BrokenTextAndOddNumbersStillMakeAFrame) {
  PictureStore store;
  FrameEncoder encoder(store, nullptr);
  Label label(Rect{0, 0, 1.0 / 3.0, 10});
  label.setText("bad \xFF\xFE bytes");
  label.setTextColor(Color::lightGrayColor());
  window().addSubview(label);
  const std::string text = encoder.encode(Application::shared().describeScreen());
  const json frame = json::parse(text);
  const json* labelJson = findView(frame["root"], "label");
  ASSERT_NE(labelJson, nullptr);
  EXPECT_EQ((*labelJson)["frame"][2], 0.333);
  EXPECT_EQ((*labelJson)["color"][0], 0.6667);
  EXPECT_NE((*labelJson)["text"].get<std::string>().find("bytes"), std::string::npos);
}

ViewDescription viewOf(std::uint64_t identifier, std::string kind, Rect frame) {
  ViewDescription d;
  d.identifier = identifier;
  d.kind = std::move(kind);
  d.frame = frame;
  return d;
}

PictureDescription pictureOf(std::uint64_t identifier, double width, double height) {
  return {
      identifier, {width, height}, std::make_shared<const std::vector<std::uint8_t>>(png(1, 1))};
}

TEST(FrameEncoderTextTest, CommonViewFieldsAppearOnlyAwayFromTheirDefaults) {
  PictureStore store;
  FrameEncoder encoder(store, nullptr);
  ScreenDescription screen;
  screen.size = {320, 480};
  screen.statusBarHidden = true;
  screen.window = viewOf(1, "window", Rect{0, 0, 320, 480});
  ViewDescription moved = viewOf(2, "scrollView", Rect{1.23456, 0, 100, 50});
  moved.boundsOrigin = {0, 12.5};
  moved.transform = {0, 1, -1, 0, 5, 0};
  moved.alpha = 0.25;
  moved.backgroundColor = Color::rgba(1, 0.5, 0.25, 0.123456);
  moved.userInteractionEnabled = false;
  moved.clipsToBounds = true;
  ViewDescription grouped = viewOf(3, "tableView", Rect{0, 50, 320, 430});
  grouped.backgroundColor = Color::groupTableViewBackgroundColor();  // the pattern, not the colour
  ViewDescription plain = viewOf(4, "view", Rect{});
  plain.backgroundColor = Color::rgba(1, 0, 0, 0);  // fully transparent: no background
  screen.window.subviews = {moved, grouped, plain};

  EXPECT_EQ(encoder.encode(screen),
            R"({"animations":[],"root":{"frame":[0.0,0.0,320.0,480.0],"id":1,"kind":"window",)"
            R"("subviews":[{"alpha":0.25,"bg":[1.0,0.5,0.25,0.1235],"clips":true,)"
            R"("frame":[1.235,0.0,100.0,50.0],"id":2,"kind":"scrollView","noTouch":true,)"
            R"("origin":[0.0,12.5],"transform":[0.0,1.0,-1.0,0.0,5.0,0.0]},)"
            R"({"frame":[0.0,50.0,320.0,430.0],"id":3,"kind":"tableView",)"
            R"("pattern":"groupTableViewBackground"},)"
            R"({"frame":[0.0,0.0,0.0,0.0],"id":4,"kind":"view"}]},"size":[320.0,480.0],)"
            R"("statusBarHidden":true,"type":"frame"})");
}

TEST(FrameEncoderTextTest, ADrawnViewShowsOnlyItsRenderingAndOthersTheirOwnPicture) {
  PictureStore store;
  std::vector<std::uint64_t> rendered;
  FrameEncoder encoder(store, [&](const ViewDescription& d) -> std::optional<PictureDescription> {
    rendered.push_back(d.identifier);
    if (d.identifier == 2) return pictureOf(77, 10.0004, 2);
    return std::nullopt;
  });
  ScreenDescription screen;
  screen.size = {10, 10};
  screen.window = viewOf(1, "window", Rect{0, 0, 10, 10});
  ViewDescription drawn = viewOf(2, "custom", Rect{0, 0, 10, 10});
  drawn.drawsContent = true;
  drawn.picture = pictureOf(6, 10, 10);  // a drawn view's own picture is not shown
  ViewDescription blank = viewOf(3, "custom", Rect{});
  blank.drawsContent = true;
  drawn.subviews = {blank};
  ViewDescription image = viewOf(4, "imageView", Rect{0, 0, 40, 40});
  image.picture = pictureOf(5, 40, 40);
  screen.window.subviews = {drawn, image};

  EXPECT_EQ(encoder.encode(screen),
            R"({"animations":[],"root":{"frame":[0.0,0.0,10.0,10.0],"id":1,"kind":"window",)"
            R"("subviews":[{"draws":true,"frame":[0.0,0.0,10.0,10.0],"id":2,"kind":"custom",)"
            R"("picture":{"h":2.0,"id":"000000000000004d","w":10.0},)"
            R"("subviews":[{"draws":true,"frame":[0.0,0.0,0.0,0.0],"id":3,"kind":"custom"}]},)"
            R"({"frame":[0.0,0.0,40.0,40.0],"id":4,"kind":"imageView",)"
            R"("picture":{"h":40.0,"id":"0000000000000005","w":40.0}}]},"size":[10.0,10.0],)"
            R"("statusBarHidden":false,"type":"frame"})");
  EXPECT_EQ(rendered, (std::vector<std::uint64_t>{2, 3}));
  EXPECT_NE(store.find(77), nullptr);
  EXPECT_NE(store.find(5), nullptr);
  EXPECT_EQ(store.find(6), nullptr);

  FrameEncoder withoutRenderer(store, nullptr);
  const json frame = json::parse(withoutRenderer.encode(screen));
  EXPECT_EQ(frame["root"]["subviews"][0]["draws"], true);
  EXPECT_FALSE(frame["root"]["subviews"][0].contains("picture"));
}

TEST(FrameEncoderTextTest, SegmentsAndTabsCarryTheirPicturesAndBarsTheirTitle) {
  PictureStore store;
  FrameEncoder encoder(store, nullptr);
  ScreenDescription screen;
  screen.size = {320, 480};
  screen.window = viewOf(1, "window", Rect{0, 0, 320, 480});
  ViewDescription segmented = viewOf(2, "segmentedControl", Rect{10, 10, 200, 30});
  segmented.segments = {{"Day", std::nullopt, true, Rect{0, 0, 100, 30}},
                        {"", pictureOf(8, 20, 20), false, Rect{100, 0, 100, 30}}};
  segmented.selectedSegment = 0;
  segmented.controlStyle = "bar";
  ViewDescription tabBar = viewOf(3, "tabBar", Rect{0, 431, 320, 49});
  tabBar.tabs = {{"Log", pictureOf(9, 30, 30), pictureOf(10, 30, 30), Rect{0, 0, 160, 49}},
                 {"Stats", std::nullopt, std::nullopt, Rect{160, 0, 160, 49}}};
  tabBar.selectedTab = 1;
  ViewDescription navigationBar = viewOf(4, "navigationBar", Rect{0, 0, 320, 44});
  navigationBar.title = "Log";
  screen.window.subviews = {segmented, tabBar, navigationBar};

  EXPECT_EQ(encoder.encode(screen),
            R"({"animations":[],"root":{"frame":[0.0,0.0,320.0,480.0],"id":1,"kind":"window",)"
            R"("subviews":[{"frame":[10.0,10.0,200.0,30.0],"id":2,"kind":"segmentedControl",)"
            R"("segments":[{"frame":[0.0,0.0,100.0,30.0],"title":"Day"},)"
            R"({"disabled":true,"frame":[100.0,0.0,100.0,30.0],)"
            R"("picture":{"h":20.0,"id":"0000000000000008","w":20.0},"title":""}],)"
            R"("selectedSegment":0,"style":"bar"},)"
            R"({"frame":[0.0,431.0,320.0,49.0],"id":3,"kind":"tabBar","selectedTab":1,)"
            R"("tabs":[{"frame":[0.0,0.0,160.0,49.0],)"
            R"("picture":{"h":30.0,"id":"0000000000000009","w":30.0},)"
            R"("selectedPicture":{"h":30.0,"id":"000000000000000a","w":30.0},"title":"Log"},)"
            R"({"frame":[160.0,0.0,160.0,49.0],"title":"Stats"}]},)"
            R"({"frame":[0.0,0.0,320.0,44.0],"id":4,"kind":"navigationBar","title":"Log"}]},)"
            R"("size":[320.0,480.0],"statusBarHidden":false,"type":"frame"})");
  EXPECT_NE(store.find(8), nullptr);
  EXPECT_NE(store.find(9), nullptr);
  EXPECT_NE(store.find(10), nullptr);
}

TEST(FrameEncoderTextTest, EachAnimationKindCarriesOnlyItsOwnChange) {
  PictureStore store;
  FrameEncoder encoder(store, nullptr);
  ScreenDescription screen;
  // Every record has every field set; only the fields of its kind may reach the frame.
  for (int k = 0; k <= static_cast<int>(AnimationRecord::Kind::kContentOffset); ++k) {
    AnimationRecord record;
    record.sequence = static_cast<std::uint64_t>(k) + 1;
    record.transactionId = k == 0 ? "flip" : "";
    record.view = static_cast<ViewId>(k) + 11;
    record.kind = static_cast<AnimationRecord::Kind>(k);
    record.duration = 0.25;
    record.delay = 0.1;
    record.transition = AnimationTransition::kCurlDown;
    record.fromAlpha = 0.5;
    record.toAlpha = 1.0 / 3.0;
    record.fromFrame = Rect{1, 2, 3, 4};
    record.toFrame = Rect{5, 6, 7, 8};
    record.fromTransform = {1, 0, 0, 1, 2, 3};
    record.toTransform = {0, 1, -1, 0, 0, 0};
    record.hidden = true;
    record.rowAnimation = "fade";
    record.rows = {{0, 1}, {2, 3}};
    screen.animations.push_back(record);
  }

  EXPECT_EQ(
      encoder.encode(screen),
      R"({"animations":[)"
      R"({"delay":0.1,"duration":0.25,"kind":"transition","seq":1,"transaction":"flip",)"
      R"("transition":"curlDown","view":11},)"
      R"({"delay":0.1,"duration":0.25,"fromAlpha":0.5,"kind":"alpha","seq":2,"toAlpha":0.3333,)"
      R"("view":12},)"
      R"({"delay":0.1,"duration":0.25,"fromFrame":[1.0,2.0,3.0,4.0],"kind":"frame","seq":3,)"
      R"("toFrame":[5.0,6.0,7.0,8.0],"view":13},)"
      R"({"delay":0.1,"duration":0.25,"fromTransform":[1.0,0.0,0.0,1.0,2.0,3.0],)"
      R"("kind":"transform","seq":4,"toTransform":[0.0,1.0,-1.0,0.0,0.0,0.0],"view":14},)"
      R"({"delay":0.1,"duration":0.25,"kind":"push","seq":5,"view":15},)"
      R"({"delay":0.1,"duration":0.25,"kind":"pop","seq":6,"view":16},)"
      R"({"delay":0.1,"duration":0.25,"hidden":true,"kind":"navigationBar","seq":7,"view":17},)"
      R"({"delay":0.1,"duration":0.25,"hidden":true,"kind":"statusBar","seq":8,"view":18},)"
      R"({"delay":0.1,"duration":0.25,"kind":"deleteRows","rowAnimation":"fade",)"
      R"("rows":[[0,1],[2,3]],"seq":9,"view":19},)"
      R"({"delay":0.1,"duration":0.25,"kind":"contentOffset","seq":10,"view":20}],)"
      R"("root":{"frame":[0.0,0.0,0.0,0.0],"id":0,"kind":""},"size":[0.0,0.0],)"
      R"("statusBarHidden":false,"type":"frame"})");
}

TEST(FrameEncoderTextTest, TextGoesOutAsUtf8WithBrokenBytesReplaced) {
  PictureStore store;
  FrameEncoder encoder(store, nullptr);
  ScreenDescription screen;
  screen.window.text.emplace("Zürich \xFF km");
  const std::string text = encoder.encode(screen);
  EXPECT_NE(text.find(R"("text":"Zürich )"
                      "\xEF\xBF\xBD"
                      R"( km")"),
            std::string::npos)
      << text;
}

TEST(PictureStoreTest, OldPicturesGiveWayOnceTheBudgetIsExceeded) {
  PictureStore store(100);
  auto bytes = [](std::size_t n) {
    return std::make_shared<const std::vector<std::uint8_t>>(n, 1);
  };
  store.beginFrame();
  store.add({1, {}, bytes(60)});
  store.trim();
  store.beginFrame();
  store.add({2, {}, bytes(60)});
  store.trim();
  EXPECT_EQ(store.find(1), nullptr);
  EXPECT_NE(store.find(2), nullptr);
  store.beginFrame();
  store.add({3, {}, bytes(200)});  // the newest frame's pictures stay whatever their size
  store.add({4, {}, bytes(10)});
  store.trim();
  EXPECT_NE(store.find(3), nullptr);
  EXPECT_NE(store.find(4), nullptr);
  EXPECT_EQ(store.find(2), nullptr);
  EXPECT_EQ(PictureStore::parseIdentifier(PictureStore::identifierText(0xdeadbeef12345678)),
            0xdeadbeef12345678u);
  EXPECT_EQ(PictureStore::parseIdentifier("DEADBEEF12345678"), std::nullopt);
  EXPECT_EQ(PictureStore::parseIdentifier("../etc/passwd123"), std::nullopt);
}

}  // namespace
}  // namespace kinetra
