#include "mail/MailAccount.h"

#include <charconv>

namespace kinetra {

namespace {

std::optional<std::uint16_t> parsePort(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

std::optional<std::vector<std::uint16_t>> parsePorts(std::string_view text) {
  std::vector<std::uint16_t> ports;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::optional<std::uint16_t> port = parsePort(text.substr(0, comma));
    if (!port) return std::nullopt;
    ports.push_back(*port);
    if (comma == std::string_view::npos) return ports;
    text.remove_prefix(comma + 1);
  }
}

}  // namespace

std::optional<MailAccount::Relay> MailAccount::parseRelay(std::string_view text) {
  Relay relay;
  std::string_view rest;
  if (text.starts_with('[')) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    relay.host = std::string(text.substr(1, close - 1));
    rest = text.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(':')) return std::nullopt;
  } else {
    const std::size_t colon = text.find(':');
    relay.host = std::string(text.substr(0, colon));
    if (colon != std::string_view::npos) rest = text.substr(colon);
  }
  if (relay.host.empty()) return std::nullopt;
  if (rest.empty()) {
    relay.ports = {kDefaultPort};
    return relay;
  }
  std::optional<std::vector<std::uint16_t>> ports = parsePorts(rest.substr(1));
  if (!ports) return std::nullopt;
  relay.ports = std::move(*ports);
  return relay;
}

}  // namespace kinetra
