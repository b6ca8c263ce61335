#include "app/PlaceholderTableScreen.h"

#include <utility>

namespace kinetra {

PlaceholderTableScreen::PlaceholderTableScreen(std::string title, TableViewStyle style)
    : TableViewController(style) {
  setTitle(std::move(title));
}

}  // namespace kinetra
