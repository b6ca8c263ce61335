#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace kinetra {

// A dictionary from text keys to values, kept as one array of entries in byte order of their
// keys, with the interface of a std::map that callers of one use.
//
// One entry is its key and its value and nothing else: no tree node, no allocation of its own.
// A log holds tens of thousands of small dictionaries (a day's exercises), where a map's nodes
// cost twice the entries' own size. Lookups are binary searches; inserting or erasing moves the
// entries after the place, which for the sizes a property list holds is a short copy, and
// adding after the last key (a new day) moves none.
//
// Unlike a map's, references and iterators to entries are invalidated by any insertion or
// erasure in the same dictionary. An entry's key must not be changed through an iterator.
template <typename Value>
class SortedDictionary {
 public:
  using key_type = std::string;
  using mapped_type = Value;
  using value_type = std::pair<std::string, Value>;
  using Entries = std::vector<value_type>;
  using size_type = std::size_t;
  using iterator = typename Entries::iterator;
  using const_iterator = typename Entries::const_iterator;
  using reverse_iterator = typename Entries::reverse_iterator;
  using const_reverse_iterator = typename Entries::const_reverse_iterator;

  SortedDictionary() = default;
  // As a map would be built from them: of entries with the same key, the first is kept.
  SortedDictionary(std::initializer_list<value_type> entries) {
    for (const value_type& entry : entries) try_emplace(entry.first, entry.second);
  }

  // From entries in any order. Of entries with the same key the last is kept, and `repeated` is
  // called with each key met again. Sorting makes this n log n where inserting one entry at a
  // time could be quadratic (a file of keys in reverse order).
  template <typename OnRepeat>
  static SortedDictionary fromEntries(Entries entries, OnRepeat repeated) {
    const auto byKey = [](const value_type& a, const value_type& b) { return a.first < b.first; };
    if (!std::is_sorted(entries.begin(), entries.end(), byKey)) {
      std::stable_sort(entries.begin(), entries.end(), byKey);
    }
    SortedDictionary dictionary;
    dictionary.entries_.reserve(entries.size());
    for (value_type& entry : entries) {
      if (!dictionary.entries_.empty() && dictionary.entries_.back().first == entry.first) {
        repeated(entry.first);
        dictionary.entries_.back().second = std::move(entry.second);
      } else {
        dictionary.entries_.push_back(std::move(entry));
      }
    }
    return dictionary;
  }

  iterator begin() { return entries_.begin(); }
  iterator end() { return entries_.end(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  const_iterator cbegin() const { return entries_.cbegin(); }
  const_iterator cend() const { return entries_.cend(); }
  reverse_iterator rbegin() { return entries_.rbegin(); }
  reverse_iterator rend() { return entries_.rend(); }
  const_reverse_iterator rbegin() const { return entries_.rbegin(); }
  const_reverse_iterator rend() const { return entries_.rend(); }

  bool empty() const { return entries_.empty(); }
  size_type size() const { return entries_.size(); }
  void clear() { entries_.clear(); }
  void reserve(size_type count) { entries_.reserve(count); }

  // The first entry whose key is not before `key`.
  iterator lower_bound(std::string_view key) {
    return std::lower_bound(entries_.begin(), entries_.end(), key, KeyBefore{});
  }
  const_iterator lower_bound(std::string_view key) const {
    return std::lower_bound(entries_.begin(), entries_.end(), key, KeyBefore{});
  }
  // The first entry whose key is after `key`.
  iterator upper_bound(std::string_view key) {
    return std::upper_bound(entries_.begin(), entries_.end(), key, KeyAfter{});
  }
  const_iterator upper_bound(std::string_view key) const {
    return std::upper_bound(entries_.begin(), entries_.end(), key, KeyAfter{});
  }

  iterator find(std::string_view key) {
    const iterator place = lower_bound(key);
    return place != end() && place->first == key ? place : end();
  }
  const_iterator find(std::string_view key) const {
    const const_iterator place = lower_bound(key);
    return place != end() && place->first == key ? place : end();
  }
  bool contains(std::string_view key) const { return find(key) != end(); }
  size_type count(std::string_view key) const { return contains(key) ? 1 : 0; }

  Value& at(std::string_view key) {
    const iterator place = find(key);
    if (place == end()) throw std::out_of_range("no such key");
    return place->second;
  }
  const Value& at(std::string_view key) const {
    const const_iterator place = find(key);
    if (place == end()) throw std::out_of_range("no such key");
    return place->second;
  }

  // `key` is anything a std::string can be made from and a std::string_view seen as.
  template <typename Key>
  Value& operator[](Key&& key) {
    return try_emplace(std::forward<Key>(key)).first->second;
  }

  // Adds the entry unless the key is there; the iterator is the key's entry either way.
  template <typename Key, typename... Args>
  std::pair<iterator, bool> try_emplace(Key&& key, Args&&... args) {
    const std::string_view text(key);
    const iterator place = lower_bound(text);
    if (place != end() && place->first == text) return {place, false};
    return {insertAt(place, std::string(std::forward<Key>(key)), std::forward<Args>(args)...),
            true};
  }
  template <typename Key, typename V>
  std::pair<iterator, bool> emplace(Key&& key, V&& value) {
    return try_emplace(std::forward<Key>(key), std::forward<V>(value));
  }
  std::pair<iterator, bool> insert(value_type entry) {
    return try_emplace(std::move(entry.first), std::move(entry.second));
  }

  // Sets the key's value, adding the entry when the key is not there.
  template <typename V>
  std::pair<iterator, bool> insert_or_assign(std::string key, V&& value) {
    auto [place, added] = try_emplace(std::move(key));
    place->second = std::forward<V>(value);
    return {place, added};
  }

  size_type erase(std::string_view key) {
    const iterator place = find(key);
    if (place == end()) return 0;
    entries_.erase(place);
    return 1;
  }
  iterator erase(const_iterator place) { return entries_.erase(place); }
  iterator erase(const_iterator first, const_iterator last) { return entries_.erase(first, last); }

  friend bool operator==(const SortedDictionary& a, const SortedDictionary& b) {
    return a.entries_ == b.entries_;
  }

 private:
  struct KeyBefore {
    bool operator()(const value_type& entry, std::string_view key) const {
      return std::string_view(entry.first) < key;
    }
  };
  struct KeyAfter {
    bool operator()(std::string_view key, const value_type& entry) const {
      return key < std::string_view(entry.first);
    }
  };

  template <typename... Args>
  iterator insertAt(const_iterator place, std::string key, Args&&... args) {
    if (entries_.size() == entries_.capacity()) {
      // Grown by an eighth rather than twice over: the log's dictionary of days gains one day at
      // a time and would otherwise carry up to as many empty entries as it has days.
      const std::ptrdiff_t at = place - entries_.cbegin();
      entries_.reserve(entries_.size() + entries_.size() / 8 + 4);
      place = entries_.cbegin() + at;
    }
    return entries_.emplace(place, std::piecewise_construct, std::forward_as_tuple(std::move(key)),
                            std::forward_as_tuple(std::forward<Args>(args)...));
  }

  Entries entries_;
};

}  // namespace kinetra
