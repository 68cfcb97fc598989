#include "platform/path_rules.h"

namespace platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

std::size_t AfterLastSeparator(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return i;
  }
  return 0;
}

}  // namespace

std::string StripPath(std::string_view path) {
  return std::string(path.substr(AfterLastSeparator(path)));
}

std::string RemoveExtension(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    if (c == '.') return std::string(path.substr(0, i - 1));
    if (c == '\\' || c == ' ') break;
  }
  return std::string(path);
}

std::string ProposedFileName(const char* sceneName, std::string_view extension,
                             std::size_t bufferSize) {
  std::string base = RemoveExtension(sceneName != nullptr ? sceneName : "");
  const std::size_t room = bufferSize - 1 - extension.size();
  if (base.size() > room) base.resize(room);
  return base.append(extension);
}

}  // namespace platform
