// Where an exercise's pictures come from: the bundle's thumbnails read once, the documents'
// pictures read afresh each time.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include "catalogue/ExercisePictures.h"
#include "foundation/ManualClock.h"
#include "foundation/RunLoop.h"
#include "graphics/TestPictures.h"
#include "model/ModelTestSupport.h"
#include "model/UserData.h"
#include "model/UserFileStore.h"
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

// A photo whose save failed (here the documents folder cannot be made: a file stands in its place)
// is shown from memory, in place of the older file, until a save of it succeeds.
TEST_F(ExercisePicturesTest, APhotoWhoseSaveFailedIsShownFromMemory) {
  RunLoop loop(std::make_unique<ManualClock>(Date(1.7e9)));
  loop.log().setSink([](std::string_view) {});
  const std::filesystem::path blocked = folder_ / "Blocked";
  std::ofstream(blocked) << "a file, not a folder";
  UserFileStore files(DocumentsDirectory(blocked / "Documents"), loop);
  UserData data(files);
  const DocumentsDirectory documents(blocked / "Documents");
  const ExercisePictures pictures(bundle_, documents, &data);

  const std::vector<std::uint8_t> photo = picture(24);
  ASSERT_FALSE(
      data.savePicture("Carry_t.jpg", {reinterpret_cast<const char*>(photo.data()), photo.size()})
          .ok());
  const Image shown = pictures.thumbnail(exerciseRecord("Carry"));
  EXPECT_EQ(shown.size().width, 24);
  EXPECT_TRUE(pictures.fullPicture(exerciseRecord("Carry")).empty());
  // Without the user's data only the files count.
  EXPECT_TRUE(ExercisePictures(bundle_, documents).thumbnail(exerciseRecord("Carry")).empty());
}

}  // namespace
}  // namespace kinetra::test
