// Fuzz target for the HTTP side's parsing of what a stranger sends before anything is served:
// request targets (UrlComponents) and the Host, Origin and Cookie checks (AccessPolicy). The
// input is cut at line feeds into method, path, query, Host, Origin and Cookie; "$T" in it stands
// for the access token, so that runs reach the token's paths. Every request gets a defined
// verdict: served only from an allowed Host, with the same Origin where one is required and with
// the token where one is required; otherwise refused (401, 403) or redirected (303) to a target
// that stays on this server; the token never in a reason.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "shell/AccessPolicy.h"
#include "shell/UrlComponents.h"

namespace {

using kinetra::AccessPolicy;
using kinetra::HttpRequestHead;
using kinetra::UrlComponents;

constexpr std::string_view kToken = "fuzz-token-0123456789abcdefXYZ";

std::string withToken(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '$' && i + 1 < text.size() && text[i + 1] == 'T') {
      out += kToken;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> fields(std::string_view input, std::size_t count) {
  std::vector<std::string> out;
  while (out.size() + 1 < count) {
    const std::size_t end = input.find('\n');
    if (end == std::string_view::npos) break;
    out.push_back(withToken(input.substr(0, end)));
    input.remove_prefix(end + 1);
  }
  out.push_back(withToken(input));
  out.resize(count);
  return out;
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string encodedEveryByte(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

void checkPercentDecoding(std::string_view text) {
  const std::optional<std::string> decoded = UrlComponents::percentDecode(text);
  if (!decoded) return;
  FUZZ_CHECK(decoded->find('\0') == std::string::npos);
  FUZZ_CHECK(decoded->size() <= text.size());
  FUZZ_CHECK(UrlComponents::percentDecode(encodedEveryByte(*decoded)) == decoded);
}

void checkQuery(std::string_view query) {
  const std::string rest = UrlComponents::queryWithout(query, "token");
  FUZZ_CHECK(!UrlComponents::queryParameter(rest, "token"));
  FUZZ_CHECK(rest.size() <= query.size());
  FUZZ_CHECK(UrlComponents::queryWithout(rest, "token") == rest);
}

// A target a browser can only read as a path of this server.
void checkLocalTarget(const std::string& target) {
  FUZZ_CHECK(!target.empty() && target.front() == '/');
  FUZZ_CHECK(target.size() == 1 || (target[1] != '/' && target[1] != '\\'));
  for (const char c : target) {
    const auto byte = static_cast<unsigned char>(c);
    FUZZ_CHECK(byte > 0x20 && byte < 0x7F && c != '\\');
  }
  const std::size_t mark = target.find('?');
  const std::string path = target.substr(0, mark);
  const std::string query = mark == std::string::npos ? "" : target.substr(mark + 1);
  // What it gives is plain, so it is given back unchanged.
  FUZZ_CHECK(UrlComponents::localTarget(path, query) == target);
}

void checkHost(std::string_view host, std::string_view origin) {
  if (const auto name = AccessPolicy::hostName(host)) {
    FUZZ_CHECK(!name->empty() && *name == lower(*name));
  }
  if (AccessPolicy::isSameOrigin(origin, host)) {
    FUZZ_CHECK(lower(origin) == "http://" + lower(host));
  }
}

struct Policies {
  Policies()
      : open(AccessPolicy::create("127.0.0.1", 8080, std::nullopt, {}).value()),
        loopbackToken(AccessPolicy::create("127.0.0.1", 8080, std::string(kToken), {}).value()),
        beyond(AccessPolicy::create("0.0.0.0", 8080, std::string(kToken),
                                    {"192.0.2.7", "fe80::1", "127.0.0.1"})
                   .value()) {}
  AccessPolicy open;
  AccessPolicy loopbackToken;
  AccessPolicy beyond;
};

void checkVerdict(const AccessPolicy& policy, const HttpRequestHead& request) {
  const AccessPolicy::Decision decision = policy.check(request);
  FUZZ_CHECK(decision.reason.find(kToken) == std::string::npos);
  if (decision.allowed) {
    FUZZ_CHECK(!decision.redirect);
    FUZZ_CHECK(policy.isAllowedHost(request.host));
    if (request.webSocketUpgrade || request.method == "POST") {
      FUZZ_CHECK(request.hasOrigin && AccessPolicy::isSameOrigin(request.origin, request.host));
    }
    if (policy.requiresToken()) {
      FUZZ_CHECK(request.cookie.find(kToken) != std::string::npos ||
                 request.query.find(kToken) != std::string::npos ||
                 request.query.find('%') != std::string::npos);
    }
    return;
  }
  FUZZ_CHECK(!decision.reason.empty());
  if (decision.redirect) {
    FUZZ_CHECK(decision.reply.status == 303);
    FUZZ_CHECK(request.method == "GET" || request.method == "HEAD");
    bool located = false;
    for (const auto& [name, value] : decision.reply.headers) {
      if (name != "Location") continue;
      located = true;
      checkLocalTarget(value);
      // The token leaves the address only if the request carried it elsewhere than its own
      // parameter.
      FUZZ_CHECK(value.find(kToken) == std::string::npos ||
                 request.path.find(kToken) != std::string::npos ||
                 UrlComponents::queryWithout(request.query, "token").find(kToken) !=
                     std::string::npos);
    }
    FUZZ_CHECK(located);
    return;
  }
  FUZZ_CHECK(decision.reply.status == 401 || decision.reply.status == 403);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Policies policies;
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  const auto f = fields(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), 6);

  HttpRequestHead request;
  request.method = f[0];
  request.path = f[1];
  request.query = f[2];
  request.target = f[1] + (f[2].empty() ? "" : "?" + f[2]);
  request.host = f[3];
  request.origin = f[4];
  request.hasOrigin = (flags & 1) != 0;
  request.cookie = f[5];
  request.webSocketUpgrade = (flags & 2) != 0;

  checkPercentDecoding(request.path);
  checkPercentDecoding(request.query);
  checkQuery(request.query);
  checkLocalTarget(UrlComponents::localTarget(request.path, request.query));
  checkHost(request.host, request.origin);
  checkVerdict(policies.open, request);
  checkVerdict(policies.loopbackToken, request);
  checkVerdict(policies.beyond, request);
  return 0;
}
