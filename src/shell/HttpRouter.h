#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/DiagnosticLog.h"
#include "foundation/ResourceBundle.h"
#include "foundation/Status.h"
#include "shell/ClientFiles.h"
#include "shell/FileOffers.h"
#include "shell/HttpMessage.h"
#include "shell/PictureRoutes.h"
#include "shell/ShellLimits.h"

namespace kinetra {

// Answers the shell's HTTP requests once access was granted:
//   GET  /, /index.html          the client's page
//   GET  /client/<file>          the client's scripts and style sheets
//   GET  /manifest.webmanifest   the web-app manifest (standalone, icons from the bundle)
//   GET  /pictures/..., /bundle/..., /documents/...   see PictureRoutes
//   GET  /downloads/<identifier>  a file offered to the browser to save (see FileOffers)
//   POST /photo/<view id>        the photo chosen in the picker shown by that view (the bytes
//                                of the picture file as the body): 204 when the picker took it,
//                                415 with one line of plain text, for the user to read, when it
//                                refused the picture (not a whole PNG or JPEG, or too many
//                                pixels)
//   POST /document/<view id>     the file chosen in the document picker shown by that view (its
//                                bytes as the body): 204 when the picker took it (what the file
//                                means is the application's to say on its screen), 413 over
//                                the picker's own size limit
//   GET  /ws                     only as a WebSocket upgrade (426 otherwise)
// HEAD is answered like GET (the session leaves the body out, keeping its Content-Length);
// another method on a route is 405 with an Allow header. Anything else is 404.
class HttpRouter {
 public:
  // The photo pickers on the screen, each known by the identifier of its view.
  struct PhotoPickers {
    // Ok when a picker is on the screen with that view; NotFound or InvalidArgument otherwise.
    std::function<Status(std::uint64_t pickerView)> shown;
    // The photo chosen in that picker: Corrupt for bytes that are no whole picture, TooLarge
    // for a picture over the pixel limits, NotFound when the picker is gone.
    std::function<Status(std::uint64_t pickerView, std::vector<std::uint8_t>)> pick;
  };

  // The document pickers on the screen, alike: `pick` answers TooLarge over the picker's limit,
  // NotFound when the picker is gone.
  struct DocumentPickers {
    std::function<Status(std::uint64_t pickerView)> shown;
    std::function<Status(std::uint64_t pickerView, const std::vector<std::uint8_t>&)> pick;
  };

  HttpRouter(const ClientFiles& client, const PictureRoutes& pictures, const FileOffers& files,
             const ResourceBundle& bundle, std::vector<std::string> iconNames,
             PhotoPickers photoPickers, DocumentPickers documentPickers = {})
      : client_(client),
        pictures_(pictures),
        files_(files),
        bundle_(bundle),
        iconNames_(std::move(iconNames)),
        photoPickers_(std::move(photoPickers)),
        documentPickers_(std::move(documentPickers)) {}

  // True for the requests whose body may be as large as an upload.
  static bool isUpload(const HttpRequestHead& request);
  // The largest body `request` may carry: a photo's, a document's, or the small one of any
  // other request.
  static std::size_t bodyLimit(const HttpRequestHead& request, const ShellLimits& limits);
  // The answer to an upload that cannot be taken, decided from its head alone so that none of
  // the body needs to be read: 404 for a path that names no view, 409 when no picker of the
  // route's kind is on the screen with that view. Nothing when the body should be read and
  // routed.
  std::optional<HttpReply> refuseUpload(const HttpRequestHead& request) const;

  HttpReply route(const HttpRequestHead& request, std::vector<std::uint8_t> body) const;

 private:
  HttpReply routeGet(const HttpRequestHead& request) const;
  HttpReply clientFile(const std::string& name) const;
  HttpReply manifest() const;
  HttpReply upload(const HttpRequestHead& request, std::vector<std::uint8_t> body) const;
  HttpReply uploadDocument(const HttpRequestHead& request,
                           const std::vector<std::uint8_t>& body) const;

  const ClientFiles& client_;
  const PictureRoutes& pictures_;
  const FileOffers& files_;
  const ResourceBundle& bundle_;
  std::vector<std::string> iconNames_;
  PhotoPickers photoPickers_;
  DocumentPickers documentPickers_;
};

}  // namespace kinetra
