#include <gtest/gtest.h>

#include "dff_inspect/inspect.h"
#include "tests/plugin/export_fixture.h"

namespace plugin::testing {
namespace {

using host::MessageKind;

// The clump's last child is an empty Extension (12 bytes, size 0, the
// usual version stamp), and nothing follows it.
void ExpectEmptyClumpExtension(const dffinfo::Inspection& inspection) {
  ASSERT_EQ(inspection.chunks.size(), 1u);
  const dffinfo::Chunk& clump = inspection.chunks[0];
  ASSERT_FALSE(clump.children.empty());
  const dffinfo::Chunk& last = clump.children.back();
  EXPECT_EQ(last.type, 0x03u);
  EXPECT_EQ(last.size, 0u);
  EXPECT_EQ(last.version, 0x1803FFFFu);
  EXPECT_EQ(last.end(), clump.end());
}

TEST_F(ExportTest, AnEmptySceneOnlyShowsItsError) {
  host::Scene scene;
  scene.name = "empty.lws";
  host::StandInHost host(scene);
  Answer(dir_ / "out.dff");
  EXPECT_EQ(Run(host), AFUNC_OK);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].kind, MessageKind::kError);
  EXPECT_EQ(host.messages()[0].line1, "Crazy fool, no objects in the scene!");
  EXPECT_FALSE(host.messages()[0].line2.has_value());
  EXPECT_TRUE(host.fileRequests().empty());
}

TEST_F(ExportTest, AsksForTheTenServicesInOrder) {
  host::StandInHost host(OneTriangleScene());
  Answer(std::nullopt);
  Run(host);
  const std::vector<std::string> expected = {
      "Info Messages 2",     "LW Item Info 3",      "LW Scene Info 4",
      "LW Object Info 5",    "Scene Objects 4",     "Surface Functions 3",
      "LW Interface Info 4", "LW Image List 4",     "Texture Functions 3",
      "File Request 2"};
  EXPECT_EQ(host.requestedServices(), expected);
}

TEST_F(ExportTest, ACancelledRequestEndsSilently) {
  host::StandInHost host(OneTriangleScene());
  Answer(std::nullopt);
  EXPECT_EQ(Run(host), AFUNC_OK);
  EXPECT_TRUE(host.messages().empty());
  ASSERT_EQ(host.fileRequests().size(), 1u);
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(ExportTest, TheSaveRequestIsFilledAsLayoutShowsIt) {
  host::StandInHost host(OneTriangleScene("my.car.lws"));
  Answer(std::nullopt);
  Run(host);
  ASSERT_EQ(host.fileRequests().size(), 1u);
  const host::FileRequest& request = host.fileRequests()[0];
  EXPECT_EQ(request.reqType, FREQ_SAVE);
  EXPECT_EQ(request.title, "lol omg save file!111");
  EXPECT_EQ(request.fileType, std::string("DFF Files (*.dff)\0*.dff\0All Files\0*.*\0\0", 39));
  EXPECT_EQ(request.baseName, "my.car.dff");
  EXPECT_EQ(request.path, "");
  EXPECT_EQ(request.bufLen, 512);
}

TEST_F(ExportTest, ProposedNamesFollowTheSceneName) {
  const std::pair<const char*, const char*> cases[] = {
      {"city.lws", "city.dff"},
      {"Untitled", "Untitled.dff"},
      {"take.2 final", "take.2 final.dff"},
      {"", ".dff"},
  };
  for (const auto& [sceneName, proposal] : cases) {
    host::StandInHost host(OneTriangleScene(sceneName));
    Answer(std::nullopt);
    Run(host);
    ASSERT_EQ(host.fileRequests().size(), 1u);
    EXPECT_EQ(host.fileRequests()[0].baseName, proposal) << sceneName;
  }

  host::Scene nameless = OneTriangleScene();
  nameless.nameIsNull = true;
  host::StandInHost host(nameless);
  Run(host);
  EXPECT_EQ(host.fileRequests().at(0).baseName, ".dff");
}

TEST_F(ExportTest, ALongSceneNameIsCutSoTheProposalFitsItsBuffer) {
  host::StandInHost host(OneTriangleScene(std::string(600, 'n') + ".lws"));
  Answer(std::nullopt);
  Run(host);
  const std::string proposal = host.fileRequests().at(0).baseName;
  EXPECT_EQ(proposal, std::string(507, 'n') + ".dff");
}

TEST_F(ExportTest, ASuccessfulExportWritesOneSoundClumpAndSaysSoLast) {
  host::StandInHost host(OneTriangleScene());
  Answer(dir_ / "city.dff");
  EXPECT_EQ(Run(host), AFUNC_OK);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].kind, MessageKind::kInfo);
  EXPECT_EQ(host.messages()[0].line1, "Export successful");
  EXPECT_EQ(host.liveMeshSnapshots(), 0);

  const dffinfo::Inspection inspection = dffinfo::Inspect(ReadFileBytes(dir_ / "city.dff"));
  EXPECT_TRUE(inspection.sound());
  ASSERT_EQ(inspection.clumps.size(), 1u);
  ASSERT_EQ(inspection.chunks.size(), 1u);
  // The COL request came second and was cancelled: the clump still ends
  // with its Extension, empty, as the game needs.
  ASSERT_EQ(host.fileRequests().size(), 2u);
  EXPECT_EQ(host.fileRequests()[1].title, "Select COL file");
  EXPECT_EQ(host.fileRequests()[1].baseName, "city.col");
  ExpectEmptyClumpExtension(inspection);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

TEST_F(ExportTest, TwoExportsInARowProposeAfreshAndStartWithAnEmptyPath) {
  host::StandInHost host(OneTriangleScene("first.lws"));
  Answer(dir_ / "one.dff");
  Run(host);
  host.scene().name = "second.lws";
  Answer(dir_ / "two.dff");
  Run(host);
  const auto& requests = host.fileRequests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[2].baseName, "second.dff");
  EXPECT_EQ(requests[2].path, "");
  EXPECT_TRUE(fs::exists(dir_ / "one.dff"));
  EXPECT_TRUE(fs::exists(dir_ / "two.dff"));
  EXPECT_EQ(Texts(host, MessageKind::kInfo).size(), 2u);
}

TEST_F(ExportTest, TheChosenColFileIsTheLastBytesOfTheDff) {
  // A COL3 entry with bounds only: its 120-byte header, nothing else.
  std::string col("COL3\x70\0\0\0city", 12);
  col.resize(120, '\0');
  WriteBytes(dir_ / "city.col", col);
  host::StandInHost host(OneTriangleScene());
  Answer(dir_ / "city.dff", dir_ / "city.col");
  Run(host);
  EXPECT_EQ(Texts(host, MessageKind::kInfo), std::vector<std::string>{"Export successful"});
  const std::vector<std::uint8_t> dff = ReadFileBytes(dir_ / "city.dff");
  ASSERT_GE(dff.size(), col.size());
  EXPECT_EQ(std::string(dff.end() - static_cast<std::ptrdiff_t>(col.size()), dff.end()), col);
  EXPECT_TRUE(dffinfo::Inspect(dff).sound());
}

TEST_F(ExportTest, AnUnreadableColFileIsReportedInsteadOfSuccess) {
  host::StandInHost host(OneTriangleScene());
  Answer(dir_ / "city.dff", dir_ / "missing.col");
  Run(host);
  const auto errors = Texts(host, MessageKind::kError);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("missing.col"), std::string::npos) << errors[0];
  EXPECT_TRUE(Texts(host, MessageKind::kInfo).empty());
  // The model itself was still written, without collision data.
  const dffinfo::Inspection inspection = dffinfo::Inspect(ReadFileBytes(dir_ / "city.dff"));
  EXPECT_TRUE(inspection.sound());
  ExpectEmptyClumpExtension(inspection);
}

TEST_F(ExportTest, AnOutputInAMissingFolderIsAnErrorNamingIt) {
  host::StandInHost host(OneTriangleScene());
  const fs::path target = dir_ / "nowhere" / "city.dff";
  Answer(target);
  Run(host);
  const auto errors = Texts(host, MessageKind::kError);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(target.string()), std::string::npos) << errors[0];
  EXPECT_TRUE(Texts(host, MessageKind::kInfo).empty());
  // The COL request never came: nothing can be written anyway.
  EXPECT_EQ(host.fileRequests().size(), 1u);
}

TEST_F(ExportTest, AFullDeviceIsAnErrorNotASuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  host::StandInHost host(OneTriangleScene());
  Answer(fs::path("/dev/full"));
  Run(host);
  EXPECT_EQ(Texts(host, MessageKind::kError).size(), 1u);
  EXPECT_TRUE(Texts(host, MessageKind::kInfo).empty());
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(ExportTest, AFailedExportLeavesTheExistingFileAsItWas) {
  const fs::path target = dir_ / "city.dff";
  WriteBytes(target, "the user's earlier export");
  // A folder chosen as the COL file opens but cannot be read.
  fs::create_directories(dir_ / "folder.col");
  host::StandInHost host(OneTriangleScene());
  Answer(target, dir_ / "folder.col");
  Run(host);
  EXPECT_EQ(Texts(host, MessageKind::kError).size(), 1u);
  EXPECT_TRUE(Texts(host, MessageKind::kInfo).empty());
  const std::vector<std::uint8_t> bytes = ReadFileBytes(target);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "the user's earlier export");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 2);
}

TEST_F(ExportTest, AMissingServiceIsNamedBeforeAnyRequest) {
  host::StandInHost host(OneTriangleScene());
  host.Withhold("Texture Functions 3");
  Answer(dir_ / "city.dff");
  EXPECT_EQ(Run(host), AFUNC_OK);
  const auto errors = Texts(host, MessageKind::kError);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Texture Functions 3"), std::string::npos);
  EXPECT_TRUE(host.fileRequests().empty());
}

TEST_F(ExportTest, AGeometryTooLargeToAddressIsRefusedBeforeTheFileIsTouched) {
  host::Scene scene = OneTriangleScene();
  host::Mesh& mesh = scene.meshes[0];
  mesh.points.clear();
  mesh.polygons.clear();
  for (int t = 0; t < 21846; ++t) {  // 65538 distinct vertices
    const float x = static_cast<float>(t);
    mesh.points.push_back({x, 0, 0});
    mesh.points.push_back({x, 1, 0});
    mesh.points.push_back({x, 0, 1});
    mesh.polygons.push_back({LWPOLTYPE_FACE, {3 * t, 3 * t + 1, 3 * t + 2}, "Paint"});
  }
  const fs::path target = dir_ / "city.dff";
  WriteBytes(target, "keep me");
  host::StandInHost host(scene);
  Answer(target);
  Run(host);
  const auto errors = Texts(host, MessageKind::kError);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("\"box\""), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("65538"), std::string::npos) << errors[0];
  EXPECT_EQ(host.fileRequests().size(), 1u);
  const std::vector<std::uint8_t> bytes = ReadFileBytes(target);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "keep me");
}

}  // namespace
}  // namespace plugin::testing
