#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "foundation/DiagnosticLog.h"
#include "foundation/ResourceBundle.h"
#include "foundation/Status.h"
#include "shell/ClientFiles.h"
#include "shell/HttpMessage.h"
#include "shell/PictureRoutes.h"

namespace kinetra {

// Answers the shell's HTTP requests once access was granted:
//   GET  /, /index.html          the client's page
//   GET  /client/<file>          the client's scripts and style sheets
//   GET  /manifest.webmanifest   the web-app manifest (standalone, icons from the bundle)
//   GET  /pictures/..., /bundle/..., /documents/...   see PictureRoutes
//   POST /photo/<view id>        the photo chosen in the picker shown by that view (the bytes
//                                of the picture file as the body)
//   /ws                          only as a WebSocket upgrade (426 otherwise)
// Anything else is 404.
class HttpRouter {
 public:
  using PhotoHandler = std::function<Status(std::uint64_t pickerView, std::vector<std::uint8_t>)>;

  HttpRouter(const ClientFiles& client, const PictureRoutes& pictures, const ResourceBundle& bundle,
             std::vector<std::string> iconNames, PhotoHandler photo)
      : client_(client),
        pictures_(pictures),
        bundle_(bundle),
        iconNames_(std::move(iconNames)),
        photo_(std::move(photo)) {}

  // True for the requests whose body may be as large as an upload.
  static bool isUpload(const HttpRequestHead& request);

  HttpReply route(const HttpRequestHead& request, std::vector<std::uint8_t> body) const;

 private:
  HttpReply clientFile(const std::string& name) const;
  HttpReply manifest() const;
  HttpReply upload(const HttpRequestHead& request, std::vector<std::uint8_t> body) const;

  const ClientFiles& client_;
  const PictureRoutes& pictures_;
  const ResourceBundle& bundle_;
  std::vector<std::string> iconNames_;
  PhotoHandler photo_;
};

}  // namespace kinetra
