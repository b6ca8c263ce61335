#include <gtest/gtest.h>

#include <set>
#include <string>

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
  for (const char* host :
       {"localhost", "localhost:8080", "LOCALHOST:8080", "127.0.0.1", "127.0.0.1:8080",
        "127.1.2.3:80", "[::1]:8080", "[::1]", "localhost:1", "127.0.0.1:65535", "[::1]:08080"}) {
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
  // A port is 1 to 65535, in digits.
  for (const char* host : {"127.0.0.1:99999", "127.0.0.1:", "127.0.0.1:0", "localhost:65536",
                           "localhost:+80", "localhost:-1", "localhost: 80", "localhost:8080:80",
                           "[::1]:", "[::1]:99999", "[::1]:0", "[::1]x", "127.0.0.1:123456"}) {
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

// An address the machine gains after the start (a lease, a VPN) is answered once it is there; one
// it lost is not; names never are, and a policy bound to one address never lists again.
TEST(AccessPolicyTest, BoundToEveryAddressTheMachinesAddressesAreListedAgainForANewOne) {
  std::vector<std::string> now = {"192.168.1.5"};
  int listings = 0;
  const auto relist = [&] {
    ++listings;
    return now;
  };
  const AccessPolicy all = *AccessPolicy::create("::", 8080, std::nullopt, now, relist);
  EXPECT_TRUE(all.isAllowedHost("192.168.1.5:8080"));
  EXPECT_EQ(listings, 0);
  EXPECT_FALSE(all.isAllowedHost("100.64.0.9:8080"));
  EXPECT_EQ(listings, 1);
  now = {"100.64.0.9", "fd00::9"};
  EXPECT_TRUE(all.isAllowedHost("100.64.0.9:8080"));
  EXPECT_TRUE(all.isAllowedHost("[FD00::9]:8080"));
  EXPECT_FALSE(all.isAllowedHost("192.168.1.5:8080"));  // the old lease is gone
  EXPECT_FALSE(all.isAllowedHost("kinetra.example:8080"));
  EXPECT_FALSE(all.isAllowedHost("localhost.:8080"));
  const int before = listings;
  EXPECT_FALSE(all.isAllowedHost("kinetra.example:8080"));
  EXPECT_EQ(listings, before);  // a name is refused without asking

  const AccessPolicy one =
      *AccessPolicy::create("192.168.1.5", 8080, std::nullopt, {"192.168.1.5"}, relist);
  listings = 0;
  EXPECT_FALSE(one.isAllowedHost("100.64.0.9:8080"));
  EXPECT_EQ(listings, 0);
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

TEST(AccessPolicyTest, TheRedirectAfterTheTokenNeverLeavesThisServer) {
  const std::string token = "abcdefghijklmnopqrstuvwxyz0123";
  const AccessPolicy policy = *AccessPolicy::create("0.0.0.0", 9000, token, {});
  struct Case {
    const char* label;
    std::string target;  // before the token is added to its query
    std::string location;
  };
  const std::vector<Case> cases = {
      {"root", "/", "/"},
      {"page with its query", "/index.html?a=1&b=x%20y", "/index.html?a=1&b=x%20y"},
      {"client file", "/client/main.js", "/client/main.js"},
      {"escaped name", "/documents/My%20Photo.jpg", "/documents/My%20Photo.jpg"},
      {"protocol-relative", "//evil.example/", "/"},
      {"protocol-relative with path", "//evil.example/x?a=1", "/?a=1"},
      {"three slashes", "///evil.example", "/"},
      {"backslash", "/\\evil.example", "/"},
      {"slash backslash slash", "/\\/evil.example", "/"},
      {"escaped slashes", "/%2F%2Fevil.example", "/"},
      {"escaped slashes, lower case", "/%2f%2fevil.example", "/"},
      {"escaped backslash", "/%5Cevil.example", "/"},
      {"escaped backslash, lower case", "/%5cevil.example", "/"},
      {"tab between slashes", "/\t/evil.example", "/"},
      {"newline between slashes", "/\n/evil.example", "/"},
      {"carriage return between slashes", "/\r/evil.example", "/"},
      {"escaped tab", "/%09/evil.example", "/"},
      {"escaped newline", "/%0a/evil.example", "/"},
      {"space", "/ /evil.example", "/"},
      {"absolute URL", "http://evil.example/", "/"},
      {"absolute URL without slashes", "http:evil.example", "/"},
      {"javascript URL", "javascript:alert(1)", "/"},
      {"no leading slash", "evil.example", "/"},
      {"empty path", "", "/"},
      {"dot-dot then two slashes", "/..//evil.example", "/"},
      {"dot then two slashes", "/.//evil.example", "/"},
      {"dot-dot segment", "/client/../index.html", "/"},
      {"escaped dot-dot", "/%2e%2e/%2e%2e//evil.example", "/"},
      {"empty segment inside", "/client//main.js", "/"},
      {"bad escape", "/%zz", "/"},
      {"escaped percent", "/%25252F", "/"},
      {"raw high bytes", "/\xc3\xa9", "/"},
      {"header injection in the query", "/?a=%0d%0aSet-Cookie:%20x=1", "/"},
      {"backslash in the query", "/?next=\\evil.example", "/"},
      {"raw newline in the query", "/?a=1\r\nLocation:%20//evil.example", "/"},
  };
  for (const Case& c : cases) {
    const std::string target =
        c.target + (c.target.find('?') == std::string::npos ? "?" : "&") + "token=" + token;
    const AccessPolicy::Decision decision = policy.check(get("127.0.0.1:9000", target));
    ASSERT_TRUE(decision.redirect) << c.label;
    std::string location;
    for (const auto& [name, value] : decision.reply.headers) {
      if (name == "Location") location = value;
    }
    EXPECT_EQ(location, c.location) << c.label << ": " << c.target;
  }
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
  EXPECT_FALSE(AccessPolicy::tokensEqual("x", ""));
  EXPECT_TRUE(AccessPolicy::tokensEqual("", ""));
  // The expected token repeated, or cut short, is not it.
  EXPECT_FALSE(AccessPolicy::tokensEqual("abcabc", "abc"));
  EXPECT_FALSE(AccessPolicy::tokensEqual("ab", "abc"));
  EXPECT_FALSE(AccessPolicy::tokensEqual(std::string(1, '\0'), std::string(2, '\0')));
}

TEST(AccessPolicyTest, GeneratedTokensAre128RandomBitsInHex) {
  std::set<std::string> tokens;
  for (int i = 0; i < 64; ++i) {
    const std::string token = AccessPolicy::generateToken();
    EXPECT_EQ(token.size(), 32U);
    EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos) << token;
    tokens.insert(token);
  }
  EXPECT_EQ(tokens.size(), 64U);
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
