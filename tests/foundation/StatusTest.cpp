#include "foundation/DiagnosticLog.h"
#include "foundation/Status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinetra {
namespace {

Result<int> parseDigit(char c) {
  if (c < '0' || c > '9') return Status::InvalidArgument(std::string("not a digit: ") + c);
  return c - '0';
}

TEST(StatusTest, ResultCarriesEitherValueOrError) {
  Result<int> good = parseDigit('7');
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(*good, 7);
  EXPECT_TRUE(good.status().ok());

  Result<int> bad = parseDigit('x');
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.status().code(), Status::Code::kInvalidArgument);
  EXPECT_EQ(bad.status().toString(), "invalid argument: not a digit: x");
}

TEST(DiagnosticLogTest, SinkCapturesWholeLinesInOrder) {
  DiagnosticLog log;
  std::vector<std::string> lines;
  log.setSink([&](std::string_view line) { lines.emplace_back(line); });
  log.line("C: EHLO localhost");
  log.line("S: 250 OK");
  EXPECT_EQ(lines, (std::vector<std::string>{"C: EHLO localhost", "S: 250 OK"}));
}

}  // namespace
}  // namespace kinetra
