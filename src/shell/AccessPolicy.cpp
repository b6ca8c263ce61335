#include "shell/AccessPolicy.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/random.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "foundation/AsciiText.h"
#include "shell/UrlComponents.h"

namespace kinetra {

namespace {

// The canonical text of an IPv4 or IPv6 literal, or nothing when `literal` is not one.
std::optional<std::string> canonicalAddress(std::string_view literal) {
  const std::string text(literal);
  std::array<char, INET6_ADDRSTRLEN> out{};
  in_addr v4{};
  if (::inet_pton(AF_INET, text.c_str(), &v4) == 1) {
    if (::inet_ntop(AF_INET, &v4, out.data(), out.size()) == nullptr) return std::nullopt;
    return std::string(out.data());
  }
  in6_addr v6{};
  if (::inet_pton(AF_INET6, text.c_str(), &v6) == 1) {
    if (::inet_ntop(AF_INET6, &v6, out.data(), out.size()) == nullptr) return std::nullopt;
    return std::string(out.data());
  }
  return std::nullopt;
}

bool isUnspecified(const std::string& canonical) {
  return canonical == "0.0.0.0" || canonical == "::";
}

bool isTokenCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.' || c == '_' ||
         c == '~';
}

HttpReply refusal(int status, const std::string& text) { return HttpReply::text(status, text); }

// 1 to 65535, in decimal digits only.
bool isPortNumber(std::string_view text) {
  if (text.empty() || text.size() > 5) return false;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value >= 1 && value <= 65535;
}

}  // namespace

Result<AccessPolicy> AccessPolicy::create(std::string_view bindAddress, std::uint16_t port,
                                          std::optional<std::string> token,
                                          std::vector<std::string> machineAddresses,
                                          AddressLister relist) {
  const std::optional<std::string> bound = canonicalAddress(bindAddress);
  if (!bound) return Status::InvalidArgument("the bind address is not a numeric address");
  if (token) {
    if (token->size() < kMinimumTokenLength ||
        !std::all_of(token->begin(), token->end(), isTokenCharacter)) {
      return Status::InvalidArgument(
          "the access token must be at least 22 characters of A-Z, a-z, 0-9, '-', '.', '_', "
          "'~'");
    }
  }
  AccessPolicy policy;
  policy.port_ = port;
  policy.beyondLoopback_ = !isLoopbackAddress(*bound);
  if (policy.beyondLoopback_) {
    if (isUnspecified(*bound)) {
      policy.everyAddress_ = true;
      policy.relist_ = std::move(relist);
      policy.takeMachineAddresses(machineAddresses);
    } else {
      policy.allowedAddresses_.push_back(*bound);
    }
    // There is no way to serve beyond loopback without a token.
    policy.token_ = token ? *token : generateToken();
  } else if (token) {
    policy.token_ = *token;
  }
  return policy;
}

std::vector<std::string> AccessPolicy::ownAddresses() {
  std::vector<std::string> addresses;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return addresses;
  const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owned(list, &::freeifaddrs);
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr) continue;
    std::array<char, INET6_ADDRSTRLEN> out{};
    const int family = entry->ifa_addr->sa_family;
    const void* raw = nullptr;
    sockaddr_in v4{};
    sockaddr_in6 v6{};
    if (family == AF_INET) {
      std::memcpy(&v4, entry->ifa_addr, sizeof v4);
      raw = &v4.sin_addr;
    } else if (family == AF_INET6) {
      std::memcpy(&v6, entry->ifa_addr, sizeof v6);
      raw = &v6.sin6_addr;
    } else {
      continue;
    }
    if (::inet_ntop(family, raw, out.data(), out.size()) != nullptr) {
      addresses.emplace_back(out.data());
    }
  }
  return addresses;
}

std::string AccessPolicy::generateToken() {
  std::array<unsigned char, 16> random{};
  std::size_t filled = 0;
  while (filled < random.size()) {
    const ssize_t n = ::getrandom(random.data() + filled, random.size() - filled, 0);
    if (n > 0) {
      filled += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      // Without randomness there is no safe token; the caller cannot go on serving. Abort
      // rather than hand out something guessable.
      std::abort();
    }
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (unsigned char byte : random) {
    token += kHex[byte >> 4];
    token += kHex[byte & 0x0F];
  }
  return token;
}

bool AccessPolicy::tokensEqual(std::string_view presented, std::string_view expected) {
  if (expected.empty()) return presented.empty();
  // Every presented byte is compared, against the expected bytes repeated as far as needed,
  // and the differences gathered without a branch on them: the time depends on the presented
  // value's length alone, never on where it differs nor on the expected value's length.
  unsigned difference = presented.size() == expected.size() ? 0U : 1U;
  for (std::size_t i = 0; i < presented.size(); ++i) {
    difference |= static_cast<unsigned char>(presented[i]) ^
                  static_cast<unsigned char>(expected[i % expected.size()]);
  }
  const volatile unsigned gathered = difference;
  return gathered == 0;
}

bool AccessPolicy::isLoopbackAddress(std::string_view literal) {
  const std::optional<std::string> canonical = canonicalAddress(literal);
  if (!canonical) return false;
  if (*canonical == "::1") return true;
  std::string_view v4 = *canonical;
  if (v4.starts_with("::ffff:")) v4.remove_prefix(7);
  in_addr address{};
  if (::inet_pton(AF_INET, std::string(v4).c_str(), &address) != 1) return false;
  return (ntohl(address.s_addr) >> 24) == 127;
}

std::string AccessPolicy::cookieName() const { return "kinetra_token_" + std::to_string(port_); }

std::optional<std::string> AccessPolicy::hostName(std::string_view hostHeader) {
  std::string_view host = hostHeader;
  std::string_view port;
  bool hasPort = false;
  if (host.starts_with('[')) {
    const std::size_t close = host.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view rest = host.substr(close + 1);
    host = host.substr(1, close - 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      port = rest.substr(1);
      hasPort = true;
    }
  } else {
    const std::size_t colon = host.find(':');
    if (colon != std::string_view::npos) {
      port = host.substr(colon + 1);
      host = host.substr(0, colon);
      hasPort = true;
    }
  }
  if (host.empty() || (hasPort && !isPortNumber(port))) return std::nullopt;
  return asciiLowercase(host);
}

void AccessPolicy::takeMachineAddresses(const std::vector<std::string>& addresses) const {
  allowedAddresses_.clear();
  for (const std::string& address : addresses) {
    if (auto canonical = canonicalAddress(address)) allowedAddresses_.push_back(*canonical);
  }
}

bool AccessPolicy::isAllowedHost(std::string_view hostHeader) const {
  const std::optional<std::string> host = hostName(hostHeader);
  if (!host) return false;
  if (*host == "localhost") return true;
  const std::optional<std::string> canonical = canonicalAddress(*host);
  if (!canonical) return false;
  if (isLoopbackAddress(*canonical)) return true;
  if (!beyondLoopback_) return false;
  const auto known = [&] {
    return std::find(allowedAddresses_.begin(), allowedAddresses_.end(), *canonical) !=
           allowedAddresses_.end();
  };
  if (known()) return true;
  // Only a literal can reach this point, and a literal cannot be rebound: listing again costs
  // one query of the kernel and lets no name in.
  if (!everyAddress_ || !relist_) return false;
  takeMachineAddresses(relist_());
  return known();
}

bool AccessPolicy::isSameOrigin(std::string_view origin, std::string_view hostHeader) {
  if (hostHeader.empty()) return false;
  return asciiLowercase(origin) == "http://" + asciiLowercase(hostHeader);
}

std::optional<std::string> AccessPolicy::cookieValue(std::string_view cookieHeader) const {
  const std::string name = cookieName();
  while (!cookieHeader.empty()) {
    const std::size_t end = cookieHeader.find(';');
    std::string_view pair = cookieHeader.substr(0, end);
    while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && pair.substr(0, equals) == name) {
      return std::string(pair.substr(equals + 1));
    }
    if (end == std::string_view::npos) break;
    cookieHeader.remove_prefix(end + 1);
  }
  return std::nullopt;
}

bool AccessPolicy::hasValidToken(const HttpRequestHead& request, bool& fromQuery) const {
  fromQuery = false;
  if (const auto cookie = cookieValue(request.cookie); cookie && tokensEqual(*cookie, token_)) {
    return true;
  }
  if (const auto query = UrlComponents::queryParameter(request.query, "token");
      query && tokensEqual(*query, token_)) {
    fromQuery = true;
    return true;
  }
  return false;
}

AccessPolicy::Decision AccessPolicy::check(const HttpRequestHead& request) const {
  Decision decision;
  if (!isAllowedHost(request.host)) {
    decision.reply = refusal(403, "Forbidden: this server answers only to its own addresses.\n");
    decision.reason = "foreign or missing Host header";
    return decision;
  }
  const bool needsOrigin = request.webSocketUpgrade || request.method == "POST";
  if (needsOrigin && !(request.hasOrigin && isSameOrigin(request.origin, request.host))) {
    decision.reply = refusal(403, "Forbidden: foreign or missing Origin.\n");
    decision.reason = "missing or foreign Origin";
    return decision;
  }
  if (requiresToken()) {
    bool fromQuery = false;
    if (!hasValidToken(request, fromQuery)) {
      decision.reply =
          refusal(401, "Open the address Kinetra printed when it started; it holds the token.\n");
      decision.reason = "missing or wrong access token";
      return decision;
    }
    const bool pageVisit = request.method == "GET" || request.method == "HEAD";
    if (fromQuery && pageVisit && !request.webSocketUpgrade) {
      // Keep the token out of the address bar, the history and any Referer from now on. The
      // target came from anyone who could send the link: only a plain path of this server is
      // kept, so the redirect never leads elsewhere.
      const std::string rest = UrlComponents::queryWithout(request.query, "token");
      HttpReply reply = refusal(303, "See Other\n");
      reply.headers.emplace_back("Location", UrlComponents::localTarget(request.path, rest));
      reply.headers.emplace_back(
          "Set-Cookie", cookieName() + "=" + token_ + "; Path=/; HttpOnly; SameSite=Strict");
      decision.reply = std::move(reply);
      decision.redirect = true;
      decision.reason = "token accepted; cookie set";
      return decision;
    }
  }
  decision.allowed = true;
  return decision;
}

}  // namespace kinetra
