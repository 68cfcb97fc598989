// Run under Wine by tools/wine-check.sh, with a folder to work in and a
// model: a model whose file and folder names lie outside the system's code
// page opens through the import's UTF-8 paths, as the import module gets
// them from a host that names files in UTF-8, is told for a model, becomes
// a scene written beside it, and loads as one object.  Windows alone
// converts these paths, so no Linux test can see any of this.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "import/model_sniff.h"
#include "import_scene/clump_object.h"
#include "import_scene/model_files.h"
#include "platform/host_path.h"

namespace {
namespace fs = std::filesystem;

int failures = 0;

void Check(bool passed, const std::string& what) {
  if (passed) return;
  std::fprintf(stderr, "FAIL: %s\n", what.c_str());
  ++failures;
}

bool Copy(const fs::path& from, const fs::path& to) {
  std::error_code error;
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: import_path_check <empty folder> <model.dff>, as ASCII Windows paths\n");
    return 2;
  }
  const fs::path folder = fs::path(argv[1]) / L"\u6a21\u578b \u2603";
  std::error_code error;
  fs::create_directories(folder, error);
  const fs::path dff = folder / L"kol\u00edzi\u00f3 \u65e5\u672c.dff";
  Check(!error && Copy(argv[2], dff), "the model was not copied to a name outside the code page");
  const std::string dffText = dff.u8string();

  Check(import::LookAtFileStart(dffText) == import::FileStart::kModel, "the model was not told for one");

  const fs::path sceneFolder = folder / L"kol\u00edzi\u00f3 \u65e5\u672c_lw";
  const import_scene::Conversion conversion = import_scene::ConvertModel({dffText, {}, {}, {}}, sceneFolder.u8string());
  Check(conversion.outcome == import_scene::Conversion::Outcome::kWritten,
        "the scene was not written: " + conversion.error);
  Check(fs::is_regular_file(fs::u8path(conversion.scenePath), error), "no scene file where the conversion says");

  import_scene::Conversion loaded;
  Check(import_scene::LoadClumpObject(dffText, loaded).has_value(), "the model did not load as one object: " +
                                                                       loaded.error);

  if (failures == 0) std::printf("import paths: every check passed\n");
  return failures == 0 ? 0 : 1;
}
