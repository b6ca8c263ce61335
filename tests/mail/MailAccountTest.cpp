#include "mail/MailAccount.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kinetra {
namespace {

TEST(MailAccountTest, TheRelayOptionGivesTheHostAndItsPortsInOrder) {
  struct Case {
    std::string text;
    std::string host;
    std::vector<std::uint16_t> ports;
  };
  const std::vector<Case> cases = {
      {"smtp.example.org", "smtp.example.org", {587}},
      {"smtp.example.org:465", "smtp.example.org", {465}},
      {"smtp.example.org:2525,587,25", "smtp.example.org", {2525, 587, 25}},
      {"127.0.0.1:65535", "127.0.0.1", {65535}},
      {"[::1]:2525", "::1", {2525}},
      {"[::1]", "::1", {587}},
  };
  for (const Case& c : cases) {
    const std::optional<MailAccount::Relay> relay = MailAccount::parseRelay(c.text);
    ASSERT_TRUE(relay) << c.text;
    EXPECT_EQ(relay->host, c.host) << c.text;
    EXPECT_EQ(relay->ports, c.ports) << c.text;
  }
}

TEST(MailAccountTest, AMalformedRelayIsRefused) {
  for (const char* text : {"", ":587", "host:", "host:0", "host:65536", "host:587,", "host:,587",
                           "host:58x", "host:-1", "[::1", "[::1]2525", "[]:25", "::1"}) {
    EXPECT_FALSE(MailAccount::parseRelay(text)) << text;
  }
}

}  // namespace
}  // namespace kinetra
