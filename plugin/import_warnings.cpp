#include "plugin/import_warnings.h"

#include "lwsdk/messages.h"

namespace plugin {

void ShowImportWarnings(GlobalFunc global, const std::vector<std::string>& warnings) {
  if (global == nullptr || warnings.empty()) return;
  const auto* messages = static_cast<const LWMessageFuncs*>(global(LWMESSAGEFUNCS_GLOBAL, GFUSE_TRANSIENT));
  if (messages == nullptr || messages->warning == nullptr) return;
  for (const std::string& warning : warnings) messages->warning("DFF import", warning.c_str());
}

}  // namespace plugin
