#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/Application.h"

namespace kinetra::test {

// Every toolkit test starts from a fresh application: a new window, no focus, no animations.
class UiTest : public ::testing::Test {
 protected:
  void SetUp() override { Application::shared().reset(); }
  void TearDown() override { Application::shared().reset(); }

  Application& application() { return Application::shared(); }
  Window& window() { return Application::shared().window(); }
};

// A valid 1 × 1 PNG, with its header's size patched to width × height (pictures are sized from
// the header alone).
inline std::vector<std::uint8_t> pngBytes(std::uint32_t width = 1, std::uint32_t height = 1) {
  std::vector<std::uint8_t> bytes = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
      0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
      0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
      0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF, 0x89, 0x99,
      0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  for (int i = 0; i < 4; ++i) {
    bytes[16 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
    bytes[20 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
  }
  return bytes;
}

}  // namespace kinetra::test
