#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kinetra {

// The user's own mail account that exports are sent through, as configured when kinetra starts.
// The password comes from the environment or a file, never from the command line, and is never
// written to any log. A value.
struct MailAccount {
  static constexpr std::uint16_t kDefaultPort = 587;

  std::string relayHost;
  std::vector<std::uint16_t> relayPorts{kDefaultPort};  // tried in order
  std::string fromEmail;
  std::string login;           // empty: the sender address
  std::string pass;            // empty: the relay is used without AUTH
  std::string supportAddress;  // named in the letter; empty: the sender address
  std::string caFile;          // PEM roots to verify the relay by; empty: the system's

  // "HOST[:PORT,...]": the host (an IPv6 address in brackets) and its ports; nothing when the
  // host is empty or a port is not a number from 1 to 65535. No port given means 587.
  struct Relay {
    std::string host;
    std::vector<std::uint16_t> ports;
  };
  static std::optional<Relay> parseRelay(std::string_view text);

  std::string effectiveLogin() const { return login.empty() ? fromEmail : login; }
  std::string effectiveSupportAddress() const {
    return supportAddress.empty() ? fromEmail : supportAddress;
  }
};

}  // namespace kinetra
