#include "app/UserFileStore.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"

namespace kinetra {

namespace {

// How many numbered names are tried when an aside name is taken already.
constexpr int kAsideAttempts = 100;

}  // namespace

UserFileStore::UserFileStore(DocumentsDirectory documents, RunLoop& runLoop)
    : documents_(std::move(documents)), runLoop_(runLoop) {}

std::string_view UserFileStore::fileName(UserFile file) {
  switch (file) {
    case UserFile::kWorkouts:
      return "Workouts.plist";
    case UserFile::kCustomExercises:
      return "Custom_Exercises.plist";
    case UserFile::kExerciseLog:
      return "Kinetra_Log.plist";
    case UserFile::kAerobicsLog:
      return "Kinetra_Aerobics_Log.plist";
    case UserFile::kSettings:
      return "settings.plist";
  }
  return {};
}

PropertyList::Kind UserFileStore::topLevel(UserFile file) {
  switch (file) {
    case UserFile::kWorkouts:
    case UserFile::kCustomExercises:
      return PropertyList::Kind::kArray;
    case UserFile::kExerciseLog:
    case UserFile::kAerobicsLog:
    case UserFile::kSettings:
      return PropertyList::Kind::kDictionary;
  }
  return PropertyList::Kind::kDictionary;
}

std::optional<PropertyList> UserFileStore::load(UserFile file) {
  const auto path = documents_.pathForFile(fileName(file));
  if (!path.ok()) return std::nullopt;
  Result<PropertyList> value = loadPropertyList(*path, topLevel(file));
  if (value.ok()) return std::move(value).value();
  if (value.status().code() != Status::Code::kNotFound) {
    state(file).unreadable = value.status().toString();
  }
  return std::nullopt;
}

Status UserFileStore::write(UserFile file, const PropertyList& value) {
  const std::string name(fileName(file));
  Status status = documents_.ensureExists();
  if (status.ok() && state(file).unreadable) status = moveAside(file, *state(file).unreadable);
  if (status.ok()) {
    const auto path = documents_.pathForFile(name);
    status = path.ok() ? writePropertyList(*path, value) : path.status();
  }
  if (!status.ok()) {
    runLoop_.log().line("could not save " + name + " (" + status.toString() +
                        "); the change is kept in memory and saved with the next one");
  }
  return status;
}

Status UserFileStore::moveAside(UserFile file, std::string reason) {
  const std::string name(fileName(file));
  const std::filesystem::path path = documents_.path() / name;
  const std::string base = name + ".unreadable-" + asideSuffix();
  std::error_code error;
  for (int attempt = 1; attempt <= kAsideAttempts; ++attempt) {
    const std::string asideName = attempt == 1 ? base : base + "-" + std::to_string(attempt);
    const std::filesystem::path aside = documents_.path() / asideName;
    if (std::filesystem::symlink_status(aside, error).type() !=
        std::filesystem::file_type::not_found) {
      continue;
    }
    std::filesystem::rename(path, aside, error);
    if (error == std::errc::no_such_file_or_directory) {
      // Gone since start-up: there is nothing left to keep.
      state(file).unreadable.reset();
      return Status::Ok();
    }
    if (error) break;
    state(file).unreadable.reset();
    runLoop_.log().line(name + " could not be read at start-up (" + reason + "); kept as " +
                        asideName + " before saving anew");
    return Status::Ok();
  }
  return Status::IOError("could not move the unreadable " + name + " aside" +
                         (error ? ": " + error.message() : std::string()));
}

std::string UserFileStore::asideSuffix() const {
  const double seconds = runLoop_.now().timeIntervalSince1970();
  const auto moment = static_cast<std::time_t>(std::isfinite(seconds) ? std::floor(seconds) : 0);
  std::tm local{};
  char text[32] = "00000000-000000";
  if (::localtime_r(&moment, &local) != nullptr) {
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  }
  return text;
}

}  // namespace kinetra
