// The search for a model's texture dictionary, as lwhost --import and the
// import module's converter share it: which TXD of the model's folder its
// textures come from, and what happens when none holds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "dff/output_stream.h"
#include "import_scene/model_files.h"
#include "tests/dff_inspect/dff_builder.h"
#include "tests/support/files_and_programs.h"
#include "txd/pixel_format.h"
#include "txd/txd_writer.h"

namespace {
namespace fs = std::filesystem;
using import_scene::Conversion;

txd::NativeTexture Dxt1Texture(const std::string& name) {
  constexpr std::uint16_t kSide = 4;
  const std::vector<std::vector<std::uint8_t>> levels{
      std::vector<std::uint8_t>(txd::LevelByteCount(txd::PixelFormat::Dxt1, kSide, kSide), std::uint8_t{0x5A})};
  return txd::MakeNativeTexture(name, "", txd::PixelFormat::Dxt1, false, kSide, kSide, levels);
}

std::vector<std::uint8_t> DictionaryBytes(const std::vector<std::string>& names) {
  std::vector<txd::NativeTexture> textures;
  for (const std::string& name : names) textures.push_back(Dxt1Texture(name));
  dff::OutputStream stream;
  txd::WriteTextureDictionary(stream, textures);
  return stream.bytes();
}

bool AnyMentions(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// car.dff names three textures: "body" with the environment map
// "vehicleenvmap128", and "glass".
class TxdSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("velmora-txd-search-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "models");
    dffinfo::testing::SampleClump clump = dffinfo::testing::MakeSampleClump();
    clump.geometries[0].materials[1].textured = 1;
    clump.geometries[0].materials[1].texture = dffinfo::testing::SampleTexture{"glass", "", 0x00011106};
    testsupport::WriteFileBytes(dir_ / "models/car.dff",
                                dffinfo::testing::Serialise({dffinfo::testing::BuildClump(clump)}).bytes);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Dictionary(const std::string& fileName, const std::vector<std::string>& names) {
    testsupport::WriteFileBytes(dir_ / "models" / fileName, DictionaryBytes(names));
  }

  Conversion Convert(std::function<std::optional<std::string>()> ask = {}) {
    return import_scene::ConvertModel({(dir_ / "models/car.dff").string(), {}, {}, std::move(ask)},
                                      (dir_ / "out").string());
  }

  bool Imaged(const std::string& texture) const { return fs::exists(dir_ / "out/images" / (texture + ".png")); }

  // Fails the test when the user is asked though the folder held an answer.
  static std::optional<std::string> MustNotAsk() {
    ADD_FAILURE() << "the user was asked for the TXD";
    return std::nullopt;
  }

  fs::path dir_;
};

TEST_F(TxdSearch, TheSameNamedTxdInAnyCaseWinsOverOneThatHoldsMore) {
  Dictionary("car.TXD", {"body"});
  Dictionary("all.txd", {"body", "glass", "vehicleenvmap128"});
  const Conversion conversion = Convert(MustNotAsk);
  ASSERT_EQ(conversion.outcome, Conversion::Outcome::kWritten) << conversion.error;
  EXPECT_TRUE(Imaged("body"));
  EXPECT_FALSE(Imaged("glass"));
  EXPECT_FALSE(AnyMentions(conversion.warnings, "textures from")) << "the same-named TXD needs no mention";
}

TEST_F(TxdSearch, AnotherTxdOfTheFolderHoldingEveryTextureIsFoundWhateverTheCaseOfItsNames) {
  Dictionary("a.txd", {"lamp", "pole"});
  Dictionary("b.txd", {"BODY", "Glass", "vehicleenvmap128", "lamp"});
  Dictionary("c.txd", {"body", "glass", "vehicleenvmap128"});
  const Conversion conversion = Convert(MustNotAsk);
  ASSERT_EQ(conversion.outcome, Conversion::Outcome::kWritten) << conversion.error;
  EXPECT_TRUE(Imaged("body") && Imaged("glass") && Imaged("vehicleenvmap128"));
  // Of the two that hold all, the first by file name, named once.
  EXPECT_TRUE(AnyMentions(conversion.warnings, "textures from " + (dir_ / "models/b.txd").string()))
      << ::testing::PrintToString(conversion.warnings);
  EXPECT_FALSE(AnyMentions(conversion.warnings, "c.txd"));
  EXPECT_FALSE(AnyMentions(conversion.warnings, "not in the texture dictionary"));
}

TEST_F(TxdSearch, WhenNoneHoldsEveryTextureTheOneHoldingMostWinsTiesGoingByFileName) {
  Dictionary("a.txd", {"body"});
  Dictionary("d.txd", {"glass", "vehicleenvmap128"});
  Dictionary("c.txd", {"body", "glass"});
  // A texture held twice counts once.
  Dictionary("b.txd", {"body", "body", "body", "lamp"});
  const Conversion conversion = Convert(MustNotAsk);
  ASSERT_EQ(conversion.outcome, Conversion::Outcome::kWritten) << conversion.error;
  EXPECT_TRUE(AnyMentions(conversion.warnings, (dir_ / "models/c.txd").string() + ": ")) << ::testing::PrintToString(conversion.warnings);
  EXPECT_TRUE(AnyMentions(conversion.warnings, "holds 2 of the 3 textures"));
  EXPECT_TRUE(Imaged("body") && Imaged("glass"));
  EXPECT_TRUE(AnyMentions(conversion.warnings, "texture \"vehicleenvmap128\" is not in the texture dictionary"));
}

TEST_F(TxdSearch, ADamagedTxdOfTheFolderIsPassedOverButASameNamedOneIsRefused) {
  std::vector<std::uint8_t> cut = DictionaryBytes({"body", "glass", "vehicleenvmap128"});
  cut.resize(cut.size() - 10);
  testsupport::WriteFileBytes(dir_ / "models/a.txd", cut);
  Dictionary("b.txd", {"body"});
  Conversion conversion = Convert(MustNotAsk);
  ASSERT_EQ(conversion.outcome, Conversion::Outcome::kWritten) << conversion.error;
  EXPECT_TRUE(AnyMentions(conversion.warnings, (dir_ / "models/a.txd").string() + " is damaged"))
      << ::testing::PrintToString(conversion.warnings);
  EXPECT_TRUE(AnyMentions(conversion.warnings, "textures from " + (dir_ / "models/b.txd").string()));
  EXPECT_TRUE(Imaged("body"));

  fs::remove_all(dir_ / "out");
  fs::rename(dir_ / "models/a.txd", dir_ / "models/car.txd");
  conversion = Convert(MustNotAsk);
  EXPECT_EQ(conversion.outcome, Conversion::Outcome::kRefused);
  EXPECT_NE(conversion.error.find("is damaged"), std::string::npos) << conversion.error;
  EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(TxdSearch, WithNoTxdFoundTheUserIsAskedAndACancelKeepsTheTextureNames) {
  Dictionary("lamps.txd", {"lamp"});
  int asked = 0;
  const Conversion conversion = Convert([&]() -> std::optional<std::string> {
    ++asked;
    return std::nullopt;
  });
  ASSERT_EQ(conversion.outcome, Conversion::Outcome::kWritten) << conversion.error;
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(AnyMentions(conversion.warnings, "no texture dictionary for car.dff"));
  for (const char* texture : {"body", "glass", "vehicleenvmap128"}) {
    EXPECT_TRUE(AnyMentions(conversion.warnings, "texture \"" + std::string(texture) + "\" is not in the texture dictionary"));
    EXPECT_FALSE(Imaged(texture));
  }
  // The surfaces still name the images, so the export writes the names.
  std::string objects;
  for (const fs::directory_entry& file : fs::directory_iterator(dir_ / "out")) {
    if (file.path().extension() == ".lwo") objects += testsupport::ReadFileText(file.path());
  }
  EXPECT_NE(objects.find("images/body.png"), std::string::npos);
  EXPECT_NE(objects.find("images/glass.png"), std::string::npos);
}

TEST_F(TxdSearch, ATxdChosenWhenAskedIsRead) {
  fs::create_directories(dir_ / "textures");
  testsupport::WriteFileBytes(dir_ / "textures/paint.txd", DictionaryBytes({"body", "glass"}));
  const Conversion conversion = Convert([&] { return std::optional<std::string>((dir_ / "textures/paint.txd").string()); });
  ASSERT_EQ(conversion.outcome, Conversion::Outcome::kWritten) << conversion.error;
  EXPECT_TRUE(Imaged("body") && Imaged("glass"));
}

}  // namespace
