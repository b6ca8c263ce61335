#pragma once

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/PropertyList.h"
#include "foundation/Status.h"

namespace kinetra {

// The file of a top-level dictionary kept as the serialised bytes of each of its entries, so
// that a change re-serialises only the entries it touched. The pieces, in order, are byte for
// byte what PropertyListWriter::serialise() writes for the whole dictionary.
//
// A dictionary with a key that needs repair is kept as one whole serialisation instead (repaired
// keys may change places), rebuilt on every update.
class SerialisedDictionary {
 public:
  // Serialises every entry of `dictionary` (a dictionary). On failure (see
  // PropertyListWriter::serialise) nothing is kept and the error is returned.
  Status rebuild(const PropertyList& dictionary,
                 std::size_t maxBytes = PropertyList::kMaxFileBytes);

  // Brings the entries named by `keys` up to date with `dictionary`: each is serialised again
  // when the dictionary holds it and dropped when it does not. Every other entry must be as it
  // was at the last rebuild or update. Rebuilds instead when nothing is kept, when the entry
  // count shows a key that was not named, or in the whole form. On failure nothing is kept.
  Status update(const PropertyList& dictionary, std::span<const std::string> keys,
                std::size_t maxBytes = PropertyList::kMaxFileBytes);

  bool empty() const { return !kept_; }
  void clear();

  // The file's bytes in order; views into this object, valid until it changes. Empty when
  // nothing is kept.
  std::vector<std::string_view> pieces() const;
  std::size_t size() const { return size_; }

 private:
  Status fail(Status status);
  Status checkSize(std::size_t maxBytes);

  bool kept_ = false;
  std::map<std::string, std::string, std::less<>> entries_;
  std::string whole_;  // the whole file, when a key needs repair
  std::size_t size_ = 0;
};

}  // namespace kinetra
