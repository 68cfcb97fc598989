#include "host/lightwave_files.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

#include "host/lwo2_scene.h"
#include "host/lws_scene_builder.h"
#include "lightwave/file_search.h"
#include "lightwave/lwo_reader.h"
#include "lightwave/lws_reader.h"

namespace host {
namespace {

bool StartsWith(const std::vector<std::uint8_t>& bytes, const char* magic) {
  const std::size_t length = std::strlen(magic);
  return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

// Objects name their images as they were on the machine that made them.
// An image found here is served by the file found, as Layout serves the one
// it loaded; one not found keeps the stored path, and its name still names
// the texture.
Scene WithImageFiles(Scene scene, const std::string& loadedPath, const LoadOptions& options) {
  const FileSearch search{options.contentDirectory, std::filesystem::path(loadedPath).parent_path().string(),
                          "Images"};
  std::vector<std::string> tried;
  for (Image& image : scene.images) {
    if (image.filename.empty()) continue;
    if (std::optional<std::string> found = FindFile(image.filename, search, tried)) image.filename = *found;
  }
  return scene;
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) throw LoadError(path + ": no such file");
  if (error) throw LoadError(path + ": " + error.message());
  // Devices and pipes could be endless; only plain files are read.
  if (!std::filesystem::is_regular_file(status)) throw LoadError(path + ": not a regular file");
  std::ifstream file(path, std::ios::binary);
  if (!file) throw LoadError(path + ": the file could not be opened");
  // Read in one piece into a buffer of the file's size: an object file can
  // be tens of MiB, and growing the buffer as it fills would hold up to
  // twice that.  A file that changes meanwhile is read as far as it goes.
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  std::vector<std::uint8_t> bytes(error ? 0 : static_cast<std::size_t>(size));
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  char more[4096];
  while (file.read(more, sizeof more) || file.gcount() > 0) {
    bytes.insert(bytes.end(), more, more + file.gcount());
  }
  if (file.bad()) throw LoadError(path + ": the file could not be read");
  return bytes;
}

Lwo2Object ReadObjectFile(const std::string& path, const LoadOptions& options) {
  std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  if (StartsWith(bytes, "FORM") || !options.foreignObjects) return ReadLwo(bytes, path);
  bytes = {};
  return options.foreignObjects(path);
}

Scene LoadSceneFile(const std::string& path, const LoadOptions& options) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  if (bytes.empty()) throw LoadError(path + ": the file is empty");
  if (StartsWith(bytes, "FORM")) {
    return WithImageFiles(ObjectScene(ReadLwo(bytes, path), path), path, options);
  }
  if (StartsWith(bytes, "LWSC") || StartsWith(bytes, "LWMO")) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return WithImageFiles(SceneFromLws(ReadLws(text, path), path, options), path, options);
  }
  // Layout offers a file its own readers cannot read to its object loaders.
  if (options.foreignObjects) return WithImageFiles(ObjectScene(options.foreignObjects(path), path), path, options);
  throw LoadError(path + ": not a LightWave scene (LWSC) or object (FORM ... LWO2 or LWO3) file");
}

}  // namespace host
