#pragma once

#include <string>

#include "ui/Image.h"

namespace kinetra {

// What a screen shows in the tab bar: a title and a picture.
struct TabBarItem {
  std::string title;
  Image image;
};

}  // namespace kinetra
