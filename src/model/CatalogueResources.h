#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/PropertyList.h"
#include "foundation/ResourceBundle.h"
#include "foundation/Status.h"
#include "model/ExerciseRecord.h"

namespace kinetra {

// The five read-only catalogue property lists of the resource bundle ("Exercises", "Targets",
// "Muscles", "LogDates", "Routines", type "plist"). A resource that is missing, unreadable or
// of the wrong top-level kind reads as empty; elements of the wrong kind are left out of the
// string lists. Nothing is reported: the catalogue comes with the application.
class CatalogueResources {
 public:
  CatalogueResources() = delete;

  // "Exercises": the catalogue's records in file order, each a new shared record.
  static ExerciseRecords exercises(const ResourceBundle& bundle);
  // "Targets" or "LogDates": an array of strings.
  static std::vector<std::string> strings(const ResourceBundle& bundle, std::string_view name);
  // "Muscles": arrays of strings, element 0 of each the heading of a group.
  static std::vector<std::vector<std::string>> muscles(const ResourceBundle& bundle);
  // "Routines": routine records (dictionaries of strings) in file order, every element kept.
  static PropertyList::Array routines(const ResourceBundle& bundle);

  // The five lists, in the order start-up loads them.
  static constexpr std::array<std::string_view, 5> kNames = {"Exercises", "Targets", "Muscles",
                                                             "LogDates", "Routines"};

  // Ok when each of the five lists is there and reads as an array; otherwise an error naming
  // every file that is missing or unreadable. The running application stops on it: a bundle
  // without its catalogue is a broken installation, not an empty catalogue.
  static Status check(const ResourceBundle& bundle);

  // Any array resource, whole; empty when missing or unreadable.
  static PropertyList::Array array(const ResourceBundle& bundle, std::string_view name);
};

}  // namespace kinetra
