#include "plugin/dff_object_loader.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "import/model_sniff.h"
#include "import_scene/clump_object.h"
#include "lwsdk/object_loader.h"
#include "platform/host_path.h"
#include "plugin/import_warnings.h"
#include "plugin/object_import_calls.h"

namespace plugin {
namespace {

constexpr int kOldestVersion = 3;

// failedBuf holds one line: the reader's lines joined, cut to fit.
void SetFailure(const LWObjectImport& local, const std::string& error) {
  if (local.failedBuf == nullptr || local.failedLen <= 0) return;
  std::string line = error;
  while (!line.empty() && line.back() == '\n') line.pop_back();
  for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at)) line.replace(at, 1, "; ");
  const std::size_t length = std::min(line.size(), static_cast<std::size_t>(local.failedLen) - 1);
  std::memcpy(local.failedBuf, line.data(), length);
  local.failedBuf[length] = '\0';
}

int Finish(LWObjectImport& local, int result) {
  local.result = result;
  if (local.done != nullptr) local.done(local.data);
  return AFUNC_OK;
}

// Reads the file and hands the object over; exceptions go to the caller.
int Load(int version, GlobalFunc global, LWObjectImport& loader) {
  if (loader.filename == nullptr) {
    loader.result = LWOBJIM_NOREC;
    return AFUNC_OK;
  }
  // Version 5 names the file in UTF-8, earlier ones in the system's code
  // page; the import reads UTF-8 paths.
  const std::string path =
      platform::PathFromHostText(loader.filename, version >= 5 ? platform::TextEncoding::kUtf8
                                                                : platform::TextEncoding::kNative)
          .u8string();
  const import::FileStart start = import::LookAtFileStart(path);
  // Not ours: the next loader is tried, and nothing else is called.
  if (start == import::FileStart::kOther) {
    loader.result = LWOBJIM_NOREC;
    return AFUNC_OK;
  }
  if (start == import::FileStart::kUnreadable) {
    SetFailure(loader,
               std::string(loader.filename) + ": the file cannot be opened; check that it exists and is readable");
    return Finish(loader, LWOBJIM_BADFILE);
  }
  import_scene::Conversion conversion;
  const std::optional<import_scene::ClumpObject> clump = import_scene::LoadClumpObject(path, conversion);
  ShowImportWarnings(global, conversion.warnings);
  if (!clump) {
    SetFailure(loader, conversion.error);
    return Finish(loader, LWOBJIM_BADFILE);
  }
  if (!SendObject(*clump, version, loader)) return Finish(loader, LWOBJIM_ABORTED);
  return Finish(loader, LWOBJIM_OK);
}

}  // namespace

int LWCALL ActivateDffObjectLoader(int version, GlobalFunc global, void* local, void* /*serverData*/) {
  if (version < kOldestVersion || version > LWOBJECTIMPORT_VERSION) return AFUNC_BADVERSION;
  auto* loader = static_cast<LWObjectImport*>(local);
  if (loader == nullptr) return AFUNC_BADLOCAL;
  // No exception may cross into the host.
  try {
    return Load(version, global, *loader);
  } catch (const std::exception& error) {
    SetFailure(*loader, std::string(loader->filename) + ": the model cannot be loaded as one object: " + error.what());
    return Finish(*loader, LWOBJIM_FAILED);
  }
}

}  // namespace plugin
