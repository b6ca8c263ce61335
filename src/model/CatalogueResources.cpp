#include "model/CatalogueResources.h"

#include <memory>
#include <optional>
#include <utility>

#include "foundation/PropertyListReader.h"

namespace kinetra {

namespace {

std::vector<std::string> stringsOf(const PropertyList::Array& array) {
  std::vector<std::string> strings;
  strings.reserve(array.size());
  for (const PropertyList& element : array) {
    if (element.isString()) strings.emplace_back(element.asString());
  }
  return strings;
}

}  // namespace

Status CatalogueResources::check(const ResourceBundle& bundle) {
  std::string problems;
  for (std::string_view name : kNames) {
    const std::string file = std::string(name) + ".plist";
    const std::optional<std::filesystem::path> path = bundle.pathForResource(name, "plist");
    const std::filesystem::path shown = bundle.directory() / file;
    if (!path) {
      problems += (problems.empty() ? "" : "; ") + shown.string() + " is missing";
      continue;
    }
    if (Result<PropertyList> value = loadPropertyList(*path, PropertyList::Kind::kArray);
        !value.ok()) {
      problems += (problems.empty() ? "" : "; ") + shown.string() +
                  " is unreadable: " + value.status().message();
    }
  }
  if (problems.empty()) return Status::Ok();
  return Status::NotFound("the catalogue is incomplete: " + problems);
}

PropertyList::Array CatalogueResources::array(const ResourceBundle& bundle, std::string_view name) {
  const std::optional<std::filesystem::path> path = bundle.pathForResource(name, "plist");
  if (!path) return {};
  Result<PropertyList> value = loadPropertyList(*path, PropertyList::Kind::kArray);
  if (!value.ok()) return {};
  return std::move(value.value().asArray());
}

ExerciseRecords CatalogueResources::exercises(const ResourceBundle& bundle) {
  PropertyList::Array records = array(bundle, "Exercises");
  ExerciseRecords shared;
  shared.reserve(records.size());
  for (PropertyList& record : records) {
    shared.push_back(std::make_shared<PropertyList>(std::move(record)));
  }
  return shared;
}

std::vector<std::string> CatalogueResources::strings(const ResourceBundle& bundle,
                                                     std::string_view name) {
  return stringsOf(array(bundle, name));
}

std::vector<std::vector<std::string>> CatalogueResources::muscles(const ResourceBundle& bundle) {
  std::vector<std::vector<std::string>> groups;
  for (const PropertyList& group : array(bundle, "Muscles")) {
    if (group.isArray()) groups.push_back(stringsOf(group.asArray()));
  }
  return groups;
}

PropertyList::Array CatalogueResources::routines(const ResourceBundle& bundle) {
  // Kept whole, even an element that is not a dictionary: a routine's thumbnail is named by its
  // position in the file.
  return array(bundle, "Routines");
}

}  // namespace kinetra
