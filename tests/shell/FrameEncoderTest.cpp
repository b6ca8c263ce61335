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
