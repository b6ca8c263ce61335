#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kinetra {

// The browser client: plain HTML, CSS and JavaScript modules in one flat folder, served as
// they are. Only names of the form [A-Za-z0-9_-]+ plus a known extension are ever looked up,
// so nothing outside the folder (and nothing but client files in it) can be reached.
class ClientFiles {
 public:
  // The source tree's src/shell/client when the running executable lies in this build's tree,
  // the installed share/kinetra/client otherwise.
  static std::filesystem::path defaultPath();

  explicit ClientFiles(std::filesystem::path directory) : directory_(std::move(directory)) {}

  const std::filesystem::path& directory() const { return directory_; }

  struct File {
    std::string contentType;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
  };
  // The file `name` ("main.js"), read now; nothing for a name outside the rule or a missing
  // file.
  std::optional<File> read(std::string_view name) const;

  // The content type for a client file name, empty for an extension the client does not use.
  static std::string contentTypeFor(std::string_view name);

 private:
  std::filesystem::path directory_;
};

}  // namespace kinetra
