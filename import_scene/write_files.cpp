// WriteSceneFiles: every file made in memory first, so that a model that
// cannot be written leaves nothing behind; then written, and removed again
// if one of them cannot be.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "import_scene/lightwave_files.h"
#include "lightwave/lwo2_writer.h"
#include "render/png_file.h"

namespace import_scene {
namespace {

namespace fs = std::filesystem;

struct PendingFile {
  fs::path path;
  std::vector<std::uint8_t> bytes;
};

std::string MakeFiles(const SceneFiles& files, const fs::path& folder, std::vector<PendingFile>& pending) {
  for (const ObjectFile& object : files.objects) {
    try {
      pending.push_back({folder / object.fileName, host::WriteLwo2(object.object)});
    } catch (const std::length_error& e) {
      return "the object " + object.fileName + " cannot be written as LWO2: " + e.what();
    }
  }
  for (const ImageFile& image : files.images) {
    pixels::RgbaImage texels(image.texture->width, image.texture->height);
    texels.rgba = image.texture->rgba;
    std::vector<std::uint8_t> png = render::EncodePng(texels);
    if (png.empty()) return "the image of texture \"" + image.texture->name + "\" cannot be encoded as PNG";
    pending.push_back({folder / kImageFolder / image.fileName, std::move(png)});
  }
  if (files.colBytes != nullptr) pending.push_back({folder / files.colFileName, *files.colBytes});
  const std::string scene = host::WriteLws(files.items);
  pending.push_back({folder / files.sceneFileName, std::vector<std::uint8_t>(scene.begin(), scene.end())});
  return {};
}

bool WriteFile(const PendingFile& file) {
  std::ofstream out(file.path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

std::string WriteSceneFiles(const SceneFiles& files, const std::string& folder) {
  std::vector<PendingFile> pending;
  const fs::path root = fs::u8path(folder);
  if (std::string error = MakeFiles(files, root, pending); !error.empty()) return error;
  std::error_code code;
  fs::create_directories(root / kImageFolder, code);
  if (code) return "cannot make the folder " + (root / kImageFolder).u8string() + ": " + code.message();
  for (std::size_t i = 0; i < pending.size(); ++i) {
    if (WriteFile(pending[i])) continue;
    for (std::size_t written = 0; written <= i; ++written) fs::remove(pending[written].path, code);
    return "cannot write " + pending[i].path.u8string() + ": check that the folder is writable and has room";
  }
  return {};
}

}  // namespace import_scene
