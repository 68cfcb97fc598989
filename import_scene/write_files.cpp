// WriteSceneFiles: every file made in memory first, so that a model that
// cannot be written leaves nothing behind; then written, and removed again
// if one of them cannot be.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <stdexcept>

#include "import_scene/lightwave_files.h"
#include "lightwave/lwo2_writer.h"
#include "pixels/png_encoder.h"
#include "platform/worker_threads.h"

namespace import_scene {
namespace {

namespace fs = std::filesystem;

struct PendingFile {
  fs::path path;
  std::vector<std::uint8_t> bytes;
};

// The objects' and images' bytes, made on every core: each is independent
// of the others.  The first failure in file order is the one reported.
std::string MakeObjectsAndImages(const SceneFiles& files, const fs::path& folder, std::vector<PendingFile>& pending) {
  const std::size_t objects = files.objects.size();
  std::vector<PendingFile> made(objects + files.images.size());
  std::vector<std::string> errors(made.size());
  {
    platform::WorkerThreads workers;
    for (std::size_t i = 0; i < objects; ++i) {
      workers.Add([&object = files.objects[i], &file = made[i], &error = errors[i], &folder] {
        file.path = folder / object.fileName;
        try {
          file.bytes = host::WriteLwo2(object.object);
        } catch (const std::length_error& e) {
          error = "the object " + object.fileName + " cannot be written as LWO2: " + e.what();
        } catch (const std::bad_alloc&) {
          error = "the object " + object.fileName + " cannot be written: out of memory";
        }
      });
    }
    for (std::size_t i = 0; i < files.images.size(); ++i) {
      workers.Add([&image = files.images[i], &file = made[objects + i], &error = errors[objects + i], &folder] {
        file.path = folder / kImageFolder / image.fileName;
        try {
          pixels::RgbaImage texels(image.texture->width, image.texture->height);
          texels.rgba = image.texture->rgba;
          file.bytes = pixels::EncodePng(texels);
        } catch (const std::bad_alloc&) {
        }
        if (file.bytes.empty()) error = "the image of texture \"" + image.texture->name + "\" cannot be encoded as PNG";
      });
    }
    workers.Finish();
  }
  for (const std::string& error : errors) {
    if (!error.empty()) return error;
  }
  std::move(made.begin(), made.end(), std::back_inserter(pending));
  return {};
}

std::string MakeFiles(const SceneFiles& files, const fs::path& folder, std::vector<PendingFile>& pending) {
  if (std::string error = MakeObjectsAndImages(files, folder, pending); !error.empty()) return error;
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
