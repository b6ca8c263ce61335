#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/DocumentsDirectory.h"
#include "foundation/PropertyList.h"
#include "foundation/ResourceBundle.h"
#include "ui/Image.h"

namespace kinetra {

class UserData;

// The pictures of an exercise record, named by its "image" value: the full picture is the
// bundle picture "image".jpg, else the documents file "image" + ".jpg"; the thumbnail likewise
// with "_t" appended to the name. Custom exercises keep their pictures in the documents
// directory. A record without an "image" string, or a picture found in neither place, gives an
// empty picture. Names that could leave either folder find nothing.
//
// The bundle does not change while the application runs: a bundle thumbnail is read once and
// kept (the lists show them again on every scroll), and so is the bundle's lack of one. The
// documents' pictures are read each time, since the user may replace them. With the user's
// data given, a picture whose save failed is shown from memory until it is saved.
class ExercisePictures {
 public:
  ExercisePictures(const ResourceBundle& bundle, const DocumentsDirectory& documents,
                   const UserData* userData = nullptr)
      : bundle_(bundle), documents_(documents), userData_(userData) {}

  Image fullPicture(const PropertyList& record) const;
  Image thumbnail(const PropertyList& record) const;
  // A picture of the menus: the bundle picture "name".jpg.
  Image namedPicture(std::string_view name) const;
  // The bundle picture of `fileName` (its type included).
  Image bundlePicture(std::string_view fileName) const;

 private:
  Image lookUp(const PropertyList& record, std::string_view suffix) const;
  // The bundle thumbnail `name`.jpg, once read; nothing when the bundle has none.
  const std::optional<Image>& bundleThumbnail(const std::string& name) const;

  const ResourceBundle& bundle_;
  const DocumentsDirectory& documents_;
  const UserData* userData_;
  mutable std::map<std::string, std::optional<Image>, std::less<>> thumbnails_;
};

}  // namespace kinetra
