#include "txd_build/dictionary_file.h"

#include "dff/output_stream.h"
#include "dff/output_file.h"
#include "txd/txd_writer.h"

namespace txdbuild {

bool WriteDictionaryFile(const std::vector<txd::NativeTexture>& textures, const std::string& path,
                         std::string& error) {
  dff::OutputFile file(path);
  if (!file.ok()) {
    error = file.error() + " Nothing was written under that name.";
    return false;
  }
  txd::WriteTextureDictionary(file.stream(), textures);
  if (!file.Commit()) {
    error = file.error() + " Nothing was written under that name.";
    return false;
  }
  return true;
}

std::vector<std::uint8_t> DictionaryBytes(const std::vector<txd::NativeTexture>& textures) {
  dff::OutputStream stream;
  txd::WriteTextureDictionary(stream, textures);
  return stream.bytes();
}

}  // namespace txdbuild
