// The Windows dialogs: the common open dialog for both questions (the
// output too, so that no overwrite prompt appears and a new name may be
// typed) and plain MessageBoxW boxes without an owner window.  Paths stay in
// UTF-16 from the dialog to the file open.
#include "platform/dialogs.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <string>
#include <vector>

namespace platform {
namespace {

// Size of the dialog's path buffer in UTF-16 units, terminator included.
constexpr DWORD kPathBufferLength = 520;

// The record in its Windows NT 4 form, without the fields Windows 2000
// appended, which every version of the dialog accepts: 76 bytes in a 32-bit
// program.  In a 64-bit program the same form is larger, and the dialog
// refuses anything but the size that matches.
constexpr DWORD kDialogRecordSize =
    static_cast<DWORD>(offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR));
static_assert(sizeof(void*) != 4 || kDialogRecordSize == 76,
              "the 32-bit dialog record must be the 76-byte Windows NT 4 form");

// Each filter is a description and a pattern, every string NUL-terminated;
// the literal's own terminator ends the list.
constexpr wchar_t kDffFilter[] = L"DFF Files (*.dff)\0*.dff\0All Files\0*.*\0";
constexpr wchar_t kColFilter[] = L"COL Files (*.col)\0*.col\0All Files\0*.*\0";

std::optional<std::filesystem::path> AskForPath(const wchar_t* filter, DWORD flags) {
  std::vector<wchar_t> buffer(kPathBufferLength, L'\0');
  OPENFILENAMEW request{};
  request.lStructSize = kDialogRecordSize;
  request.lpstrFilter = filter;
  request.nFilterIndex = 1;
  request.lpstrFile = buffer.data();
  request.nMaxFile = kPathBufferLength;
  request.Flags = flags;
  if (GetOpenFileNameW(&request) != TRUE) return std::nullopt;
  return std::filesystem::path(buffer.data());
}

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = static_cast<int>(utf8.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), wideLength);
  return wide;
}

class Win32Dialogs final : public Dialogs {
 public:
  std::optional<std::filesystem::path> AskForInputDff() override {
    return AskForPath(kDffFilter, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
  }

  std::optional<std::filesystem::path> AskForOutputCol() override {
    return AskForPath(kColFilter, OFN_PATHMUSTEXIST);
  }

  // Every box is a plain MB_OK box; the caption tells the kind apart.
  void ShowMessage(std::string_view caption, std::string_view text, MessageKind) override {
    const std::wstring wideCaption = Widen(caption);
    const std::wstring wideText = Widen(text);
    MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), MB_OK);
  }
};

}  // namespace

std::unique_ptr<Dialogs> CreateSystemDialogs(int, char**) {
  return std::make_unique<Win32Dialogs>();
}

}  // namespace platform
