#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kinetra {

// The pieces of request targets the shell reads.
class UrlComponents {
 public:
  // Decodes %XX escapes once ("+" stays "+"); nothing for a malformed escape or a NUL.
  static std::optional<std::string> percentDecode(std::string_view text);
  // The decoded value of the first `name`=value pair of a query; nothing when absent.
  static std::optional<std::string> queryParameter(std::string_view query, std::string_view name);
  // The query without any `name` pairs, other pairs kept in order.
  static std::string queryWithout(std::string_view query, std::string_view name);
  // A target on this server to send a browser to: `path` when it is a plain absolute path,
  // "/" otherwise, followed by "?" and `query` when that is plain and not empty. A plain path
  // starts with one "/" and has no empty, "." or ".." segments; it holds only ASCII letters,
  // digits, "-._~!$&'()*+,;=:@" and %XX escapes, none of a control character, "/", "\", "." or
  // "%". A plain query holds the same and "/" and "?". Whatever a browser could read as another
  // host (two slashes, a backslash, a scheme, tabs or line breaks it drops) is never plain.
  static std::string localTarget(std::string_view path, std::string_view query);
};

}  // namespace kinetra
