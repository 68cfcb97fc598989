#include "tools/maketxd/dictionary_file.h"

#include "dff/output_stream.h"
#include "plugin/output_file.h"
#include "txd/txd_writer.h"

namespace maketxd {

bool WriteDictionaryFile(const std::vector<txd::NativeTexture>& textures, const std::string& path,
                         std::string& error) {
  dff::OutputStream stream;
  txd::WriteTextureDictionary(stream, textures);
  if (stream.failed()) {
    error = stream.error();
    return false;
  }
  plugin::OutputFile file(path);
  if (!file.ok() || !file.Commit(stream.bytes())) {
    error = file.error() + " Nothing was written under that name.";
    return false;
  }
  return true;
}

}  // namespace maketxd
