#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "shell/PictureStore.h"
#include "ui/ScreenDescription.h"

namespace kinetra {

// Turns a screen description into the JSON frame the client draws:
//   {"type":"frame","size":[w,h],"statusBarHidden":b,"root":VIEW,"animations":[...]}
// Each VIEW carries "id", "kind", "frame" and only the fields that differ from their defaults
// (see the client's render.js for the full list); pictures are {"id":"<16 hex>","w","h"} and
// go into the picture store, from which the client fetches them. A custom-drawn view gets the
// picture the render callback gives for it. Numbers are rounded to 1/1000 (points, seconds) and
// 1/10000 (colour components), which is finer than any screen shows.
class FrameEncoder {
 public:
  // Gives the picture of a custom-drawn view, or nothing when it draws nothing.
  using Render = std::function<std::optional<PictureDescription>(const ViewDescription&)>;

  FrameEncoder(PictureStore& pictures, Render render)
      : pictures_(pictures), render_(std::move(render)) {}

  // The frame's JSON text. Equal screens give equal texts.
  std::string encode(const ScreenDescription& screen);

 private:
  PictureStore& pictures_;
  Render render_;
};

}  // namespace kinetra
