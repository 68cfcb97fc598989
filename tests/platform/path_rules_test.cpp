#include "platform/path_rules.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(PathRules, RemoveExtensionDropsOnlyTheLastExtensionOfTheName) {
  EXPECT_EQ(RemoveExtension("city.lws"), "city");
  EXPECT_EQ(RemoveExtension("my.car.lws"), "my.car");
  EXPECT_EQ(RemoveExtension("Untitled"), "Untitled");
  EXPECT_EQ(RemoveExtension("take.2 final"), "take.2 final");
  EXPECT_EQ(RemoveExtension(""), "");
  EXPECT_EQ(RemoveExtension("maps\\wheel.tga"), "maps\\wheel");
  EXPECT_EQ(RemoveExtension("maps.v2\\wheel"), "maps.v2\\wheel");
  EXPECT_EQ(RemoveExtension(".hidden"), "");
}

TEST(PathRules, StripPathKeepsWhatFollowsTheLastSeparator) {
  EXPECT_EQ(StripPath("C:\\models\\car.lwo"), "car.lwo");
  EXPECT_EQ(StripPath("/home/u/objects/car.lwo"), "car.lwo");
  EXPECT_EQ(StripPath("C:car.lwo"), "car.lwo");
  EXPECT_EQ(StripPath("car.lwo"), "car.lwo");
  EXPECT_EQ(StripPath("dir/"), "");
}

TEST(PathRules, ProposedFileNamesKeepTheirExtensionAndFitTheBuffer) {
  EXPECT_EQ(ProposedFileName("city.lws", ".dff", 512), "city.dff");
  EXPECT_EQ(ProposedFileName(nullptr, ".col", 512), ".col");
  const std::string longName = std::string(600, 'n') + ".lws";
  const std::string proposal = ProposedFileName(longName.c_str(), ".col", 512);
  EXPECT_EQ(proposal, std::string(507, 'n') + ".col");
  EXPECT_EQ(ProposedFileName((std::string(507, 'n') + ".lws").c_str(), ".dff", 512).size(), 511u);
}

}  // namespace
}  // namespace platform
