#include "foundation/DocumentsDirectory.h"

#include <cstdlib>
#include <system_error>

namespace kinetra {

namespace {

const char* nonEmptyEnvironment(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

std::filesystem::path DocumentsDirectory::defaultPath() {
  // XDG requires an absolute path; a relative one is to be ignored.
  if (const char* data = nonEmptyEnvironment("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    return std::filesystem::path(data) / "kinetra";
  }
  if (const char* home = nonEmptyEnvironment("HOME")) {
    return std::filesystem::path(home) / ".local" / "share" / "kinetra";
  }
  return std::filesystem::path("kinetra-documents");
}

bool DocumentsDirectory::isBareName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

Result<std::filesystem::path> DocumentsDirectory::pathForFile(std::string_view name) const {
  if (!isBareName(name)) return Status::InvalidArgument("not a bare file name");
  return path_ / std::filesystem::path(std::string(name));
}

Status DocumentsDirectory::ensureExists() const {
  std::error_code error;
  if (std::filesystem::is_directory(path_, error)) return Status::Ok();
  std::filesystem::create_directories(path_, error);
  if (error) return Status::IOError(path_.string() + ": " + error.message());
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace, error);
  return Status::Ok();
}

}  // namespace kinetra
