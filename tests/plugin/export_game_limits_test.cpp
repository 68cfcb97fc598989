// Frame names fit the game's 24-byte slot, through the real module, and the
// user is told of every cut.
#include <gtest/gtest.h>

#include "dff_inspect/inspect.h"
#include "tests/plugin/export_fixture.h"

namespace plugin::testing {
namespace {

using host::MessageKind;

// The one-triangle scene with a null object of each name, in order.
host::Scene SceneWithNullObjects(const std::vector<std::string>& names) {
  host::Scene scene = OneTriangleScene();
  for (const std::string& name : names) {
    host::Item item;
    item.name = name;
    scene.items.push_back(item);
  }
  return scene;
}

std::vector<std::string> FrameNames(const std::vector<std::uint8_t>& dff) {
  const dffinfo::Inspection inspection = dffinfo::Inspect(dff);
  std::vector<std::string> names;
  for (const dffinfo::FrameRecord& frame : inspection.clumps.at(0).frames) {
    names.push_back(frame.name.value_or("(none)"));
  }
  return names;
}

TEST_F(ExportTest, FrameNamesLongerThanTheGameHoldsAreCutAndReportedOnce) {
  const std::string fits(23, 'a');
  const std::string one = std::string(23, 'b') + "B";
  const std::string long40 = std::string(23, 'c') + std::string(17, 'C');
  host::StandInHost host(SceneWithNullObjects({fits, one, long40}));
  Answer(dir_ / "city.dff");
  Run(host);

  EXPECT_EQ(FrameNames(ReadFileBytes(dir_ / "city.dff")),
            (std::vector<std::string>{"box", fits, std::string(23, 'b'), std::string(23, 'c')}));
  // One warning, after the file is written and before the success.
  const auto& messages = host.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].kind, MessageKind::kWarning);
  EXPECT_EQ(messages[0].line1,
            "2 frame names were longer than the game holds and were cut to 23 bytes.");
  EXPECT_NE(messages[0].line2.value_or("").find("\"" + one + "\", is written as \"" +
                                                std::string(23, 'b') + "\""),
            std::string::npos)
      << messages[0].line2.value_or("");
  EXPECT_EQ(messages[1].line1, "Export successful");
}

TEST_F(ExportTest, ACutNameIsStillReportedWhenTheColFileFails) {
  host::StandInHost host(SceneWithNullObjects({std::string(30, 'n')}));
  Answer(dir_ / "city.dff", dir_ / "missing.col");
  Run(host);
  const auto& messages = host.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].kind, MessageKind::kWarning);
  EXPECT_EQ(messages[0].line1,
            "1 frame name was longer than the game holds and was cut to 23 bytes.");
  EXPECT_EQ(messages[1].kind, MessageKind::kError);
}

// An older host's texts are in the system's code page, where a byte
// count is all the module can go by.
TEST_F(ExportTest, AnOlderHostsNamesAreCutAtTheByte) {
  const std::string name = std::string(22, 'x') + "\xC3\xA9" + "z";  // x..x é z
  host::StandInHost host(SceneWithNullObjects({name}));
  Answer(dir_ / "city.dff");
  Run(host);
  EXPECT_EQ(FrameNames(ReadFileBytes(dir_ / "city.dff")).at(1), name.substr(0, 23));
}

}  // namespace
}  // namespace plugin::testing
