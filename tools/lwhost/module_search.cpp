#include "tools/lwhost/module_search.h"

namespace host::lwhost {
namespace fs = std::filesystem;

std::vector<fs::path> ModuleCandidates(const fs::path& programDir, const std::string& fileName) {
  return {programDir / fileName,
          (programDir / VELMORA_MODULE_DIR_FROM_PROGRAMS / fileName).lexically_normal()};
}

std::optional<fs::path> FindModule(const fs::path& programDir, const std::string& fileName) {
  for (const fs::path& candidate : ModuleCandidates(programDir, fileName)) {
    std::error_code ec;
    if (fs::is_regular_file(candidate, ec)) return candidate;
  }
  return std::nullopt;
}

}  // namespace host::lwhost
