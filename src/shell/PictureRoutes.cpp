#include "shell/PictureRoutes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/FileDescriptor.h"
#include "graphics/PictureHeader.h"
#include "shell/UrlComponents.h"

namespace kinetra {

namespace {

constexpr std::string_view kFramePrefix = "/pictures/";
constexpr std::string_view kBundlePrefix = "/bundle/";
constexpr std::string_view kDocumentsPrefix = "/documents/";

HttpReply notFound() { return HttpReply::text(404, "Not Found\n"); }

// The bytes of a regular file no larger than the picture limit, without following a symbolic
// link at the last step.
std::shared_ptr<std::vector<std::uint8_t>> readPictureFile(const std::filesystem::path& path) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (!file.valid()) return nullptr;
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
  if (status.st_size <= 0 || static_cast<std::uint64_t>(status.st_size) > kMaxPictureBytes) {
    return nullptr;
  }
  auto bytes =
      std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(status.st_size));
  std::size_t done = 0;
  while (done < bytes->size()) {
    const ssize_t n = ::read(file.get(), bytes->data() + done, bytes->size() - done);
    if (n <= 0) return nullptr;
    done += static_cast<std::size_t>(n);
  }
  return bytes;
}

std::optional<HttpReply> pictureReply(std::shared_ptr<const std::vector<std::uint8_t>> bytes,
                                      std::string cacheControl) {
  if (bytes == nullptr) return std::nullopt;
  const PictureType type = sniffPictureType(*bytes);
  if (type == PictureType::kUnknown) return std::nullopt;
  HttpReply reply = HttpReply::bytes(std::string(mimeType(type)), std::move(bytes));
  reply.headers.emplace_back("Cache-Control", std::move(cacheControl));
  return reply;
}

std::optional<std::string> bareName(std::string_view encoded) {
  std::optional<std::string> name = UrlComponents::percentDecode(encoded);
  if (!name || !DocumentsDirectory::isBareName(*name)) return std::nullopt;
  return name;
}

}  // namespace

std::optional<HttpReply> PictureRoutes::handle(const HttpRequestHead& request) const {
  const std::string_view path = request.path;
  std::string_view name;
  HttpReply (PictureRoutes::*route)(std::string_view) const = nullptr;
  if (path.starts_with(kFramePrefix)) {
    name = path.substr(kFramePrefix.size());
    route = &PictureRoutes::framePicture;
  } else if (path.starts_with(kBundlePrefix)) {
    name = path.substr(kBundlePrefix.size());
    route = &PictureRoutes::bundlePicture;
  } else if (path.starts_with(kDocumentsPrefix)) {
    name = path.substr(kDocumentsPrefix.size());
    route = &PictureRoutes::documentsPicture;
  } else {
    return std::nullopt;
  }
  if (request.method != "GET") return HttpReply::text(405, "Method Not Allowed\n");
  return (this->*route)(name);
}

HttpReply PictureRoutes::framePicture(std::string_view name) const {
  const std::optional<std::uint64_t> identifier = PictureStore::parseIdentifier(name);
  if (!identifier) return notFound();
  // Identifiers are digests of the bytes: a picture never changes under its name.
  auto reply = pictureReply(store_.find(*identifier), "private, max-age=31536000, immutable");
  return reply ? std::move(*reply) : notFound();
}

HttpReply PictureRoutes::bundlePicture(std::string_view encoded) const {
  const std::optional<std::string> name = bareName(encoded);
  if (!name) return notFound();
  const std::optional<std::filesystem::path> path = bundle_.pathForResource(*name, "");
  if (!path) return notFound();
  auto reply = pictureReply(readPictureFile(*path), "private, max-age=3600");
  return reply ? std::move(*reply) : notFound();
}

HttpReply PictureRoutes::documentsPicture(std::string_view encoded) const {
  const std::optional<std::string> name = bareName(encoded);
  if (!name || name->ends_with(".plist")) return notFound();
  const Result<std::filesystem::path> path = documents_.pathForFile(*name);
  if (!path.ok()) return notFound();
  // The user's photos change under the same name.
  auto reply = pictureReply(readPictureFile(*path), "no-cache");
  return reply ? std::move(*reply) : notFound();
}

}  // namespace kinetra
