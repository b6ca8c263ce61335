// The document picker: what the screen says of it, and a file handed to it by the finger.
#include "ui/DocumentPickerController.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/Finger.h"
#include "ui/NavigationController.h"

namespace kinetra {
namespace {

class Keeper : public DocumentPickerControllerDelegate {
 public:
  void didPickDocument(DocumentPickerController&, const std::vector<std::uint8_t>& bytes) override {
    picked.push_back(bytes);
  }
  void documentPickerWasCancelled(DocumentPickerController&) override { ++cancelled; }

  std::vector<std::vector<std::uint8_t>> picked;
  int cancelled = 0;
};

const ViewDescription* ofKind(const ViewDescription& description, const std::string& kind) {
  if (description.kind == kind) return &description;
  for (const ViewDescription& subview : description.subviews) {
    if (const ViewDescription* found = ofKind(subview, kind)) return found;
  }
  return nullptr;
}

class DocumentPickerTest : public test::UiTest {
 protected:
  void SetUp() override {
    test::UiTest::SetUp();
    picker.setDelegate(&keeper);
    picker.setMaxBytes(8);
  }
  void show() {
    Application::shared().window().addSubview(navigation.view());
    navigation.pushViewController(picker, Animated::No);
  }

  ViewController root;
  NavigationController navigation{root};
  DocumentPickerController picker;
  Keeper keeper;
  Finger finger;
};

TEST_F(DocumentPickerTest, TheScreenNamesItsKindsOfFileItsLimitAndItsPrompt) {
  picker.setAllowedTypes({".csv", "text/csv"});
  picker.setPrompt("A log as CSV.");
  show();
  const ScreenDescription screen = Application::shared().describeScreen();
  const ViewDescription* view = ofKind(screen.window, "documentPicker");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->acceptedTypes, ".csv,text/csv");
  EXPECT_EQ(view->maxBytes, 8u);
  EXPECT_EQ(view->text, std::optional<std::string>("A log as CSV."));
}

TEST_F(DocumentPickerTest, AFileReachesTheDelegateOnlyWhileShownAndWithinTheLimit) {
  const std::vector<std::uint8_t> file{'a', ',', 'b', '\n', 0, 0xFF};
  EXPECT_EQ(finger.pickDocument(picker, file).code(), Status::Code::kNotFound);
  EXPECT_EQ(finger.cancelPicker(picker).code(), Status::Code::kNotFound);
  show();
  EXPECT_EQ(finger.pickDocument(picker, std::vector<std::uint8_t>(9, 'x')).code(),
            Status::Code::kTooLarge);
  EXPECT_TRUE(keeper.picked.empty());
  ASSERT_TRUE(finger.pickDocument(picker, file).ok());
  ASSERT_TRUE(finger.pickDocument(picker, std::vector<std::uint8_t>(8, 'x')).ok());
  EXPECT_EQ(keeper.picked,
            (std::vector<std::vector<std::uint8_t>>{file, std::vector<std::uint8_t>(8, 'x')}));
  ASSERT_TRUE(finger.cancelPicker(picker).ok());
  EXPECT_EQ(keeper.cancelled, 1);
}

}  // namespace
}  // namespace kinetra
