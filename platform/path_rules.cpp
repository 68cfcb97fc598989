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

std::string DirectoryPart(std::string_view path) {
  return std::string(path.substr(0, AfterLastSeparator(path)));
}

std::string RemoveExtension(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    if (c == '.') return std::string(path.substr(0, i - 1));
    if (c == '\\' || c == ' ') break;
  }
  return std::string(path);
}

}  // namespace platform
