#include "shell/FileOffers.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <utility>

namespace kinetra {

namespace {

constexpr std::string_view kDownloadsPrefix = "/downloads/";

}  // namespace

std::string FileOffers::offer(FileToSave file) {
  char identifier[17];
  std::snprintf(identifier, sizeof identifier, "%016llx",
                static_cast<unsigned long long>(random_()));
  const nlohmann::json message = {
      {"type", "save"}, {"url", std::string(kDownloadsPrefix) + identifier}, {"name", file.name}};
  offers_.push_back({identifier, std::move(file)});
  if (offers_.size() > kMaxFiles) offers_.pop_front();
  // Names are the application's, but may hold any bytes: never let them break the message.
  return message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<HttpReply> FileOffers::handle(const HttpRequestHead& request) const {
  const std::string_view path = request.path;
  if (!path.starts_with(kDownloadsPrefix)) return std::nullopt;
  if (request.method != "GET") {
    HttpReply reply = HttpReply::text(405, "Method Not Allowed\n");
    reply.headers.emplace_back("Allow", "GET, HEAD");
    return reply;
  }
  const std::string_view identifier = path.substr(kDownloadsPrefix.size());
  const auto found = std::find_if(offers_.begin(), offers_.end(), [&](const Offer& offer) {
    return offer.identifier == identifier;
  });
  if (found == offers_.end()) return HttpReply::text(404, "Not Found\n");
  const FileToSave& file = found->file;
  if (file.bytes == nullptr && !file.open) return HttpReply::text(404, "Not Found\n");
  HttpReply reply = HttpReply::bytes(file.contentType, file.bytes);
  if (file.bytes == nullptr) reply.pieces = file.open();
  reply.headers.emplace_back("Content-Disposition",
                             "attachment; filename=\"" + headerSafeName(file.name) + "\"");
  reply.headers.emplace_back("Cache-Control", "no-store");
  return reply;
}

std::string FileOffers::headerSafeName(std::string_view name) {
  std::string safe(name);
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') c = '_';
  }
  return safe;
}

}  // namespace kinetra
