// The complete exercise list's sections as the shared state builds them at start-up, from the
// bundled catalogue and the user's custom exercises together.
#include "app/AppTestSupport.h"

namespace kinetra::test {
namespace {

using StartUpIndexTest = AppTest;

TEST_F(StartUpIndexTest, ACustomZComesAfterTheCataloguesZs) {
  writeSmallCatalogue();
  writeDocument("Custom_Exercises.plist", PropertyList::Array{exerciseRecord("Zane's Curl")});
  VelomarAppDelegate& state = launch();
  EXPECT_EQ(state.exerciseList().exerciseNameIndexArray,
            (std::vector<std::string>{" ", "b", "S", "Z"}));
  EXPECT_EQ(namesOf(state.exerciseList().indexedExercises.at("Z")),
            (std::vector<std::string>{"Zottman Curl", "Zane's Curl"}));
  EXPECT_EQ(namesOf(state.exerciseList().indexedExercises.at(" ")),
            (std::vector<std::string>{" treadmill", " rowing"}));
}

}  // namespace
}  // namespace kinetra::test
