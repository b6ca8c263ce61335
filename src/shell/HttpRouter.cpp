#include "shell/HttpRouter.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "graphics/PictureHeader.h"
#include "shell/UrlComponents.h"

namespace kinetra {

namespace {

constexpr std::string_view kPhotoPrefix = "/photo/";
constexpr std::string_view kDocumentPrefix = "/document/";
constexpr std::string_view kClientPrefix = "/client/";

HttpReply notFound() { return HttpReply::text(404, "Not Found\n"); }

HttpReply methodNotAllowed(std::string allowed) {
  HttpReply reply = HttpReply::text(405, "Method Not Allowed\n");
  reply.headers.emplace_back("Allow", std::move(allowed));
  return reply;
}

HttpReply noPhotoPicker() { return HttpReply::text(409, "No photo picker is open.\n"); }
HttpReply noDocumentPicker() { return HttpReply::text(409, "No file picker is open.\n"); }

bool isUploadPath(const std::string& path) {
  return path.starts_with(kPhotoPrefix) || path.starts_with(kDocumentPrefix);
}

std::optional<std::uint64_t> viewIdentifier(std::string_view text) {
  if (text.empty() || text.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value == 0 ? std::nullopt : std::optional(value);
}

// The view named after an upload route's prefix.
std::optional<std::uint64_t> uploadView(const std::string& path) {
  const std::string_view prefix = path.starts_with(kPhotoPrefix) ? kPhotoPrefix : kDocumentPrefix;
  return viewIdentifier(std::string_view(path).substr(prefix.size()));
}

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

bool HttpRouter::isUpload(const HttpRequestHead& request) {
  return request.method == "POST" && isUploadPath(request.path);
}

std::size_t HttpRouter::bodyLimit(const HttpRequestHead& request, const ShellLimits& limits) {
  if (!isUpload(request)) return limits.maxOtherBodyBytes;
  return request.path.starts_with(kDocumentPrefix) ? limits.maxDocumentBytes
                                                   : limits.maxUploadBytes;
}

std::optional<HttpReply> HttpRouter::refuseUpload(const HttpRequestHead& request) const {
  const std::optional<std::uint64_t> view = uploadView(request.path);
  if (!view) return notFound();
  if (request.path.starts_with(kDocumentPrefix)) {
    if (!documentPickers_.shown || !documentPickers_.shown(*view).ok()) return noDocumentPicker();
    return std::nullopt;
  }
  if (!photoPickers_.shown(*view).ok()) return noPhotoPicker();
  return std::nullopt;
}

HttpReply HttpRouter::route(const HttpRequestHead& request, std::vector<std::uint8_t> body) const {
  if (isUpload(request)) return upload(request, std::move(body));
  if (request.method == "GET") return routeGet(request);
  if (request.method == "HEAD") {
    HttpRequestHead get = request;
    get.method = "GET";
    return routeGet(get);
  }
  if (isUploadPath(request.path)) return methodNotAllowed("POST");
  if (request.path == "/ws") return methodNotAllowed("GET");
  return methodNotAllowed("GET, HEAD");
}

HttpReply HttpRouter::routeGet(const HttpRequestHead& request) const {
  if (std::optional<HttpReply> picture = pictures_.handle(request)) return std::move(*picture);
  if (std::optional<HttpReply> file = files_.handle(request)) return std::move(*file);
  if (request.path == "/ws") {
    HttpReply reply = HttpReply::text(426, "Upgrade Required\n");
    reply.headers.emplace_back("Upgrade", "websocket");
    return reply;
  }
  if (request.path == "/" || request.path == "/index.html") return clientFile("index.html");
  if (request.path == "/manifest.webmanifest") return manifest();
  if (request.path.starts_with(kClientPrefix)) {
    return clientFile(request.path.substr(kClientPrefix.size()));
  }
  if (isUploadPath(request.path)) return methodNotAllowed("POST");
  return notFound();
}

HttpReply HttpRouter::clientFile(const std::string& name) const {
  const std::optional<ClientFiles::File> file = client_.read(name);
  if (!file) return notFound();
  HttpReply reply = HttpReply::bytes(file->contentType, file->bytes);
  reply.headers.emplace_back("Cache-Control", "no-cache");
  return reply;
}

HttpReply HttpRouter::manifest() const {
  nlohmann::json icons = nlohmann::json::array();
  for (const std::string& name : iconNames_) {
    const auto path = bundle_.pathForResource(name, "");
    if (!path) continue;
    const std::vector<std::uint8_t> bytes = fileBytes(*path);
    const Result<PictureSize> size = pictureSize(bytes);
    if (!size.ok()) continue;
    icons.push_back({{"src", "/bundle/" + name},
                     {"sizes", std::to_string(size->width) + "x" + std::to_string(size->height)},
                     {"type", std::string(mimeType(sniffPictureType(bytes)))}});
  }
  const nlohmann::json manifest = {{"name", "Kinetra"},
                                   {"short_name", "Kinetra"},
                                   {"start_url", "/"},
                                   {"scope", "/"},
                                   {"display", "standalone"},
                                   {"orientation", "portrait"},
                                   {"background_color", "#000000"},
                                   {"theme_color", "#000000"},
                                   {"icons", std::move(icons)}};
  const std::string text = manifest.dump(2);
  HttpReply reply =
      HttpReply::bytes("application/manifest+json",
                       std::make_shared<const std::vector<std::uint8_t>>(text.begin(), text.end()));
  reply.headers.emplace_back("Cache-Control", "no-cache");
  return reply;
}

HttpReply HttpRouter::uploadDocument(const HttpRequestHead& request,
                                     const std::vector<std::uint8_t>& body) const {
  const std::optional<std::uint64_t> view = uploadView(request.path);
  if (!view) return notFound();
  if (!documentPickers_.pick) return noDocumentPicker();
  const Status picked = documentPickers_.pick(*view, body);
  if (picked.ok()) return HttpReply::text(204, "");
  if (picked.code() == Status::Code::kTooLarge) {
    return HttpReply::text(413, "That file is too large for the file picker.\n");
  }
  // The picker was closed while the body came in, or the view is another kind's.
  return noDocumentPicker();
}

HttpReply HttpRouter::upload(const HttpRequestHead& request, std::vector<std::uint8_t> body) const {
  if (request.path.starts_with(kDocumentPrefix)) return uploadDocument(request, body);
  const std::optional<std::uint64_t> view = uploadView(request.path);
  if (!view) return notFound();
  const Status picked = photoPickers_.pick(*view, std::move(body));
  if (picked.ok()) return HttpReply::text(204, "");
  if (picked.code() == Status::Code::kCorrupt) {
    return HttpReply::text(
        415, "That file is not a photo: only whole JPEG and PNG pictures can be used.\n");
  }
  if (picked.code() == Status::Code::kTooLarge) {
    return HttpReply::text(
        415,
        "That photo is too large: at most 10000 pixels a side and 40 megapixels can be used.\n");
  }
  // The picker was closed while the body came in.
  if (picked.code() == Status::Code::kNotFound) return noPhotoPicker();
  return HttpReply::text(409, "The photo picker refused the photo.\n");
}

}  // namespace kinetra
