#pragma once

#include <string>

#include "ui/Image.h"

namespace kinetra {

// What a screen shows in the tab bar: a title and a picture, and the picture it shows instead
// while its tab is selected (none: the same picture).
struct TabBarItem {
  std::string title;
  Image image;
  Image selectedImage;
};

}  // namespace kinetra
