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
};

}  // namespace kinetra
