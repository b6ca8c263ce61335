#include "foundation/SerialisedDictionary.h"

#include <algorithm>
#include <utility>

#include "foundation/PropertyListWriter.h"

namespace kinetra {

namespace {

bool keysCarried(const PropertyList::Dictionary& dictionary) {
  return std::all_of(dictionary.begin(), dictionary.end(), [](const auto& entry) {
    return PropertyListWriter::carriesText(entry.first);
  });
}

std::size_t framingSize(bool empty) {
  return empty ? PropertyListWriter::emptyDictionaryFile().size()
               : PropertyListWriter::dictionaryHead().size() +
                     PropertyListWriter::dictionaryTail().size();
}

}  // namespace

void SerialisedDictionary::clear() {
  kept_ = false;
  inFile_ = false;
  entries_.clear();
  whole_.clear();
  size_ = 0;
}

Status SerialisedDictionary::fail(Status status) {
  clear();
  return status;
}

Status SerialisedDictionary::checkSize(std::size_t maxBytes) {
  if (size_ <= maxBytes) return Status::Ok();
  return fail(Status::TooLarge("cannot write a property list of more than " +
                               std::to_string(maxBytes) + " bytes"));
}

Status SerialisedDictionary::rebuild(const PropertyList& dictionary, std::size_t maxBytes) {
  return rebuild(dictionary, FileHolds(), maxBytes);
}

Status SerialisedDictionary::rebuild(const PropertyList& dictionary, const FileHolds& fileHolds,
                                     std::size_t maxBytes) {
  clear();
  if (!dictionary.isDictionary()) return Status::InvalidArgument("not a dictionary");
  const PropertyList::Dictionary& entries = dictionary.asDictionary();
  if (!keysCarried(entries)) {
    Result<std::string> whole = PropertyListWriter::serialise(dictionary, maxBytes);
    if (!whole.ok()) return whole.status();
    whole_ = std::move(*whole);
    size_ = whole_.size();
    kept_ = true;
    return Status::Ok();
  }
  size_ = framingSize(entries.empty());
  auto offset = static_cast<off_t>(PropertyListWriter::dictionaryHead().size());
  entries_.reserve(entries.size());
  for (const auto& [key, value] : entries) {
    Result<std::string> bytes = PropertyListWriter::serialiseTopLevelEntry(key, value, maxBytes);
    if (!bytes.ok()) return fail(bytes.status());
    const std::size_t length = bytes->size();
    size_ += length;
    if (size_ > maxBytes) return checkSize(maxBytes);
    Entry entry{std::move(*bytes)};
    if (fileHolds && fileHolds(offset, entry.bytes)) {
      entry.placeInFile(offset);
      inFile_ = true;
    }
    entries_.try_emplace(key, std::move(entry));  // in order: added at the end
    offset += static_cast<off_t>(length);
  }
  kept_ = true;
  return Status::Ok();
}

Status SerialisedDictionary::update(const PropertyList& dictionary,
                                    std::span<const std::string> keys, std::size_t maxBytes) {
  if (!kept_ || !whole_.empty() || !dictionary.isDictionary()) {
    return rebuild(dictionary, maxBytes);
  }
  const PropertyList::Dictionary& entries = dictionary.asDictionary();
  const bool wasEmpty = entries_.empty();
  for (const std::string& key : keys) {
    const auto kept = entries_.find(key);
    if (kept != entries_.end()) size_ -= kept->second.size();
    const auto current = entries.find(key);
    if (current == entries.end()) {
      if (kept != entries_.end()) entries_.erase(kept);
      continue;
    }
    if (!PropertyListWriter::carriesText(key)) return rebuild(dictionary, maxBytes);
    Result<std::string> bytes =
        PropertyListWriter::serialiseTopLevelEntry(key, current->second, maxBytes);
    if (!bytes.ok()) return fail(bytes.status());
    size_ += bytes->size();
    // An entry changed in place keeps its place; only a new key moves the ones after it.
    if (kept != entries_.end()) {
      kept->second = Entry{std::move(*bytes)};
    } else {
      entries_.try_emplace(key, Entry{std::move(*bytes)});
    }
  }
  // A key added or removed without being named shows in the count; rebuilding costs time, never
  // the change.
  if (entries_.size() != entries.size()) return rebuild(dictionary, maxBytes);
  size_ += framingSize(entries_.empty()) - framingSize(wasEmpty);
  return checkSize(maxBytes);
}

std::vector<FilePiece> SerialisedDictionary::pieces() const {
  std::vector<FilePiece> pieces;
  if (!kept_) return pieces;
  if (!whole_.empty()) {
    pieces.push_back(FilePiece::of(whole_));
    return pieces;
  }
  if (entries_.empty()) {
    pieces.push_back(FilePiece::of(PropertyListWriter::emptyDictionaryFile()));
    return pieces;
  }
  pieces.reserve(entries_.size() + 2);
  pieces.push_back(FilePiece::of(PropertyListWriter::dictionaryHead()));
  for (const auto& [key, entry] : entries_) {
    if (entry.offset < 0) {
      pieces.push_back(FilePiece::of(entry.bytes));
      continue;
    }
    // Days that follow each other in the file are one copy.
    FilePiece& last = pieces.back();
    if (last.inSource() && last.offset + static_cast<off_t>(last.length) == entry.offset) {
      last.length += entry.length;
    } else {
      pieces.push_back(FilePiece::fromSource(entry.offset, entry.length));
    }
  }
  pieces.push_back(FilePiece::of(PropertyListWriter::dictionaryTail()));
  return pieces;
}

void SerialisedDictionary::keptInFile() {
  if (!kept_ || !whole_.empty() || entries_.empty()) return;
  auto offset = static_cast<off_t>(PropertyListWriter::dictionaryHead().size());
  for (auto& [key, entry] : entries_) {
    entry.placeInFile(offset);
    offset += static_cast<off_t>(entry.length);
  }
  inFile_ = true;
}

}  // namespace kinetra
