#include "foundation/SortedDictionary.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kinetra {
namespace {

using Dictionary = SortedDictionary<int>;

std::vector<std::pair<std::string, int>> contents(const Dictionary& dictionary) {
  return {dictionary.begin(), dictionary.end()};
}
std::vector<std::pair<std::string, int>> contents(const std::map<std::string, int>& map) {
  return {map.begin(), map.end()};
}

// Every change a caller makes, at random, against a std::map doing the same.
TEST(SortedDictionaryTest, BehavesAsAMapUnderRandomChanges) {
  std::mt19937 random(19);
  std::uniform_int_distribution<int> keyNumber(0, 60);
  std::uniform_int_distribution<int> operation(0, 5);
  Dictionary dictionary;
  std::map<std::string, int> expected;
  for (int step = 0; step < 4000; ++step) {
    // Keys of different lengths, so byte order differs from numeric order.
    const std::string key = std::to_string(keyNumber(random) * 7);
    switch (operation(random)) {
      case 0:
        dictionary[key] = step;
        expected[key] = step;
        break;
      case 1:
        EXPECT_EQ(dictionary.try_emplace(key, step).second, expected.try_emplace(key, step).second);
        break;
      case 2:
        EXPECT_EQ(dictionary.insert_or_assign(key, step).second,
                  expected.insert_or_assign(key, step).second);
        break;
      case 3:
        EXPECT_EQ(dictionary.erase(key), expected.erase(key));
        break;
      case 4: {
        const auto found = dictionary.find(key);
        const auto wanted = expected.find(key);
        ASSERT_EQ(found == dictionary.end(), wanted == expected.end());
        if (wanted != expected.end()) {
          EXPECT_EQ(found->second, wanted->second);
        }
        break;
      }
      default: {
        const auto lower = dictionary.lower_bound(key);
        const auto upper = dictionary.upper_bound(key);
        EXPECT_EQ(lower - dictionary.begin(),
                  std::distance(expected.begin(), expected.lower_bound(key)));
        EXPECT_EQ(upper - dictionary.begin(),
                  std::distance(expected.begin(), expected.upper_bound(key)));
      }
    }
    ASSERT_EQ(contents(dictionary), contents(expected)) << "after step " << step;
  }
}

TEST(SortedDictionaryTest, FromEntriesInAnyOrderKeepsTheLastOfARepeatedKey) {
  std::vector<std::string> repeated;
  const Dictionary dictionary =
      Dictionary::fromEntries({{"b", 1}, {"a", 2}, {"c", 3}, {"b", 4}, {"a", 5}, {"b", 6}},
                              [&](const std::string& key) { repeated.push_back(key); });
  const std::vector<std::pair<std::string, int>> expected{{"a", 5}, {"b", 6}, {"c", 3}};
  EXPECT_EQ(contents(dictionary), expected);
  EXPECT_EQ(repeated, (std::vector<std::string>{"a", "b", "b"}));

  // A map's initializer list keeps the first instead, and so does this one's.
  const Dictionary listed{{"z", 1}, {"y", 2}, {"z", 3}};
  EXPECT_EQ(contents(listed), (std::vector<std::pair<std::string, int>>{{"y", 2}, {"z", 1}}));
}

}  // namespace
}  // namespace kinetra
