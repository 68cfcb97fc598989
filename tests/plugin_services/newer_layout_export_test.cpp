// The real module, run by hosts that serve the services under newer names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "tests/plugin/export_fixture.h"
#include "tests/plugin_services/service_hosts.h"

namespace plugin::testing {
namespace {

class NewerLayoutExportTest : public ExportTest {
 protected:
  // Exports the one-triangle scene with a COL file to embed, and returns
  // the COL file's bytes.
  std::string ExportWithCol(host::StandInHost& host) {
    const std::string col = std::string("COLL", 4) + std::string(28, '\x11');
    WriteBytes(dir_ / "city.col", col);
    Answer(dir_ / "city.dff", dir_ / "city.col");
    EXPECT_EQ(Run(host), AFUNC_OK);
    return col;
  }

  void ExpectExportedWith(const host::StandInHost& host, const std::string& col) {
    EXPECT_TRUE(Texts(host, host::MessageKind::kError).empty())
        << Texts(host, host::MessageKind::kError).front();
    EXPECT_EQ(Texts(host, host::MessageKind::kInfo),
              std::vector<std::string>{"Export successful"});
    // The stand-in requester answers only the version it expects, so both
    // requests arriving shows that each was made with the right version.
    ASSERT_EQ(host.fileRequests().size(), 2u);
    const std::vector<std::uint8_t> dff = ReadFileBytes(dir_ / "city.dff");
    ASSERT_GT(dff.size(), col.size());
    EXPECT_EQ(std::string(dff.end() - static_cast<std::ptrdiff_t>(col.size()), dff.end()), col);
  }
};

TEST_F(NewerLayoutExportTest, ExportsThroughTheNewestNamesWithTheNewerRequesterVersion) {
  host::StandInHost host(OneTriangleScene());
  scene::testing::ServeNewestNamesOnly(host);
  const std::string col = ExportWithCol(host);
  ExpectExportedWith(host, col);
}

TEST_F(NewerLayoutExportTest, ExportsThroughAMixOfOldAndNewNames) {
  host::StandInHost host(OneTriangleScene());
  for (const char* old : {"LW Scene Info 4", "Scene Objects 4", "Texture Functions 3"}) {
    host.Withhold(old);
  }
  host.ServeAlias("LW Scene Info 10", "LW Scene Info 4");
  host.ServeAlias("Scene Objects 9", "Scene Objects 4");
  host.ServeAlias("Texture Functions 4", "Texture Functions 3");
  const std::string col = ExportWithCol(host);
  ExpectExportedWith(host, col);
}

TEST_F(NewerLayoutExportTest, RefusesOnlyWhenNoNameOfAServiceIsServed) {
  host::StandInHost host(OneTriangleScene());
  scene::testing::ServeNewestNamesOnly(host);
  host.Withhold("LW Object Info 14");
  Answer(dir_ / "city.dff");
  EXPECT_EQ(Run(host), AFUNC_OK);
  const std::vector<std::string> errors = Texts(host, host::MessageKind::kError);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("LW Object Info 5"), std::string::npos) << errors[0];
  EXPECT_TRUE(host.fileRequests().empty());
  EXPECT_TRUE(fs::is_empty(dir_));
}

// Newer hosts serve UTF-8 names: a frame name is cut before a character
// that would straddle the game's limit, never through it.
TEST_F(NewerLayoutExportTest, ANameIsCutBeforeACharacterAcrossTheLimit) {
  const std::string name = std::string(22, 'x') + "\xC3\xA9" + "z";  // x..x é z, 25 bytes
  host::Scene scene = OneTriangleScene();
  host::Item null;
  null.name = name;
  scene.items.push_back(null);
  host::StandInHost host(scene);
  scene::testing::ServeNewestNamesOnly(host);
  Answer(dir_ / "city.dff");
  EXPECT_EQ(Run(host), AFUNC_OK);
  const dffinfo::Inspection inspection = dffinfo::Inspect(ReadFileBytes(dir_ / "city.dff"));
  EXPECT_TRUE(inspection.sound());
  EXPECT_EQ(inspection.clumps.at(0).frames.at(1).name, std::string(22, 'x'));
  const std::vector<std::string> warnings = Texts(host, host::MessageKind::kWarning);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(host.messages().back().line1, "Export successful");
}

}  // namespace
}  // namespace plugin::testing
