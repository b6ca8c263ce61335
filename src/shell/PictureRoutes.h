#pragma once

#include <optional>

#include "foundation/DocumentsDirectory.h"
#include "foundation/ResourceBundle.h"
#include "shell/HttpMessage.h"
#include "shell/PictureStore.h"

namespace kinetra {

// The picture routes, all GET:
//   /pictures/<16 hex digits>  a picture of a frame (image views, buttons, tabs, custom views'
//                              renders such as the graph), by identifier;
//   /bundle/<name>             a picture file of the resource bundle, by bare name;
//   /documents/<name>          a picture file of the documents directory, by bare name.
// Files are served with the content type their bytes show (a ".jpg" may hold PNG data) and only
// when they are PNG, JPEG or GIF pictures: property lists and every other file stay unreachable,
// as do names with "/", "..", NUL or bad escapes, symbolic links and files over the picture size
// limit. Every refusal is a plain 404.
class PictureRoutes {
 public:
  PictureRoutes(const PictureStore& store, const ResourceBundle& bundle,
                const DocumentsDirectory& documents)
      : store_(store), bundle_(bundle), documents_(documents) {}

  // Nothing when the path is not a picture route.
  std::optional<HttpReply> handle(const HttpRequestHead& request) const;

 private:
  HttpReply framePicture(std::string_view name) const;
  HttpReply bundlePicture(std::string_view name) const;
  HttpReply documentsPicture(std::string_view name) const;

  const PictureStore& store_;
  const ResourceBundle& bundle_;
  const DocumentsDirectory& documents_;
};

}  // namespace kinetra
