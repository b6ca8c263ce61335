#include "shell/UrlComponents.h"

#include <vector>

namespace kinetra {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<std::string_view> pairsOf(std::string_view query) {
  std::vector<std::string_view> pairs;
  while (!query.empty()) {
    const std::size_t end = query.find('&');
    pairs.push_back(query.substr(0, end));
    if (end == std::string_view::npos) break;
    query.remove_prefix(end + 1);
  }
  return pairs;
}

std::string_view nameOf(std::string_view pair) { return pair.substr(0, pair.find('=')); }

}  // namespace

std::optional<std::string> UrlComponents::percentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = hexValue(text[i + 1]);
      const int low = hexValue(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (c == '\0') return std::nullopt;
    decoded.push_back(c);
  }
  return decoded;
}

std::optional<std::string> UrlComponents::queryParameter(std::string_view query,
                                                         std::string_view name) {
  for (std::string_view pair : pairsOf(query)) {
    if (nameOf(pair) != name) continue;
    const std::size_t equals = pair.find('=');
    return percentDecode(equals == std::string_view::npos ? std::string_view()
                                                          : pair.substr(equals + 1));
  }
  return std::nullopt;
}

std::string UrlComponents::queryWithout(std::string_view query, std::string_view name) {
  std::string kept;
  for (std::string_view pair : pairsOf(query)) {
    if (pair.empty() || nameOf(pair) == name) continue;
    if (!kept.empty()) kept += '&';
    kept += pair;
  }
  return kept;
}

}  // namespace kinetra
