// The import module's scene converter, run as Layout's Load Scene runs it:
// a DFF becomes a scene that the first command exports back to the same
// bytes; a TXD its folder lacks is asked for; other files are left to other
// converters; damaged ones are refused with dffinfo's words.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include <unistd.h>

#include "host/module_loader.h"
#include "host/standin_host.h"
#include "lwsdk/file_request.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;

class SceneConverter : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("velmora-converter-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "again");
    fs::copy(EXAMPLE_DIR, dir_ / "buggy", fs::copy_options::recursive);
    Lwhost("buggy/buggy.lws -o buggy.dff --col buggy/buggy.col --txd buggy.txd");
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Lwhost(const std::string& arguments) {
    const testsupport::ProgramResult result = testsupport::RunInFolder(dir_, "'" LWHOST_PATH "' " + arguments);
    ASSERT_EQ(result.status, 0) << arguments << "\n" << result.err;
  }

  host::SceneConversion Convert(const fs::path& file) {
    return module_.RunSceneConverter("DFF Scene", host_.global(), file.string());
  }

  fs::path dir_;
  host::PluginModule module_{VELMORA_IMPORT_MODULE_PATH};
  host::StandInHost host_{host::Scene{}};
};

TEST_F(SceneConverter, ADffBecomesASceneThatExportsToTheSameBytes) {
  const host::SceneConversion conversion = Convert(dir_ / "buggy.dff");
  ASSERT_EQ(conversion.result, AFUNC_OK);
  EXPECT_EQ(conversion.readFailure, "");
  EXPECT_EQ(fs::path(conversion.tmpScene), dir_ / "buggy_lw" / "buggy.lws");
  ASSERT_TRUE(fs::exists(conversion.tmpScene));
  EXPECT_TRUE(fs::exists(dir_ / "buggy_lw/images/paint.png"));  // from buggy.txd beside the model
  EXPECT_TRUE(host_.fileRequests().empty());
  Lwhost("buggy_lw/buggy.lws -o again/buggy.dff --col buggy_lw/buggy.col");
  EXPECT_TRUE(testsupport::ReadFileBytes(dir_ / "buggy.dff") == testsupport::ReadFileBytes(dir_ / "again/buggy.dff"));

  // Layout deletes the scene it read through the converter; the objects
  // and images it loaded stay.
  ASSERT_NE(conversion.deleteTmp, nullptr);
  conversion.deleteTmp(conversion.tmpScene.c_str());
  EXPECT_FALSE(fs::exists(conversion.tmpScene));
  EXPECT_TRUE(fs::exists(dir_ / "buggy_lw/body.lwo"));
}

TEST_F(SceneConverter, WithNoTxdInTheModelsFolderTheUserIsAskedForIt) {
  fs::create_directories(dir_ / "textures");
  fs::rename(dir_ / "buggy.txd", dir_ / "textures/paint.txd");
  host_.SetFileResponder([&](const host::FileRequest&) -> std::optional<std::string> {
    return (dir_ / "textures/paint.txd").string();
  });
  const host::SceneConversion conversion = Convert(dir_ / "buggy.dff");
  ASSERT_NE(conversion.tmpScene, "") << conversion.readFailure;
  ASSERT_EQ(host_.fileRequests().size(), 1u);
  const host::FileRequest& request = host_.fileRequests()[0];
  EXPECT_EQ(request.reqType, FREQ_LOAD);
  EXPECT_EQ(request.title, "Select the model's TXD file");
  EXPECT_EQ(request.path, dir_.string() + "/");  // opened in the model's folder
  EXPECT_EQ(request.baseName, "buggy.txd");
  EXPECT_TRUE(fs::exists(dir_ / "buggy_lw/images/paint.png"));
}

TEST_F(SceneConverter, ACancelledTxdRequestOrAHostWithoutARequesterImportsWithoutImages) {
  fs::remove(dir_ / "buggy.txd");
  host::SceneConversion conversion = Convert(dir_ / "buggy.dff");  // no responder: every request is cancelled
  ASSERT_NE(conversion.tmpScene, "") << conversion.readFailure;
  EXPECT_EQ(host_.fileRequests().size(), 1u);
  EXPECT_FALSE(fs::exists(dir_ / "buggy_lw/images/paint.png"));
  const auto warned = [&](const std::string& text) {
    return std::any_of(host_.messages().begin(), host_.messages().end(), [&](const host::Message& m) {
      return m.kind == host::MessageKind::kWarning && m.line2 && m.line2->find(text) != std::string::npos;
    });
  };
  EXPECT_TRUE(warned("no texture dictionary for buggy.dff"));
  EXPECT_TRUE(warned("texture \"paint\" is not in the texture dictionary"));

  fs::remove_all(dir_ / "buggy_lw");
  host_.Withhold(LWFILEREQFUNC_GLOBAL);
  conversion = Convert(dir_ / "buggy.dff");
  EXPECT_NE(conversion.tmpScene, "") << conversion.readFailure;
  EXPECT_EQ(host_.fileRequests().size(), 1u);  // none more
}

TEST_F(SceneConverter, AFileThatIsNotAModelIsLeftToTheNextConverter) {
  const host::SceneConversion conversion = Convert(dir_ / "buggy.txd");
  EXPECT_EQ(conversion.result, AFUNC_OK);
  EXPECT_EQ(conversion.tmpScene, "");
  EXPECT_EQ(conversion.readFailure, "");
  EXPECT_FALSE(fs::exists(dir_ / "buggy_lw"));
}

TEST_F(SceneConverter, ADamagedDffIsRefusedWithDffinfosVerdictAndNothingWritten) {
  std::vector<std::uint8_t> bytes = testsupport::ReadFileBytes(dir_ / "buggy.dff");
  bytes.resize(bytes.size() / 2);
  testsupport::WriteFileBytes(dir_ / "cut.dff", bytes);
  const host::SceneConversion conversion = Convert(dir_ / "cut.dff");
  EXPECT_EQ(conversion.tmpScene, "");
  EXPECT_NE(conversion.readFailure.find("is damaged: readers that rely on the places named above will misread it"),
            std::string::npos)
      << conversion.readFailure;
  EXPECT_FALSE(fs::exists(dir_ / "cut_lw"));
}

TEST_F(SceneConverter, AnUnknownVersionIsDeclined) {
  const ServerRecord& server = module_.FindServer(LWSCENECONVERTER_CLASS, "DFF Scene");
  LWSceneConverter local{};
  const std::string file = (dir_ / "buggy.dff").string();
  local.filename = file.c_str();
  EXPECT_EQ(server.activate(3, host_.global(), &local, module_.serverData()), AFUNC_BADVERSION);
  EXPECT_FALSE(fs::exists(dir_ / "buggy_lw"));
}

}  // namespace
