#pragma once

#include "ui/Image.h"
#include "ui/ScreenDescription.h"

namespace kinetra {

class View;

// The description of `view` and its visible subviews. A view that draws its own content
// reports its displayGeneration; the screen asks it for renderContent() when that changes.
ViewDescription describeViewTree(const View& view);

PictureDescription describePicture(const Image& image);

}  // namespace kinetra
