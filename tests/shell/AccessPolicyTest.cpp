#include <gtest/gtest.h>

#include "shell/AccessPolicy.h"
#include "shell/UrlComponents.h"

namespace kinetra {
namespace {

HttpRequestHead get(std::string host, std::string target = "/") {
  HttpRequestHead head;
  head.method = "GET";
  head.target = target;
  const std::size_t question = target.find('?');
  head.path = target.substr(0, question);
  if (question != std::string::npos) head.query = target.substr(question + 1);
  head.host = std::move(host);
  return head;
}

HttpRequestHead upgrade(std::string host, std::optional<std::string> origin) {
  HttpRequestHead head = get(std::move(host), "/ws");
  head.webSocketUpgrade = true;
  head.hasOrigin = origin.has_value();
  head.origin = origin.value_or("");
  return head;
}

AccessPolicy loopbackPolicy() { return *AccessPolicy::create("127.0.0.1", 8080, std::nullopt, {}); }

TEST(AccessPolicyTest, OnLoopbackOnlyThisMachinesNamesAreAnswered) {
  const AccessPolicy policy = loopbackPolicy();
  for (const char* host : {"localhost", "localhost:8080", "LOCALHOST:8080", "127.0.0.1",
                           "127.0.0.1:8080", "127.1.2.3:80", "[::1]:8080", "[::1]"}) {
    EXPECT_TRUE(policy.check(get(host)).allowed) << host;
  }
  // DNS rebinding: a foreign name that resolves to 127.0.0.1 still arrives with its own name.
  for (const char* host :
       {"evil.example", "evil.example:8080", "127.0.0.1.evil.example", "localhost.evil.example",
        "localhost.", "", ":8080", "[::1", "127.0.0.1:80x", "192.168.1.5:8080", "0.0.0.0:8080"}) {
    const AccessPolicy::Decision decision = policy.check(get(host));
    EXPECT_FALSE(decision.allowed) << host;
    EXPECT_EQ(decision.reply.status, 403) << host;
  }
}

TEST(AccessPolicyTest, BeyondLoopbackTheMachinesOwnAddressesAreAnsweredToo) {
  const AccessPolicy all =
      *AccessPolicy::create("0.0.0.0", 8080, std::nullopt, {"192.168.1.5", "fe80::1", "127.0.0.1"});
  EXPECT_TRUE(all.isAllowedHost("192.168.1.5:8080"));
  EXPECT_TRUE(all.isAllowedHost("[fe80::1]:8080"));
  EXPECT_TRUE(all.isAllowedHost("localhost:8080"));
  EXPECT_FALSE(all.isAllowedHost("10.0.0.7:8080"));
  EXPECT_FALSE(all.isAllowedHost("kinetra.example:8080"));
  const AccessPolicy one = *AccessPolicy::create("192.168.1.5", 8080, std::nullopt, {"10.0.0.7"});
  EXPECT_TRUE(one.isAllowedHost("192.168.1.5"));
  EXPECT_FALSE(one.isAllowedHost("10.0.0.7"));
}

TEST(AccessPolicyTest, BeyondLoopbackATokenIsAlwaysRequiredAndGeneratedWhenNotGiven) {
  const AccessPolicy generated = *AccessPolicy::create("0.0.0.0", 8080, std::nullopt, {});
  EXPECT_TRUE(generated.requiresToken());
  EXPECT_EQ(generated.token().size(), 32u);  // 128 bits in hex
  const AccessPolicy other = *AccessPolicy::create("::", 8080, std::nullopt, {});
  EXPECT_NE(generated.token(), other.token());
  EXPECT_FALSE(loopbackPolicy().requiresToken());
  EXPECT_TRUE(AccessPolicy::create("127.0.0.1", 8080, std::string(22, 'k'), {})->requiresToken());
}

TEST(AccessPolicyTest, WeakOrOddTokensAndAddressesAreRefused) {
  EXPECT_FALSE(AccessPolicy::create("0.0.0.0", 8080, std::string("short"), {}).ok());
  EXPECT_FALSE(AccessPolicy::create("0.0.0.0", 8080, std::string(30, 'a') + " b", {}).ok());
  EXPECT_FALSE(AccessPolicy::create("0.0.0.0", 8080, std::string(30, 'a') + "&", {}).ok());
  EXPECT_FALSE(AccessPolicy::create("my-laptop.local", 8080, std::nullopt, {}).ok());
  EXPECT_TRUE(AccessPolicy::create("0.0.0.0", 8080, std::string(22, 'a'), {}).ok());
}

TEST(AccessPolicyTest, TheTokenComesFromTheQueryOnceThenFromTheCookie) {
  const std::string token = "abcdefghijklmnopqrstuvwxyz0123";
  const AccessPolicy policy = *AccessPolicy::create("0.0.0.0", 9000, token, {});

  const AccessPolicy::Decision none = policy.check(get("127.0.0.1:9000"));
  EXPECT_FALSE(none.allowed);
  EXPECT_EQ(none.reply.status, 401);
  EXPECT_EQ(none.reason.find(token), std::string::npos);

  const AccessPolicy::Decision wrong =
      policy.check(get("127.0.0.1:9000", "/?token=" + token + "x"));
  EXPECT_EQ(wrong.reply.status, 401);

  const AccessPolicy::Decision first =
      policy.check(get("127.0.0.1:9000", "/index.html?a=1&token=" + token));
  EXPECT_FALSE(first.allowed);
  EXPECT_TRUE(first.redirect);
  EXPECT_EQ(first.reply.status, 303);
  std::string location;
  std::string cookie;
  for (const auto& [name, value] : first.reply.headers) {
    if (name == "Location") location = value;
    if (name == "Set-Cookie") cookie = value;
  }
  EXPECT_EQ(location, "/index.html?a=1");
  EXPECT_EQ(cookie, "kinetra_token_9000=" + token + "; Path=/; HttpOnly; SameSite=Strict");

  HttpRequestHead later = get("127.0.0.1:9000", "/client/main.js");
  later.cookie = "other=1; kinetra_token_9000=" + token;
  EXPECT_TRUE(policy.check(later).allowed);
  later.cookie = "kinetra_token_8080=" + token;  // another shell's cookie
  EXPECT_FALSE(policy.check(later).allowed);
  later.cookie = "kinetra_token_9000=" + token.substr(1);
  EXPECT_FALSE(policy.check(later).allowed);
}

TEST(AccessPolicyTest, WebSocketsAndPostsMustComeFromTheShellsOwnOrigin) {
  const AccessPolicy policy = loopbackPolicy();
  EXPECT_TRUE(policy.check(upgrade("localhost:8080", "http://localhost:8080")).allowed);
  EXPECT_TRUE(policy.check(upgrade("127.0.0.1:8080", "HTTP://127.0.0.1:8080")).allowed);
  for (const std::optional<std::string>& origin : std::vector<std::optional<std::string>>{
           std::nullopt, "", "null", "http://evil.example", "http://localhost:8081",
           "https://localhost:8080", "http://127.0.0.1:8080"}) {
    const AccessPolicy::Decision decision = policy.check(upgrade("localhost:8080", origin));
    EXPECT_FALSE(decision.allowed) << origin.value_or("(none)");
    EXPECT_EQ(decision.reply.status, 403);
  }
  HttpRequestHead post = get("localhost:8080", "/photo/12");
  post.method = "POST";
  EXPECT_FALSE(policy.check(post).allowed);
  post.hasOrigin = true;
  post.origin = "http://localhost:8080";
  EXPECT_TRUE(policy.check(post).allowed);
}

TEST(AccessPolicyTest, TokensCompareByContentOnly) {
  EXPECT_TRUE(AccessPolicy::tokensEqual("same-token-value", "same-token-value"));
  EXPECT_FALSE(AccessPolicy::tokensEqual("same-token-value", "same-token-valuE"));
  EXPECT_FALSE(AccessPolicy::tokensEqual("same-token-value", "same-token-value-longer"));
  EXPECT_FALSE(AccessPolicy::tokensEqual("", "x"));
}

TEST(UrlComponentsTest, EscapesAreDecodedOnceAndBadOnesRefused) {
  EXPECT_EQ(UrlComponents::percentDecode("My%20Photo.jpg"), "My Photo.jpg");
  EXPECT_EQ(UrlComponents::percentDecode("%252e"), "%2e");
  EXPECT_EQ(UrlComponents::percentDecode("a%2"), std::nullopt);
  EXPECT_EQ(UrlComponents::percentDecode("a%zz"), std::nullopt);
  EXPECT_EQ(UrlComponents::percentDecode("a%00b"), std::nullopt);
  EXPECT_EQ(UrlComponents::queryParameter("a=1&token=x%2Dy&token=z", "token"), "x-y");
  EXPECT_EQ(UrlComponents::queryParameter("tokens=1", "token"), std::nullopt);
  EXPECT_EQ(UrlComponents::queryWithout("token=1&a=2&&token=3&b", "token"), "a=2&b");
}

}  // namespace
}  // namespace kinetra
