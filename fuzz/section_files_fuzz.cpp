// The readers of a map section's files on any bytes: the IDE and IPL text
// readers and the IMG directory with each entry's bytes, as dffinfo reads
// a section.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "section/ide_file.h"
#include "section/img_archive.h"
#include "section/ipl_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  section::ReadIdeObjects(text);
  section::ReadIpl(text);
  const std::vector<std::uint8_t> bytes(data, data + size);
  for (const section::ImgDirectoryEntry& entry : section::ReadImgArchive(bytes).entries) {
    section::ImgEntryBytes(bytes, entry);
  }
  return 0;
}
