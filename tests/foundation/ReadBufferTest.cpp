// The buffer whole files are read into: small and huge-page sized, grown while keeping what was
// read, and moved.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "foundation/ReadBuffer.h"

namespace kinetra {
namespace {

std::string pattern(std::size_t size) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i % 26);
  return text;
}

TEST(ReadBufferTest, GrowingKeepsTheBytesAlreadyReadAcrossTheHugePageSize) {
  ReadBuffer buffer;
  EXPECT_EQ(buffer.capacity(), 0u);
  ASSERT_TRUE(buffer.allocate(1000));
  const std::string start = pattern(1000);
  std::memcpy(buffer.data(), start.data(), start.size());

  const std::size_t large = (std::size_t{2} << 20) + 12345;
  ASSERT_TRUE(buffer.allocate(large, start.size()));
  EXPECT_EQ(buffer.capacity(), large);
  EXPECT_EQ(buffer.view(start.size()), start);
  const std::string whole = pattern(large);
  std::memcpy(buffer.data(), whole.data(), whole.size());  // every byte asked for is there

  ASSERT_TRUE(buffer.allocate(2 * large, large));
  EXPECT_EQ(buffer.view(large), whole);
}

TEST(ReadBufferTest, AMovedBufferOwnsTheMemoryAndTheSourceIsEmpty) {
  ReadBuffer first;
  ASSERT_TRUE(first.allocate(10));
  std::memcpy(first.data(), "0123456789", 10);
  ReadBuffer second(std::move(first));
  EXPECT_EQ(first.capacity(), 0u);  // NOLINT: a moved-from buffer is empty by contract
  EXPECT_EQ(second.view(10), "0123456789");

  ReadBuffer third;
  ASSERT_TRUE(third.allocate(5));
  third = std::move(second);
  EXPECT_EQ(third.view(10), "0123456789");
}

// A size no machine can map is refused and the buffer keeps what it had.
TEST(ReadBufferTest, MemoryThatCannotBeHadIsRefusedAndTheBufferIsUnchanged) {
  ReadBuffer buffer;
  ASSERT_TRUE(buffer.allocate(4));
  std::memcpy(buffer.data(), "keep", 4);
  EXPECT_FALSE(buffer.allocate(std::size_t{1} << 62, 4));
  EXPECT_EQ(buffer.capacity(), 4u);
  EXPECT_EQ(buffer.view(4), "keep");
}

}  // namespace
}  // namespace kinetra
