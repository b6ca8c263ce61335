#include "model/NameIndex.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>

#include <algorithm>

namespace kinetra {

struct NameIndex::Impl {
  std::unique_ptr<icu::Collator> caseless;  // secondary strength: the display order
  std::unique_ptr<icu::Collator> exact;     // tertiary: only to order keys equal but for case
};

namespace {

std::unique_ptr<icu::Collator> makeCollator(const std::string& locale,
                                            icu::Collator::ECollationStrength strength) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> collator(
      icu::Collator::createInstance(icu::Locale::createFromName(locale.c_str()), status));
  if (U_FAILURE(status) || collator == nullptr) {
    status = U_ZERO_ERROR;
    collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) return nullptr;
  }
  collator->setStrength(strength);
  return collator;
}

int compareWith(const icu::Collator* collator, std::string_view a, std::string_view b) {
  if (collator == nullptr) return a.compare(b);
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult result =
      collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                            icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
  if (U_FAILURE(status)) return a.compare(b);
  return static_cast<int>(result);
}

}  // namespace

NameIndex::NameIndex(const std::string& locale) : impl_(std::make_unique<Impl>()) {
  impl_->caseless = makeCollator(locale, icu::Collator::SECONDARY);
  impl_->exact = makeCollator(locale, icu::Collator::TERTIARY);
}

NameIndex::~NameIndex() = default;

int NameIndex::compare(std::string_view a, std::string_view b) const {
  return compareWith(impl_->caseless.get(), a, b);
}

std::string NameIndex::firstCharacter(std::string_view name) {
  if (name.empty()) return {};
  const auto lead = static_cast<unsigned char>(name.front());
  std::size_t length = 1;
  if (lead >= 0xF0) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = 3;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  return std::string(name.substr(0, std::min(length, name.size())));
}

void NameIndex::build(const ExerciseRecords& exercises, Sections& sections,
                      std::vector<std::string>& keys) const {
  sections.clear();
  for (const ExerciseRecord& record : exercises) {
    if (record == nullptr) continue;
    const std::optional<std::string_view> name = recordString(*record, "name");
    if (!name || name->empty()) continue;
    sections[firstCharacter(*name)].push_back(record);
  }
  keys.clear();
  keys.reserve(sections.size());
  for (const auto& section : sections) keys.push_back(section.first);
  // Keys equal but for case ("a", "A") would be equal for the display order; the exact order
  // between them keeps the result the same on every run.
  std::sort(keys.begin(), keys.end(), [this](const std::string& a, const std::string& b) {
    const int caseless = compare(a, b);
    if (caseless != 0) return caseless < 0;
    const int exact = compareWith(impl_->exact.get(), a, b);
    return exact != 0 ? exact < 0 : a < b;
  });
}

}  // namespace kinetra
