#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/Finger.h"
#include "ui/TextField.h"
#include "ui/TextView.h"

namespace kinetra {
namespace {

class FieldWatcher : public TextFieldDelegate {
 public:
  bool textFieldShouldReturn(TextField& field) override {
    returned.push_back(field.text());
    field.resignFirstResponder();
    return true;
  }
  bool shouldChangeCharactersInRange(TextField&, TextRange range,
                                     const std::string& text) override {
    edits.push_back(std::to_string(range.location) + "+" + std::to_string(range.length) + ":" +
                    text);
    return true;
  }
  bool textFieldShouldBeginEditing(TextField&) override { return allowEditing; }
  std::vector<std::string> returned;
  std::vector<std::string> edits;
  bool allowEditing = true;
};

// Refuses digits, and gives up the keyboard on a line feed while still accepting it.
class ViewWatcher : public TextViewDelegate {
 public:
  bool shouldChangeTextInRange(TextView& view, TextRange, const std::string& text) override {
    if (text.find_first_of("0123456789") != std::string::npos) return false;
    if (!text.empty() && text.back() == '\n') view.resignFirstResponder();
    return true;
  }
};

class TextInputTest : public test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    window().addSubview(field);
    window().addSubview(notes);
    field.setDelegate(&fieldWatcher);
    notes.setDelegate(&viewWatcher);
  }

  TextField field{Rect{10, 10, 200, 31}};
  TextView notes{Rect{10, 100, 300, 200}};
  FieldWatcher fieldWatcher;
  ViewWatcher viewWatcher;
  Finger finger;
};

TEST_F(TextInputTest, TypingGoesToTheFocusedFieldAndReturnAsksTheDelegate) {
  EXPECT_EQ(finger.type("lost").code(), Status::Code::kNotFound);
  ASSERT_TRUE(finger.typeInto(field, "Leg day").ok());
  EXPECT_TRUE(field.isFirstResponder());
  EXPECT_EQ(field.text(), "Leg day");
  EXPECT_EQ(fieldWatcher.edits, (std::vector<std::string>{"0+0:Leg day"}));
  ASSERT_TRUE(finger.pressReturn().ok());
  EXPECT_EQ(fieldWatcher.returned, (std::vector<std::string>{"Leg day"}));
  EXPECT_FALSE(field.isFirstResponder());
  EXPECT_EQ(finger.pressReturn().code(), Status::Code::kNotFound);
}

TEST_F(TextInputTest, TheDelegateCanRefuseTheKeyboardAndTheNumberPadTypesDigitsOnly) {
  fieldWatcher.allowEditing = false;
  EXPECT_EQ(finger.typeInto(field, "x").code(), Status::Code::kNotFound);
  EXPECT_EQ(field.text(), "");
  fieldWatcher.allowEditing = true;
  field.setKeyboardType(KeyboardType::kNumberPad);
  ASSERT_TRUE(finger.typeInto(field, "8a2.5").ok());
  EXPECT_EQ(field.text(), "825");
  ASSERT_TRUE(finger.deleteBackward().ok());
  EXPECT_EQ(field.text(), "82");
  field.setEnabled(false);
  field.resignFirstResponder();
  EXPECT_EQ(finger.typeInto(field, "1").code(), Status::Code::kNotFound);
}

TEST_F(TextInputTest, TheScreensWholeTextBecomesOneEdit) {
  field.setText("20 kg");
  ASSERT_TRUE(field.becomeFirstResponder());
  ASSERT_TRUE(finger.editText("22.5 kg").ok());
  EXPECT_EQ(field.text(), "22.5 kg");
  EXPECT_EQ(fieldWatcher.edits.back(), "1+1:2.5");
  ASSERT_TRUE(finger.editText("22.5 kg").ok());  // no change: nobody asked
  EXPECT_EQ(fieldWatcher.edits.size(), 1u);
}

TEST_F(TextInputTest, ATextViewDelegateCanRefuseTypingAndReturnIsALineFeed) {
  ASSERT_TRUE(finger.typeInto(notes, "Squat").ok());
  EXPECT_EQ(finger.type(" 5x5").code(), Status::Code::kCancelled);
  EXPECT_EQ(notes.text(), "Squat");
  ASSERT_TRUE(finger.pressReturn().ok());
  EXPECT_EQ(notes.text(), "Squat\n");  // accepted, and the keyboard is gone
  EXPECT_FALSE(notes.isFirstResponder());
  notes.setEditable(false);
  EXPECT_EQ(finger.typeInto(notes, "more").code(), Status::Code::kNotFound);
}

TEST_F(TextInputTest, FocusMovesAndLeavesWithRemovedOrDestroyedViews) {
  ASSERT_TRUE(finger.tap(field).ok());
  ASSERT_TRUE(finger.tap(notes).ok());
  EXPECT_FALSE(field.isFirstResponder());
  EXPECT_TRUE(notes.isFirstResponder());
  notes.removeFromSuperview();
  EXPECT_EQ(application().firstResponder(), nullptr);
  {
    TextField temporary(Rect{0, 300, 100, 30});
    window().addSubview(temporary);
    ASSERT_TRUE(finger.tap(temporary).ok());
    EXPECT_EQ(application().firstResponder(), &temporary);
  }
  EXPECT_EQ(application().firstResponder(), nullptr);
  EXPECT_EQ(finger.type("x").code(), Status::Code::kNotFound);

  // Taking a pane off the screen takes the keyboard from the field inside it.
  View pane(Rect{0, 320, 320, 100});
  TextField inner(Rect{0, 0, 100, 30});
  pane.addSubview(inner);
  window().addSubview(pane);
  ASSERT_TRUE(finger.tap(inner).ok());
  EXPECT_TRUE(inner.isFirstResponder());
  pane.removeFromSuperview();
  EXPECT_FALSE(inner.isFirstResponder());
}

TEST(TextRangeTest, EditsStayOnWholeCharacters) {
  const std::string text = "caf\xC3\xA9!";                         // "café!"
  EXPECT_EQ(TextRange::clamped(text, {4, 1}), (TextRange{3, 0}));  // inside the é
  EXPECT_EQ(TextRange::clamped(text, {99, 5}), (TextRange{6, 0}));
  EXPECT_EQ(TextRange::replacing(text, {3, 2}, "e"), "cafe!");
  std::string replacement;
  // é → è share their first byte; the edit still covers the whole character.
  const TextRange range = TextRange::difference(text, "caf\xC3\xA8!", replacement);
  EXPECT_EQ(range, (TextRange{3, 2}));
  EXPECT_EQ(replacement, "\xC3\xA8");
  EXPECT_EQ(TextRange::difference("aaa", "aaaa", replacement), (TextRange{3, 0}));
  EXPECT_EQ(replacement, "a");
}

}  // namespace
}  // namespace kinetra
