#include "shell/ClientFiles.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <system_error>

#include "foundation/InstallLayout.h"

namespace kinetra {

namespace {

constexpr std::size_t kMaxClientFileBytes = 4 * 1024 * 1024;

}  // namespace

std::filesystem::path ClientFiles::defaultPath() {
  if (runsFromBuildTree()) return KINETRA_SOURCE_CLIENT;
  return installedDataDirectory() / "client";
}

std::string ClientFiles::contentTypeFor(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view extension = name.substr(dot + 1);
  if (extension == "html") return "text/html; charset=utf-8";
  if (extension == "js") return "text/javascript; charset=utf-8";
  if (extension == "css") return "text/css; charset=utf-8";
  if (extension == "svg") return "image/svg+xml";
  if (extension == "png") return "image/png";
  return {};
}

std::optional<ClientFiles::File> ClientFiles::read(std::string_view name) const {
  const std::size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string_view::npos) return std::nullopt;
  const std::string_view stem = name.substr(0, dot);
  if (!std::all_of(stem.begin(), stem.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
      })) {
    return std::nullopt;
  }
  std::string contentType = contentTypeFor(name);
  if (contentType.empty()) return std::nullopt;
  const std::filesystem::path path = directory_ / std::string(name);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaxClientFileBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  auto bytes = std::make_shared<std::vector<std::uint8_t>>(std::istreambuf_iterator<char>(in),
                                                           std::istreambuf_iterator<char>());
  return File{std::move(contentType), std::move(bytes)};
}

}  // namespace kinetra
