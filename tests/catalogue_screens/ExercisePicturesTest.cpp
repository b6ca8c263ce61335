// Where an exercise's pictures come from: the bundle's thumbnails read once, the documents'
// pictures read afresh each time.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "catalogue/ExercisePictures.h"
#include "graphics/TestPictures.h"
#include "model/ModelTestSupport.h"
#include "support/TemporaryDirectory.h"

namespace kinetra::test {
namespace {

std::vector<std::uint8_t> picture(int width) {
  kinetra::testing::JpegSpec spec(width, 4);
  spec.samples.assign(static_cast<std::size_t>(width) * 4 * 3, 0x80);
  return kinetra::testing::makeJpeg(spec);
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

class ExercisePicturesTest : public ::testing::Test {
 protected:
  testing::TemporaryDirectory folder_;
  ResourceBundle bundle_{folder_ / "Bundle"};
  DocumentsDirectory documents_{folder_ / "Documents"};
  ExercisePictures pictures_{bundle_, documents_};
};

TEST_F(ExercisePicturesTest, ABundleThumbnailIsReadOnceAndAPictureOfTheUsersEachTime) {
  writeFile(folder_ / "Bundle" / "Squat_t.jpg", picture(8));
  writeFile(folder_ / "Documents" / "Carry_t.jpg", picture(8));
  const Image bundled = pictures_.thumbnail(exerciseRecord("Squat"));
  const Image own = pictures_.thumbnail(exerciseRecord("Carry"));
  ASSERT_FALSE(bundled.empty());
  ASSERT_FALSE(own.empty());

  // The bundle does not change while the application runs; the user's photo may.
  writeFile(folder_ / "Bundle" / "Squat_t.jpg", picture(16));
  writeFile(folder_ / "Documents" / "Carry_t.jpg", picture(16));
  EXPECT_EQ(pictures_.thumbnail(exerciseRecord("Squat")), bundled);
  const Image replaced = pictures_.thumbnail(exerciseRecord("Carry"));
  EXPECT_FALSE(replaced.empty());
  EXPECT_NE(replaced, own);
  EXPECT_EQ(replaced.size().width, 16);

  // A name the bundle lacks keeps going to the documents, where the photo may come later.
  EXPECT_TRUE(pictures_.thumbnail(exerciseRecord("Later")).empty());
  writeFile(folder_ / "Documents" / "Later_t.jpg", picture(8));
  EXPECT_FALSE(pictures_.thumbnail(exerciseRecord("Later")).empty());
  // The full picture is looked up as before.
  writeFile(folder_ / "Bundle" / "Squat.jpg", picture(12));
  EXPECT_EQ(pictures_.fullPicture(exerciseRecord("Squat")).size().width, 12);
}

}  // namespace
}  // namespace kinetra::test
