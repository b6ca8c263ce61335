#include <gtest/gtest.h>

#include <string>

#include "shell/EventDecoder.h"

namespace kinetra {
namespace {

using Kind = ShellEvent::Kind;

TEST(EventDecoderTest, EachKindOfEventIsRead) {
  auto tap = EventDecoder::decode(R"({"type":"tap","x":12.5,"y":300,"taps":2,"seq":7})");
  ASSERT_TRUE(tap.ok());
  EXPECT_EQ(tap->kind, Kind::kTap);
  EXPECT_EQ(tap->sequence, 7);
  EXPECT_DOUBLE_EQ(tap->point.x, 12.5);
  EXPECT_EQ(tap->tapCount, 2);
  EXPECT_EQ(tap->view, 0u);

  auto row = EventDecoder::decode(R"({"type":"deleteRow","view":42,"section":3,"row":9})");
  ASSERT_TRUE(row.ok());
  EXPECT_EQ(row->kind, Kind::kDeleteRow);
  EXPECT_EQ(row->view, 42u);
  EXPECT_EQ(row->indexPath, (IndexPath{3, 9}));
  EXPECT_EQ(row->sequence, -1);

  auto move = EventDecoder::decode(R"({"type":"moveRow","view":4,"from":[0,1],"to":[2,0]})");
  ASSERT_TRUE(move.ok());
  EXPECT_EQ(move->toIndexPath, (IndexPath{2, 0}));

  auto scroll =
      EventDecoder::decode(R"({"type":"scroll","view":5,"x":300,"y":0,"phase":"decelerating"})");
  ASSERT_TRUE(scroll.ok());
  EXPECT_EQ(scroll->phase, ScrollPhase::kDecelerating);

  auto text = EventDecoder::decode(R"({"type":"editText","text":"20.5 kg \u00e9"})");
  ASSERT_TRUE(text.ok());
  EXPECT_EQ(text->text, "20.5 kg \xC3\xA9");

  EXPECT_EQ(EventDecoder::decode(R"({"type":"pressReturn"})")->kind, Kind::kPressReturn);
  EXPECT_EQ(EventDecoder::decode(R"({"type":"chooseSegment","view":3,"segment":1})")->index, 1);
  EXPECT_EQ(EventDecoder::decode(R"({"type":"sectionIndex","view":3,"index":25})")->index, 25);
  EXPECT_DOUBLE_EQ(EventDecoder::decode(R"({"type":"pickDate","view":3,"date":1.7e9})")->date,
                   1.7e9);
  EXPECT_EQ(EventDecoder::decode(R"({"type":"cancelPicker","view":3})")->kind, Kind::kCancelPicker);
}

TEST(EventDecoderTest, MalformedAndUnknownEventsAreRefusedWithoutEchoingThem) {
  const std::string bad[] = {
      "",
      "not json",
      "[1,2]",
      "\"tap\"",
      R"({"x":1,"y":2})",
      R"({"type":7})",
      R"({"type":"explode","secret":"hunter2"})",
      R"({"type":"tap","x":1})",
      R"({"type":"tap","x":"1","y":2})",
      R"({"type":"tap","x":1e300,"y":2})",
      R"({"type":"tap","x":1,"y":2,"taps":0})",
      R"({"type":"tap","x":1,"y":2,"taps":4})",
      R"({"type":"tap","x":1,"y":2,"view":0})",
      R"({"type":"tap","x":1,"y":2,"seq":-1})",
      R"({"type":"tap","x":1,"y":2,"seq":1.5})",
      R"({"type":"selectRow","view":1,"section":-1,"row":0})",
      R"({"type":"selectRow","view":1,"section":0,"row":99999999999})",
      R"({"type":"selectRow","view":18446744073709551615,"section":0,"row":0})",
      R"({"type":"moveRow","view":1,"from":[0],"to":[0,1]})",
      R"({"type":"scroll","view":1,"x":0,"y":0,"phase":"flying"})",
      R"({"type":"editText","text":5})",
      R"({"type":"pickDate","view":1})",
  };
  for (const std::string& message : bad) {
    const auto event = EventDecoder::decode(message);
    ASSERT_FALSE(event.ok()) << message;
    EXPECT_EQ(event.status().code(), Status::Code::kCorrupt);
    EXPECT_EQ(event.status().message().find("hunter2"), std::string::npos);
    EXPECT_EQ(event.status().message().find("explode"), std::string::npos);
  }
}

TEST(EventDecoderTest, ARefusedEventKeepsItsNumberWhenItHasAValidOne) {
  EXPECT_EQ(EventDecoder::sequenceOf(R"({"type":"explode","seq":7})"), 7);
  EXPECT_EQ(EventDecoder::sequenceOf(R"({"type":"tap","x":1,"seq":3})"), 3);
  EXPECT_EQ(EventDecoder::sequenceOf(R"({"seq":0})"), 0);
  const std::string unnumbered[] = {
      "",
      "not json",
      R"([{"seq":1}])",
      R"({"type":"explode"})",
      R"({"type":"tap","seq":-1})",
      R"({"type":"tap","seq":1.5})",
      R"({"type":"tap","seq":"4"})",
      R"({"type":"tap","seq":18446744073709551615})",
  };
  for (const std::string& message : unnumbered) {
    EXPECT_EQ(EventDecoder::sequenceOf(message), -1) << message;
  }
}

TEST(EventDecoderTest, TextOverTheLimitIsRefused) {
  const std::string text(EventDecoder::kMaxTextBytes + 1, 'a');
  EXPECT_FALSE(EventDecoder::decode(R"({"type":"editText","text":")" + text + "\"}").ok());
  const std::string fits(EventDecoder::kMaxTextBytes, 'a');
  EXPECT_TRUE(EventDecoder::decode(R"({"type":"editText","text":")" + fits + "\"}").ok());
}

TEST(EventDecoderTest, DeeplyNestedInputDoesNotBreakTheDecoder) {
  // A whole WebSocket message's worth of brackets.
  const std::string nested = std::string(500'000, '[') + std::string(500'000, ']');
  EXPECT_FALSE(EventDecoder::decode(nested).ok());
  const std::string inField = R"({"type":"tap","x":1,"y":2,"junk":)" + std::string(300'000, '[') +
                              std::string(300'000, ']') + "}";
  EXPECT_TRUE(EventDecoder::decode(inField).ok());
}

}  // namespace
}  // namespace kinetra
