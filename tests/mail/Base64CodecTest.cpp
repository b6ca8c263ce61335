#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "mail/Base64Codec.h"
#include "mail/Base64Data.h"

namespace kinetra {
namespace {

std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

std::string encoded(std::string_view text) {
  Result<std::string> result = Base64Data::encodeBase64(text);
  EXPECT_TRUE(result.ok());
  return result ? *result : std::string("<failed>");
}

std::string decoded(std::string_view text) {
  Result<std::vector<std::uint8_t>> result = Base64Data::decodeBase64(text);
  EXPECT_TRUE(result.ok());
  return result ? std::string(result->begin(), result->end()) : std::string("<failed>");
}

TEST(Base64CodecTest, EncodesWithPaddingAndWithoutLineBreaks) {
  EXPECT_EQ(encoded(""), "");
  EXPECT_EQ(encoded("a"), "YQ==");
  EXPECT_EQ(encoded("ab"), "YWI=");
  EXPECT_EQ(encoded("abc"), "YWJj");
  EXPECT_EQ(encoded(std::string("\0\xff\xfe", 3)), "AP/+");
  const std::string long_(300, 'x');
  EXPECT_EQ(encoded(long_).find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(encoded(long_).size(), 400u);
}

TEST(Base64CodecTest, EstimatesAllowTwoBytesPerSeventyTwoCharacterLine) {
  EXPECT_EQ(EstimateBase64EncodedDataSize(0), 0u);
  EXPECT_EQ(EstimateBase64EncodedDataSize(1), 4u);
  EXPECT_EQ(EstimateBase64EncodedDataSize(54), 74u);  // exactly one full line of 72
  EXPECT_EQ(EstimateBase64EncodedDataSize(100), 138u);
  EXPECT_EQ(EstimateBase64DecodedDataSize(0), 0u);
  EXPECT_EQ(EstimateBase64DecodedDataSize(1), 3u);
  EXPECT_EQ(EstimateBase64DecodedDataSize(4), 3u);
  EXPECT_EQ(EstimateBase64DecodedDataSize(5), 6u);
  // Sizes whose estimate would wrap around saturate instead.
  EXPECT_EQ(EstimateBase64EncodedDataSize(SIZE_MAX), SIZE_MAX);
  EXPECT_EQ(EstimateBase64EncodedDataSize(SIZE_MAX / 4 * 3), SIZE_MAX);
}

TEST(Base64CodecTest, EncoderNeedsTheWholeEstimateButWritesOnlyTheCharacters) {
  const std::vector<std::uint8_t> input(100, 0x41);
  std::vector<char> output(137, '#');
  std::size_t length = 999;
  EXPECT_FALSE(Base64EncodeData(input, output, length));
  EXPECT_EQ(length, 999u);
  EXPECT_EQ(output, std::vector<char>(137, '#'));  // nothing written on failure

  output.assign(138, '#');
  ASSERT_TRUE(Base64EncodeData(input, output, length));
  EXPECT_EQ(length, 138u);
  EXPECT_EQ(std::string(output.data(), 136), encoded(std::string(100, 'A')));
  EXPECT_EQ(std::string(output.data() + 136, 2), "##");
}

TEST(Base64CodecTest, DecoderFillsWithDotsAndRefusesABufferBelowTheEstimate) {
  const std::string text = "YWJj";  // needs 3
  std::vector<std::uint8_t> small(2, 0);
  std::size_t length = 7;
  EXPECT_FALSE(Base64DecodeData(text, small, length));
  EXPECT_EQ(small, bytesOf(".."));
  EXPECT_EQ(length, 7u);

  std::vector<std::uint8_t> roomy(6, 0);
  ASSERT_TRUE(Base64DecodeData("YQ==", roomy, length));
  EXPECT_EQ(length, 1u);
  EXPECT_EQ(roomy, bytesOf("a....."));
}

TEST(Base64CodecTest, DecoderSkipsWhiteSpaceAndForeignCharactersAndStopsAtPadding) {
  EXPECT_EQ(decoded("YW Jj\r\n"), "abc");
  EXPECT_EQ(decoded("Y\tW\vJ\fj"), "abc");
  EXPECT_EQ(decoded("YW*J!j"), "abc");
  EXPECT_EQ(decoded("YW\xc3\xa9Jj\xff"), "abc");  // codes from 128 up are ignored
  EXPECT_EQ(decoded(std::string("YW\0Jj", 5)), "abc");
  EXPECT_EQ(decoded("YQ==YWJj"), "a");  // decoding ends at the first "="
  EXPECT_EQ(decoded("=YWJj"), "");
  EXPECT_EQ(decoded("YWJjZA"), "abcd");  // unpadded tail
  EXPECT_EQ(decoded("YWJjZ"), "abc");    // six bits make no byte: dropped
  EXPECT_EQ(decoded(""), "");
}

TEST(Base64CodecTest, WebSafeVariantSwapsTheTwoSymbols) {
  const std::vector<std::uint8_t> bytes = {0xfb, 0xff, 0xbf};  // "+/+/" in the standard form
  Result<std::string> standard = Base64Data::encodeBase64(bytes);
  Result<std::string> webSafe = Base64Data::encodeWebSafeBase64(bytes);
  ASSERT_TRUE(standard.ok() && webSafe.ok());
  EXPECT_EQ(*standard, "+/+/");
  EXPECT_EQ(*webSafe, "-_-_");
  Result<std::vector<std::uint8_t>> back = Base64Data::decodeWebSafeBase64(*webSafe);
  ASSERT_TRUE(back.ok());
  EXPECT_EQ(*back, bytes);
}

TEST(Base64CodecTest, RandomBuffersOfEveryShortLengthRoundTrip) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t size = 0; size < 600; size += (size < 70 ? 1 : 37)) {
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
    Result<std::string> text = Base64Data::encodeBase64(bytes);
    ASSERT_TRUE(text.ok());
    ASSERT_EQ(text->size(), (size + 2) / 3 * 4);
    Result<std::vector<std::uint8_t>> back = Base64Data::decodeBase64(*text);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back, bytes) << size;

    // The same text folded at 76 columns with CRLF, as mail carries it, decodes the same.
    std::string folded;
    for (std::size_t at = 0; at < text->size(); at += 76) folded += text->substr(at, 76) + "\r\n";
    Result<std::vector<std::uint8_t>> unfolded = Base64Data::decodeBase64(folded);
    ASSERT_TRUE(unfolded.ok());
    EXPECT_EQ(*unfolded, bytes) << size;
  }
}

}  // namespace
}  // namespace kinetra
