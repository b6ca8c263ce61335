#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/FilePiece.h"
#include "foundation/PropertyList.h"
#include "foundation/SortedDictionary.h"
#include "foundation/Status.h"

namespace kinetra {

// The file of a top-level dictionary kept as the serialised bytes of each of its entries, so
// that a change re-serialises only the entries it touched. The pieces, in order, are byte for
// byte what PropertyListWriter::serialise() writes for the whole dictionary.
//
// Once the pieces have been written to a file the caller keeps open (keptInFile()), an entry's
// bytes are no longer held: its piece is its place in that file, until a change serialises it
// again. Ten years of log so cost no memory twice over, and a save still writes only what
// changed from memory.
//
// A dictionary with a key that needs repair is kept as one whole serialisation instead (repaired
// keys may change places), rebuilt on every update.
class SerialisedDictionary {
 public:
  // Serialises every entry of `dictionary` (a dictionary). On failure (see
  // PropertyListWriter::serialise) nothing is kept and the error is returned.
  Status rebuild(const PropertyList& dictionary,
                 std::size_t maxBytes = PropertyList::kMaxFileBytes);
  // Whether the file the caller keeps holds `bytes` at `offset`.
  using FileHolds = std::function<bool(off_t offset, std::string_view bytes)>;
  // The same, but an entry whose bytes that file holds where this serialisation puts them lies
  // in the file at once: a file as written before (by this program or not) is taken for what
  // it holds, an entry at a time, without the whole of it in memory.
  Status rebuild(const PropertyList& dictionary, const FileHolds& fileHolds,
                 std::size_t maxBytes = PropertyList::kMaxFileBytes);

  // Brings the entries named by `keys` up to date with `dictionary`: each is serialised again
  // when the dictionary holds it and dropped when it does not. Every other entry must be as it
  // was at the last rebuild or update. Rebuilds instead when nothing is kept, when the entry
  // count shows a key that was not named, or in the whole form. On failure nothing is kept.
  Status update(const PropertyList& dictionary, std::span<const std::string> keys,
                std::size_t maxBytes = PropertyList::kMaxFileBytes);

  bool empty() const { return !kept_; }
  void clear();

  // The file's bytes in order: views into this object, valid until it changes, and places in
  // the file of keptInFile(). Empty when nothing is kept.
  std::vector<FilePiece> pieces() const;
  std::size_t size() const { return size_; }

  // The pieces were just written, in order, to the file the caller keeps: every entry's piece
  // becomes its place there, and its bytes are let go. Nothing changes in the whole form.
  void keptInFile();
  // True when some piece lies in that file: the caller must still have it, unchanged.
  bool inFile() const { return inFile_; }

 private:
  // An entry's serialised bytes, or its place in the file they were last written to.
  struct Entry {
    std::string bytes;
    off_t offset = -1;
    std::size_t length = 0;

    std::size_t size() const { return offset >= 0 ? length : bytes.size(); }
    // Lets the bytes go (a string assigned an empty one would keep its buffer).
    void placeInFile(off_t at) {
      length = size();
      offset = at;
      std::string().swap(bytes);
    }
  };

  Status fail(Status status);
  Status checkSize(std::size_t maxBytes);

  bool kept_ = false;
  bool inFile_ = false;
  SortedDictionary<Entry> entries_;
  std::string whole_;  // the whole file, when a key needs repair
  std::size_t size_ = 0;
};

}  // namespace kinetra
