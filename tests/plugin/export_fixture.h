// Runs the real velmora module through the stand-in host, as Layout runs
// it when the user picks "Export to DFF v0.1".
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "host/module_loader.h"
#include "host/scene_model.h"
#include "host/standin_host.h"
#include "lwsdk/file_request.h"
#include "lwsdk/mesh_info.h"
#include "tests/support/files_and_programs.h"

namespace plugin::testing {

namespace fs = std::filesystem;

using testsupport::ReadFileBytes;

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// One textured triangle object, enough for a scene with points.
inline host::Scene OneTriangleScene(const std::string& name = "city.lws") {
  host::Scene scene;
  scene.name = name;
  scene.filename = "/scenes/" + name;
  host::Mesh mesh;
  mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh.polygons = {{LWPOLTYPE_FACE, {0, 1, 2}, "Paint"}};
  scene.meshes = {mesh};
  host::Surface paint;
  paint.name = "Paint";
  scene.objectFiles = {{"/objects/box.lwo", {paint}, {}}};
  host::Item box;
  box.name = "box";
  box.objectFile = 0;
  box.mesh = 0;
  scene.items = {box};
  return scene;
}

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           (std::string("velmora-export-") + info->test_suite_name() + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Answers the save request with `dff` and the COL request with `col`;
  // an absent answer cancels that request.
  void Answer(std::optional<fs::path> dff, std::optional<fs::path> col = std::nullopt) {
    dffAnswer_ = std::move(dff);
    colAnswer_ = std::move(col);
  }

  int Run(host::StandInHost& host) { return RunCommand(host, VELMORA_MODULE_PATH, "Export to DFF v0.1"); }

  // Runs `command` of the module file at `modulePath`, answering its
  // requests as Answer set.
  int RunCommand(host::StandInHost& host, const char* modulePath, const char* command) {
    host.SetFileResponder([this](const host::FileRequest& request) -> std::optional<std::string> {
      const auto& answer = request.reqType == FREQ_SAVE ? dffAnswer_ : colAnswer_;
      if (!answer) return std::nullopt;
      return answer->string();
    });
    host::PluginModule module(modulePath);
    return module.RunGeneric(command, host.global());
  }

  static std::vector<std::string> Texts(const host::StandInHost& host, host::MessageKind kind) {
    std::vector<std::string> texts;
    for (const auto& message : host.messages()) {
      if (message.kind == kind) texts.push_back(message.line1);
    }
    return texts;
  }

  fs::path dir_;
  std::optional<fs::path> dffAnswer_;
  std::optional<fs::path> colAnswer_;
};

}  // namespace plugin::testing
