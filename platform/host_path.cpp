#include "platform/host_path.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#endif

namespace platform {

#ifdef _WIN32

namespace {

std::wstring Widen(std::string_view text, UINT codePage) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  // Invalid bytes fail the conversion instead of turning into U+FFFD, which
  // would name a different file.
  const int wideLength =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(),
                      wideLength);
  return wide;
}

}  // namespace

std::filesystem::path PathFromHostText(std::string_view text, TextEncoding encoding) {
  return std::filesystem::path(Widen(text, encoding == TextEncoding::kUtf8 ? CP_UTF8 : CP_ACP));
}

std::string HostTextFromPath(const std::filesystem::path& path, TextEncoding encoding) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return std::string();
  const UINT codePage = encoding == TextEncoding::kUtf8 ? CP_UTF8 : CP_ACP;
  const int length = static_cast<int>(wide.size());
  const int narrowLength = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (narrowLength <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), narrowLength, nullptr, nullptr);
  return narrow;
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  const std::wstring wideMode = Widen(mode, CP_ACP);
  return _wfopen(path.c_str(), wideMode.c_str());
}

#else

std::filesystem::path PathFromHostText(std::string_view text, TextEncoding) {
  return std::filesystem::path(text);
}

std::string HostTextFromPath(const std::filesystem::path& path, TextEncoding) { return path.string(); }

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

#endif

}  // namespace platform
