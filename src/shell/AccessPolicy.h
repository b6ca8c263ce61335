#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Status.h"
#include "shell/HttpMessage.h"

namespace kinetra {

// Who may talk to the shell. Every request passes check() before anything else happens:
//  - the Host header must name this machine: "localhost", a loopback literal, or (when bound
//    beyond loopback) one of the machine's own address literals — a defence against DNS
//    rebinding — with no port or a port of 1 to 65535 in digits; bound to every address, the
//    machine's addresses are listed again when a Host names an address not seen before (one
//    that came later: a lease renewed, a VPN brought up after the start);
//  - bound beyond loopback (or when a token was given) the access token is required on every
//    route and the WebSocket, from the cookie or a "token" query parameter; a page visit (GET or
//    HEAD) with a right query token sets the HttpOnly, SameSite=Strict cookie and redirects to
//    the same page without the token — to "/" when the page is not a plain path of this server
//    (see UrlComponents::localTarget), so a link cannot send the browser elsewhere;
//  - a WebSocket upgrade and every POST must come from the shell's own origin (the Origin
//    header names the Host the request went to); a missing Origin is refused.
// Tokens are compared in constant time and never appear in a decision's reason.
class AccessPolicy {
 public:
  // The shortest token accepted from the command line: 22 characters of the URL-safe alphabet
  // carry more than 128 bits.
  static constexpr std::size_t kMinimumTokenLength = 22;

  struct Decision {
    bool allowed = false;
    // When refused or redirected: the reply to send instead of serving the request.
    HttpReply reply;
    std::string reason;  // for the diagnostic log; never holds a token
    bool redirect = false;
  };

  // Lists the machine's address literals now (ownAddresses() outside tests).
  using AddressLister = std::function<std::vector<std::string>()>;

  // `bindAddress` is a numeric address. Beyond loopback, `token` is generated when not given;
  // `machineAddresses` are the address literals of this machine that a Host header may name
  // then (see ownAddresses()), and `relist`, when given, lists them again for a Host not among
  // them. InvalidArgument for an address that does not parse or a token shorter than
  // kMinimumTokenLength or outside [A-Za-z0-9._~-].
  static Result<AccessPolicy> create(std::string_view bindAddress, std::uint16_t port,
                                     std::optional<std::string> token,
                                     std::vector<std::string> machineAddresses,
                                     AddressLister relist = {});

  // The addresses of this machine's interfaces, as literals; empty if they cannot be listed.
  static std::vector<std::string> ownAddresses();
  // 128 random bits from the kernel's generator (getrandom), as 32 lowercase hex digits.
  static std::string generateToken();
  // Whether a presented token is the expected one, in a time that depends on the presented
  // token's length only: neither where they differ nor the expected token's length shows.
  static bool tokensEqual(std::string_view presented, std::string_view expected);
  static bool isLoopbackAddress(std::string_view literal);

  bool requiresToken() const { return !token_.empty(); }
  const std::string& token() const { return token_; }
  // "kinetra_token_<port>": cookies do not tell ports apart, two shells on one machine must not
  // share one.
  std::string cookieName() const;

  Decision check(const HttpRequestHead& request) const;

  // The host part of a Host header ("localhost:8080" → "localhost", "[::1]:80" → "::1");
  // nothing when the header is malformed or its port is not 1 to 65535.
  static std::optional<std::string> hostName(std::string_view hostHeader);
  bool isAllowedHost(std::string_view hostHeader) const;
  // The Origin is "http://" followed by the request's Host, exactly (case aside).
  static bool isSameOrigin(std::string_view origin, std::string_view hostHeader);

 private:
  AccessPolicy() = default;

  bool hasValidToken(const HttpRequestHead& request, bool& fromQuery) const;
  std::optional<std::string> cookieValue(std::string_view cookieHeader) const;

  bool beyondLoopback_ = false;
  std::uint16_t port_ = 0;
  std::string token_;
  void takeMachineAddresses(const std::vector<std::string>& addresses) const;

  // Bound to every address: the machine's addresses are what a Host may name, and they change.
  bool everyAddress_ = false;
  AddressLister relist_;
  mutable std::vector<std::string> allowedAddresses_;  // normalised literals
};

}  // namespace kinetra
