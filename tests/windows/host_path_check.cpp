// Run under Wine by tools/wine-check.sh, with a folder to work in: the
// paths the host hands over, in the ANSI code page or in UTF-8, create and
// open the file of exactly that name, a DFF written again replaces the
// earlier one, and a path that is not valid UTF-8 is refused instead of
// naming some other file.  Windows alone converts these paths, so no Linux
// test can see any of this.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host_path.h"
#include "dff/output_file.h"

namespace {
namespace fs = std::filesystem;
using platform::TextEncoding;

int failures = 0;

void Check(bool passed, const std::string& what) {
  if (passed) return;
  std::fprintf(stderr, "FAIL: %s\n", what.c_str());
  ++failures;
}

// `wide` in a narrow code page, or nothing when the page cannot hold it.
bool Narrow(const std::wstring& wide, UINT codePage, std::string& narrow) {
  BOOL lossy = FALSE;
  BOOL* lossyFlag = codePage == CP_UTF8 ? nullptr : &lossy;
  const int length = WideCharToMultiByte(codePage, 0, wide.c_str(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, lossyFlag);
  if (length <= 0 || lossy) return false;
  narrow.assign(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.c_str(), static_cast<int>(wide.size()), narrow.data(),
                      length, nullptr, nullptr);
  return true;
}

std::string ReadAll(const fs::path& path) {
  std::string bytes;
  std::FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return bytes;
  char buffer[256];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
    bytes.append(buffer, got);
  }
  std::fclose(file);
  return bytes;
}

bool Write(const std::string& hostText, TextEncoding encoding, const std::string& bytes) {
  dff::OutputFile file(hostText, encoding);
  if (!file.ok()) return false;
  file.stream().WriteBytes(bytes.data(), bytes.size());
  return file.Commit();
}

// Writes a DFF and then a COL-style read through the host text of
// `name` (a file in `folder`) and checks that both reach that file.
// Returns whether the name could be checked in that code page.
bool CheckName(const fs::path& folder, const std::string& folderText, const std::wstring& name,
               UINT codePage, TextEncoding encoding, const char* label) {
  std::string nameText;
  if (!Narrow(name, codePage, nameText)) {
    std::printf("skipped: the %s name cannot be written in code page %u\n", label, codePage);
    return false;
  }
  const std::string hostText = folderText + "\\" + nameText;
  const fs::path expected = folder / name;

  Check(Write(hostText, encoding, "first"), std::string(label) + ": the first DFF was not written");
  Check(ReadAll(expected) == "first", std::string(label) + ": no file of the chosen name");
  Check(Write(hostText, encoding, "second"), std::string(label) + ": the DFF was not rewritten");
  Check(ReadAll(expected) == "second",
        std::string(label) + ": writing again did not replace the earlier file");

  std::FILE* file = platform::OpenFile(platform::PathFromHostText(hostText, encoding), "rb");
  Check(file != nullptr, std::string(label) + ": the file did not open for reading");
  if (file != nullptr) std::fclose(file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: host_path_check <empty folder, as an ASCII Windows path>\n");
    return 2;
  }
  const std::string folderText = argv[1];
  const fs::path folder(folderText);

  std::size_t written = 0;
  written += CheckName(folder, folderText, L"caf\u00e9 \u00fcber.dff", GetACP(),
                       TextEncoding::kNative, "ANSI");
  written += CheckName(folder, folderText, L"kol\u00edzi\u00f3 \u65e5\u672c \u2603.dff",
                       CP_UTF8, TextEncoding::kUtf8, "UTF-8");

  // Bytes that are no UTF-8 at all.
  dff::OutputFile invalid(folderText + "\\bad\xff\xfe.dff", TextEncoding::kUtf8);
  Check(!invalid.ok(), "a path that is not UTF-8 was accepted");
  invalid.Discard();

  std::size_t entries = 0;
  for (auto it = fs::directory_iterator(folder); it != fs::directory_iterator(); ++it) ++entries;
  Check(entries == written, "the folder holds " + std::to_string(entries) + " files, not the " +
                                std::to_string(written) + " written");

  if (failures == 0) std::printf("host paths: every check passed\n");
  return failures == 0 ? 0 : 1;
}
