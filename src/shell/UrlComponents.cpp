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

bool isPathCharacter(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-._~!$&'()*+,;=:@").find(c) != std::string_view::npos;
}

// The byte of the %XX escape at text[at], if there is one.
std::optional<unsigned char> escapeAt(std::string_view text, std::size_t at) {
  if (at + 2 >= text.size()) return std::nullopt;
  const int high = hexValue(text[at + 1]);
  const int low = hexValue(text[at + 2]);
  if (high < 0 || low < 0) return std::nullopt;
  return static_cast<unsigned char>(high * 16 + low);
}

// Path characters (and `alsoAllowed`) or escapes of anything but a control character, "/", "\",
// "." and "%".
bool isPlainText(std::string_view text, std::string_view alsoAllowed) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '%') {
      if (!isPathCharacter(c) && alsoAllowed.find(c) == std::string_view::npos) return false;
      continue;
    }
    const std::optional<unsigned char> byte = escapeAt(text, i);
    if (!byte || *byte < 0x20 || *byte == 0x7F || *byte == '/' || *byte == '\\' || *byte == '.' ||
        *byte == '%') {
      return false;
    }
    i += 2;
  }
  return true;
}

bool isPlainPath(std::string_view path) {
  if (path == "/") return true;
  if (!path.starts_with('/')) return false;
  path.remove_prefix(1);
  for (;;) {
    const std::size_t slash = path.find('/');
    const std::string_view segment = path.substr(0, slash);
    if (segment.empty() || segment == "." || segment == ".." || !isPlainText(segment, "")) {
      return false;
    }
    if (slash == std::string_view::npos) return true;
    path.remove_prefix(slash + 1);
  }
}

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

std::string UrlComponents::localTarget(std::string_view path, std::string_view query) {
  std::string target = isPlainPath(path) ? std::string(path) : std::string("/");
  if (!query.empty() && isPlainText(query, "/?")) {
    target += '?';
    target += query;
  }
  return target;
}

}  // namespace kinetra
