#include "catalogue/ExercisePictures.h"

#include <cstdint>
#include <string>
#include <vector>

#include "model/ExerciseRecord.h"
#include "model/UserData.h"

namespace kinetra {

Image ExercisePictures::fullPicture(const PropertyList& record) const { return lookUp(record, ""); }

Image ExercisePictures::thumbnail(const PropertyList& record) const { return lookUp(record, "_t"); }

Image ExercisePictures::namedPicture(std::string_view name) const {
  return bundlePicture(std::string(name) + ".jpg");
}

Image ExercisePictures::bundlePicture(std::string_view fileName) const {
  return Image::named(bundle_, fileName);
}

Image ExercisePictures::lookUp(const PropertyList& record, std::string_view suffix) const {
  const std::optional<std::string_view> image = recordString(record, "image");
  if (!image || image->empty()) return {};
  const std::string name = std::string(*image) + std::string(suffix);
  if (suffix == "_t") {
    if (const std::optional<Image>& kept = bundleThumbnail(name)) return *kept;
  } else if (bundle_.pathForResource(name, "jpg")) {
    return Image::resource(bundle_, name, "jpg");
  }
  if (userData_ != nullptr) {
    if (const std::string* unsaved = userData_->unsavedPicture(name + ".jpg")) {
      return Image::fromBytes(std::vector<std::uint8_t>(unsaved->begin(), unsaved->end()));
    }
  }
  const Result<std::filesystem::path> path = documents_.pathForFile(name + ".jpg");
  return path.ok() ? Image::contentsOfFile(*path) : Image();
}

const std::optional<Image>& ExercisePictures::bundleThumbnail(const std::string& name) const {
  if (const auto kept = thumbnails_.find(name); kept != thumbnails_.end()) return kept->second;
  std::optional<Image> picture;
  if (bundle_.pathForResource(name, "jpg")) picture = Image::resource(bundle_, name, "jpg");
  return thumbnails_.emplace(name, std::move(picture)).first->second;
}

}  // namespace kinetra
