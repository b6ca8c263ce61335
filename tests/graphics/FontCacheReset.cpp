// Cairo and fontconfig keep process-wide font caches that live until exit; the leak checker
// of the sanitizer build would report them. Release them once every test has run.

#include "graphics/DrawingContext.h"

#include <gtest/gtest.h>

namespace kinetra {
namespace {

class FontCacheReset : public ::testing::Environment {
 public:
  void TearDown() override { DrawingContext::releaseFontCaches(); }
};

// GoogleTest takes ownership of the environment.
[[maybe_unused]] ::testing::Environment* const kFontCacheReset =
    ::testing::AddGlobalTestEnvironment(new FontCacheReset);

}  // namespace
}  // namespace kinetra
