#include "model/UserFileStore.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

#include "foundation/AtomicFile.h"
#include "foundation/FileSystem.h"
#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"

namespace kinetra {

namespace {

// How many numbered names are tried when an aside name is taken already.
constexpr int kAsideAttempts = 100;

constexpr UserFile kUserFiles[] = {UserFile::kWorkouts, UserFile::kCustomExercises,
                                   UserFile::kExerciseLog, UserFile::kAerobicsLog,
                                   UserFile::kSettings};

constexpr std::string_view kPictureSuffix = ".jpg";

bool isPictureName(std::string_view name) {
  return name.size() > kPictureSuffix.size() && name.ends_with(kPictureSuffix) &&
         DocumentsDirectory::isBareName(name);
}

// A temporary file of a picture's write: "." + the picture's name + ".tmp-" + 16 digits.
bool isLeftoverOfPictureWrite(std::string_view name) {
  const std::size_t tail = name.rfind(".tmp-");
  if (tail == std::string_view::npos || tail < 1) return false;
  const std::string_view target = name.substr(1, tail - 1);
  return isPictureName(target) && AtomicFile::isTemporaryFor(name, target);
}

bool isLeftoverOfWrite(std::string_view name) {
  return isLeftoverOfPictureWrite(name) ||
         std::any_of(std::begin(kUserFiles), std::end(kUserFiles), [&](UserFile file) {
           return AtomicFile::isTemporaryFor(name, UserFileStore::fileName(file));
         });
}

// Gives the file at `path` the second name `aside` without replacing anything there; where the
// file system has no hard links, renames it instead. 0 or the errno: EEXIST when `aside` is
// taken, ENOENT when there is no file at `path`.
int keepUnder(FileSystem& fileSystem, const std::filesystem::path& path,
              const std::filesystem::path& aside) {
  const int error = fileSystem.link(path, aside);
  if (error == 0 || error == EEXIST || error == ENOENT) return error;
  struct stat info {};
  if (fileSystem.linkStatus(aside, info) == 0) return EEXIST;
  return fileSystem.rename(path, aside);
}

std::string counted(std::size_t count, const std::string& thing) {
  return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

}  // namespace

UserFileStore::UserFileStore(DocumentsDirectory documents, RunLoop& runLoop)
    : UserFileStore(std::move(documents), runLoop, FileSystem::system()) {}

UserFileStore::UserFileStore(DocumentsDirectory documents, RunLoop& runLoop, FileSystem& fileSystem)
    : documents_(std::move(documents)), runLoop_(runLoop), fileSystem_(fileSystem) {}

UserFileStore::~UserFileStore() {
  for (FileState& each : states_) release(each);
}

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

void UserFileStore::removeInterruptedWrites() {
  std::vector<std::filesystem::path> leftovers;
  std::error_code error;
  for (auto entry = std::filesystem::directory_iterator(documents_.path(), error);
       !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    if (isLeftoverOfWrite(entry->path().filename().string())) leftovers.push_back(entry->path());
  }
  std::size_t removed = 0;
  std::size_t failed = 0;
  std::uintmax_t bytes = 0;
  for (const std::filesystem::path& path : leftovers) {
    struct stat info {};
    if (fileSystem_.linkStatus(path, info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (fileSystem_.unlink(path) != 0) {
      ++failed;
      continue;
    }
    ++removed;
    bytes += static_cast<std::uintmax_t>(info.st_size);
  }
  if (removed == 0 && failed == 0) return;
  std::string line = "removed " + counted(removed, "temporary file") + " (" +
                     std::to_string(bytes) + " bytes) left by interrupted saves";
  if (failed > 0) line += "; " + std::to_string(failed) + " more could not be removed";
  runLoop_.log().line(line);
}

std::optional<PropertyList> UserFileStore::load(UserFile file) {
  const auto path = documents_.pathForFile(fileName(file));
  if (!path.ok()) return std::nullopt;
  Result<PropertyListReading> reading = loadPropertyListReading(*path, topLevel(file));
  if (!reading.ok()) {
    if (reading.status().code() != Status::Code::kNotFound) {
      state(file).keepAside = "could not be read at start-up (" + reading.status().toString() + ")";
    }
    return std::nullopt;
  }
  if (!reading->exact()) {
    state(file).keepAside = "could not be read exactly at start-up (" + reading->inexact + ")";
  }
  return std::move(reading->value);
}

Status UserFileStore::writeWith(UserFile file, const WriteStep& step) {
  const std::string name(fileName(file));
  Status status = documents_.ensureExists();
  if (status.ok() && state(file).keepAside) status = keepAside(file, *state(file).keepAside);
  if (status.ok()) {
    const auto path = documents_.pathForFile(name);
    status = path.ok() ? step(*path) : path.status();
  }
  if (!status.ok()) {
    runLoop_.log().line("could not save " + name + " (" + status.toString() +
                        "); the change is kept in memory and saved with the next one");
  }
  return status;
}

Status UserFileStore::write(UserFile file, const PropertyList& value) {
  if (topLevel(file) != PropertyList::Kind::kDictionary || !value.isDictionary()) {
    state(file).serialised.clear();
    release(state(file));
    return writeWith(file, [&](const std::filesystem::path& path) {
      const Result<std::string> bytes = PropertyListWriter::serialise(value);
      return bytes.ok() ? AtomicFile::write(fileSystem_, path, *bytes) : bytes.status();
    });
  }
  const Status serialised = state(file).serialised.rebuild(value);
  if (!serialised.ok()) return writeWith(file, [&](const auto&) { return serialised; });
  return writeSerialised(file, value);
}

Status UserFileStore::writeChanged(UserFile file, const PropertyList& value,
                                   std::span<const std::string> changedKeys) {
  if (topLevel(file) != PropertyList::Kind::kDictionary || !value.isDictionary()) {
    return write(file, value);
  }
  const Status serialised = state(file).serialised.update(value, changedKeys);
  if (!serialised.ok()) return writeWith(file, [&](const auto&) { return serialised; });
  checkSerialised(file, value);
  return writeSerialised(file, value);
}

void UserFileStore::prepareChanges(UserFile file, const PropertyList& value) {
  if (topLevel(file) != PropertyList::Kind::kDictionary || !value.isDictionary()) return;
  FileState& fileState = state(file);
  if (!fileState.serialised.empty()) return;
  const auto path = documents_.pathForFile(fileName(file));
  if (fileState.keepAside || !path.ok() || !hold(fileState, *path)) {
    static_cast<void>(fileState.serialised.rebuild(value));
    return;
  }
  static_cast<void>(fileState.serialised.rebuild(value, [&](off_t offset, std::string_view bytes) {
    return heldHolds(fileState, offset, bytes);
  }));
  if (!fileState.serialised.inFile()) release(fileState);
}

Status UserFileStore::writeSerialised(UserFile file, const PropertyList& value) {
  return writeWith(file, [&](const std::filesystem::path& path) {
    FileState& fileState = state(file);
    SerialisedDictionary& serialised = fileState.serialised;
    if (serialised.inFile() && !heldIsCurrent(fileState, path)) {
      // Changed or replaced by something else since: nothing can be taken from it.
      release(fileState);
      if (Status rebuilt = serialised.rebuild(value); !rebuilt.ok()) return rebuilt;
    }
    const std::vector<FilePiece> pieces = serialised.pieces();
    const Status written = AtomicFile::write(fileSystem_, path, pieces, fileState.held.fd);
    if (written.ok()) {
      // The pieces now lie in the new file; the old one goes when its descriptor does.
      if (hold(fileState, path) && fileState.held.size == static_cast<off_t>(serialised.size())) {
        serialised.keptInFile();
      } else {
        release(fileState);
      }
    } else if (serialised.inFile()) {
      // The failure may have been in reading the old file: the next save takes nothing from it.
      release(fileState);
      static_cast<void>(serialised.rebuild(value));
    }
    return written;
  });
}

bool UserFileStore::hold(FileState& fileState, const std::filesystem::path& path) {
  release(fileState);
  const int fd = fileSystem_.openForReading(path);
  if (fd < 0) return false;
  struct stat info {};
  if (fileSystem_.descriptorStatus(fd, info) != 0 || !S_ISREG(info.st_mode)) {
    static_cast<void>(fileSystem_.close(fd));  // only read from; nothing to lose
    return false;
  }
  fileState.held = {fd, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
  return true;
}

void UserFileStore::release(FileState& fileState) {
  if (fileState.held.fd < 0) return;
  static_cast<void>(fileSystem_.close(fileState.held.fd));  // only read from; nothing to lose
  fileState.held = {};
}

bool UserFileStore::heldIsCurrent(const FileState& fileState,
                                  const std::filesystem::path& path) const {
  const HeldFile& held = fileState.held;
  struct stat there {};
  struct stat now {};
  return held.fd >= 0 && fileSystem_.status(path, there) == 0 &&
         fileSystem_.descriptorStatus(held.fd, now) == 0 && there.st_dev == held.device &&
         there.st_ino == held.inode && now.st_size == held.size &&
         now.st_mtim.tv_sec == held.modified.tv_sec && now.st_mtim.tv_nsec == held.modified.tv_nsec;
}

std::optional<std::string> UserFileStore::readHeld(const FileState& fileState, off_t offset,
                                                   std::size_t length) const {
  if (offset < 0 || offset + static_cast<off_t>(length) > fileState.held.size) return std::nullopt;
  std::string there(length, '\0');
  std::size_t got = 0;
  while (got < there.size()) {
    const ssize_t read = fileSystem_.readAt(fileState.held.fd, there.data() + got,
                                            there.size() - got, offset + static_cast<off_t>(got));
    if (read == -EINTR) continue;
    if (read <= 0) return std::nullopt;
    got += static_cast<std::size_t>(read);
  }
  return there;
}

bool UserFileStore::heldHolds(const FileState& fileState, off_t offset,
                              std::string_view bytes) const {
  const std::optional<std::string> there = readHeld(fileState, offset, bytes.size());
  return there && *there == bytes;
}

void UserFileStore::checkSerialised([[maybe_unused]] UserFile file,
                                    [[maybe_unused]] const PropertyList& value) const {
#ifndef NDEBUG
  const FileState& fileState = state(file);
  // A held file changed by something else is not copied from; the write serialises anew.
  const auto path = documents_.pathForFile(fileName(file));
  if (fileState.serialised.inFile() && (!path.ok() || !heldIsCurrent(fileState, *path))) return;
  std::string kept;
  for (const FilePiece& piece : fileState.serialised.pieces()) {
    if (!piece.inSource()) {
      kept += piece.bytes;
      continue;
    }
    const std::optional<std::string> there = readHeld(fileState, piece.offset, piece.length);
    if (!there) return;  // the write reports what is wrong with the file
    kept += *there;
  }
  const Result<std::string> whole = PropertyListWriter::serialise(value);
  if (whole.ok() && *whole != kept) {
    runLoop_.log().line("a change to " + std::string(fileName(file)) +
                        " was saved without naming every entry it touched");
    std::abort();
  }
#endif
}

Status UserFileStore::writePicture(std::string_view fileName, std::string_view bytes) {
  if (!isPictureName(fileName)) {
    return Status::InvalidArgument("not the name of a picture file: " + std::string(fileName));
  }
  Status status = documents_.ensureExists();
  if (status.ok()) {
    const auto path = documents_.pathForFile(fileName);
    status = path.ok() ? AtomicFile::write(fileSystem_, *path, bytes) : path.status();
  }
  if (!status.ok()) {
    runLoop_.log().line("could not save the picture " + std::string(fileName) + " (" +
                        status.toString() + ")");
  }
  return status;
}

Status UserFileStore::removeFile(const std::filesystem::path& path) {
  const int error = fileSystem_.unlink(path);
  if (error == 0 || error == ENOENT) return Status::Ok();
  Status status = Status::IOError(path.filename().string() + ": " + std::strerror(error));
  runLoop_.log().line("could not remove " + path.filename().string() + " (" + status.toString() +
                      ")");
  return status;
}

Status UserFileStore::keepAside(UserFile file, std::string reason) {
  const std::string name(fileName(file));
  const std::filesystem::path path = documents_.path() / name;
  const std::string base = name + ".unreadable-" + asideSuffix();
  int error = 0;
  for (int attempt = 1; attempt <= kAsideAttempts; ++attempt) {
    const std::string asideName = attempt == 1 ? base : base + "-" + std::to_string(attempt);
    error = keepUnder(fileSystem_, path, documents_.path() / asideName);
    if (error == EEXIST) continue;
    if (error == ENOENT) {
      // Gone since start-up: there is nothing left to keep.
      state(file).keepAside.reset();
      return Status::Ok();
    }
    if (error != 0) break;
    state(file).keepAside.reset();
    runLoop_.log().line(name + " " + reason + "; kept as " + asideName + " before saving anew");
    return Status::Ok();
  }
  return Status::IOError("could not keep " + name + " aside" +
                         (error != 0 ? ": " + std::string(std::strerror(error)) : std::string()));
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
