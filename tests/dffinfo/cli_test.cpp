// The dffinfo program: its exit status for sound, damaged and unreadable
// files, and a --json listing that parses.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "dff/output_stream.h"
#include "tests/dff_inspect/dff_builder.h"
#include "txd/txd_writer.h"

namespace dffinfo {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int status = -1;
  std::string output;  // standard output and standard error together
};

ProgramRun RunProgram(const std::string& arguments) {
  const std::string command = std::string(DFFINFO_PROGRAM) + " " + arguments + " 2>&1";
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("dffinfo_cli_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "_" + std::to_string(getpid()));
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string Write(const std::string& name, const testing::Bytes& bytes) {
    const fs::path path = directory_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  fs::path directory_;
};

TEST_F(Program, ExitStatusTellsSoundDamagedAndUnreadableApart) {
  testing::Bytes sound = testing::Serialise({testing::BuildClump(testing::MakeSampleClump())}).bytes;
  const std::string soundPath = Write("sound.dff", sound);
  const ProgramRun listing = RunProgram(soundPath);
  EXPECT_EQ(listing.status, 0) << listing.output;
  EXPECT_NE(listing.output.find("SpecularMaterial (0x0253F2F6)  size 28"), std::string::npos)
      << listing.output;
  EXPECT_NE(listing.output.find("\"wheel_lf_dummy\"  parent 0"), std::string::npos) << listing.output;
  EXPECT_EQ(RunProgram(soundPath + " --quiet").output, "");

  sound.resize(sound.size() - 1);
  const ProgramRun damaged = RunProgram(Write("cut.dff", sound) + " --quiet");
  EXPECT_EQ(damaged.status, 1);
  EXPECT_NE(damaged.output.find("damage at Clump (offset 0)"), std::string::npos) << damaged.output;

  const std::string missing = (directory_ / "missing.dff").string();
  const ProgramRun unreadable = RunProgram(missing);
  EXPECT_EQ(unreadable.status, 2);
  EXPECT_NE(unreadable.output.find(missing + ": No such file or directory"), std::string::npos)
      << unreadable.output;
}

TEST_F(Program, JsonListingParsesAndCarriesTheRecords) {
  testing::SampleClump model = testing::MakeSampleClump();
  model.frames[0].name = std::string(22, 'n') + "\xFF";  // names are bytes, not always UTF-8
  model.geometries[0].sphere[3] = 0.5f;  // a sphere too small: a warning
  const std::string path = Write("named.dff", testing::Serialise({testing::BuildClump(model)}).bytes);
  const ProgramRun run = RunProgram(path + " --json");
  EXPECT_EQ(run.status, 0);
  const nlohmann::json listing = nlohmann::json::parse(run.output);
  EXPECT_TRUE(listing.at("sound").get<bool>());
  EXPECT_EQ(listing.at("findings").at(0).at("severity"), "warning");
  const nlohmann::json& clump = listing.at("clumps").at(0);
  EXPECT_EQ(clump.at("frames").at(1).at("name"), "wheel_lf_dummy");
  EXPECT_EQ(clump.at("geometries").at(0).at("triangles").at(1), (nlohmann::json{0, 2, 3, 1}));
  EXPECT_EQ(listing.at("chunks").at(0).at("path"), "Clump");
}

// A dictionary of one 4 x 4 DXT1 texture of each name.
testing::Bytes Dictionary(const std::vector<std::string>& names) {
  std::vector<txd::NativeTexture> textures;
  for (const std::string& name : names) {
    txd::NativeTexture texture;
    texture.name = name;
    texture.rasterFormat = txd::kRaster565;
    texture.d3dFormat = txd::kD3dDxt1;
    texture.width = texture.height = 4;
    texture.depth = 16;
    texture.flags = txd::kFlagCompressed;
    texture.levels = {std::vector<std::uint8_t>(8, 0)};
    textures.push_back(texture);
  }
  dff::OutputStream stream;
  txd::WriteTextureDictionary(stream, textures);
  return stream.bytes();
}

TEST_F(Program, TxdCheckNamesEveryTextureTheDictionaryLacks) {
  // The sample model names "body" and the environment map "vehicleenvmap128".
  const std::string model = Write("car.dff", testing::Serialise({testing::BuildClump(testing::MakeSampleClump())}).bytes);
  const ProgramRun lacking = RunProgram(model + " --quiet --txd " + Write("part.txd", Dictionary({"BODY"})));
  EXPECT_EQ(lacking.status, 1);
  EXPECT_NE(lacking.output.find("the texture \"vehicleenvmap128\""), std::string::npos) << lacking.output;
  EXPECT_EQ(lacking.output.find("\"body\""), std::string::npos) << "names match without case: " << lacking.output;

  const ProgramRun whole =
      RunProgram(model + " --quiet --txd " + Write("car.txd", Dictionary({"body", "vehicleenvmap128"})));
  EXPECT_EQ(whole.status, 0) << whole.output;
  EXPECT_EQ(whole.output, "");
}

// The width and height a PNG file's header gives, or zeros when the bytes
// are not a PNG file.
std::pair<std::uint32_t, std::uint32_t> PngSize(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> head(24);
  in.read(reinterpret_cast<char*>(head.data()), 24);
  const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!in || !std::equal(signature, signature + 8, head.begin())) return {0, 0};
  auto word = [&](std::size_t at) {
    return (std::uint32_t{head[at]} << 24) | (std::uint32_t{head[at + 1]} << 16) |
           (std::uint32_t{head[at + 2]} << 8) | head[at + 3];
  };
  return {word(16), word(20)};
}

TEST_F(Program, RenderWritesTheViewAndTheSheet) {
  const std::string model = Write("car.dff", testing::Serialise({testing::BuildClump(testing::MakeSampleClump())}).bytes);
  const fs::path view = directory_ / "view.png";
  const fs::path sheet = directory_ / "sheet.png";
  const ProgramRun run = RunProgram(model + " --txd " + Write("car.txd", Dictionary({"body", "vehicleenvmap128"})) +
                                    " --render " + view.string() + " --render-sheet " + sheet.string() +
                                    " --size 48 --view top --night");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(PngSize(view), (std::pair<std::uint32_t, std::uint32_t>{48, 48}));
  EXPECT_EQ(PngSize(sheet), (std::pair<std::uint32_t, std::uint32_t>{144, 96}));
  EXPECT_NE(RunProgram(model + " --render " + view.string() + " --view side").status, 0);
}

TEST_F(Program, RenderRefusesDamagedFilesAsTheListingDoes) {
  testing::Bytes bytes = testing::Serialise({testing::BuildClump(testing::MakeSampleClump())}).bytes;
  bytes.resize(bytes.size() - 1);
  const std::string cut = Write("cut.dff", bytes);
  const fs::path image = directory_ / "cut.png";
  const ProgramRun render = RunProgram(cut + " --render " + image.string());
  const ProgramRun listing = RunProgram(cut + " --quiet");
  EXPECT_EQ(render.status, 1);
  EXPECT_FALSE(fs::exists(image));
  const std::string message = cut + " is damaged: readers that rely on the places named above will misread it";
  EXPECT_NE(render.output.find(message), std::string::npos) << render.output;
  EXPECT_NE(listing.output.find(message), std::string::npos) << listing.output;
}

}  // namespace
}  // namespace dffinfo
