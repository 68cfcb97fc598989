#include "tools/dffinfo/render_command.h"

#include <iostream>
#include <vector>

#include "dff/output_file.h"
#include "dff_inspect/inspect.h"
#include "render/model_renderer.h"
#include "render/png_file.h"
#include "tools/dffinfo/text_printer.h"
#include "tools/dffinfo/texture_check.h"

namespace dffinfo {
namespace {

constexpr int kWritten = 0;
constexpr int kDamaged = 1;
constexpr int kUnreadable = 2;

struct ReadFile {
  std::vector<std::uint8_t> bytes;
  Inspection inspection;
};

// Reads and inspects `path`; false, with the reason printed, when it cannot
// be read or is damaged.
bool ReadSound(const std::string& path, ReadFile& file, int& status) {
  std::string error;
  if (!ReadWholeFile(path, file.bytes, error)) {
    std::cerr << "dffinfo: " << error << "\n";
    status = kUnreadable;
    return false;
  }
  file.inspection = Inspect(file.bytes);
  PrintFindings(std::cerr, file.inspection);
  if (!file.inspection.sound()) {
    std::cerr << DamagedMessage(path) << "\n";
    std::cerr << "dffinfo: nothing was drawn\n";
    status = kDamaged;
    return false;
  }
  return true;
}

bool WritePng(const std::string& path, const pixels::RgbaImage& image) {
  const std::vector<std::uint8_t> png = render::EncodePng(image);
  if (png.empty()) {
    std::cerr << "dffinfo: " << path << " was not written: out of memory while encoding the image\n";
    return false;
  }
  dff::OutputFile out(path);
  if (out.ok()) out.stream().WriteBytes(png.data(), png.size());
  if (!out.ok() || !out.Commit()) {
    std::cerr << "dffinfo: " << path << " was not written: " << out.error() << "\n";
    return false;
  }
  std::cout << "dffinfo: wrote " << path << " (" << image.width << " x " << image.height << ")\n";
  return true;
}

}  // namespace

std::string DamagedMessage(const std::string& path) {
  return "dffinfo: " + path + " is damaged: readers that rely on the places named above will misread it";
}

int RunRender(const RenderRequest& request) {
  int status = kWritten;
  ReadFile model;
  if (!ReadSound(request.modelPath, model, status)) return status;
  if (model.inspection.clumps.empty()) {
    std::cerr << "dffinfo: " << request.modelPath << " holds no clump to draw; --render takes a DFF file\n";
    return kUnreadable;
  }
  ReadFile dictionary;
  render::DecodedTextures textures;
  if (!request.txdPath.empty()) {
    if (!ReadSound(request.txdPath, dictionary, status)) return status;
    if (dictionary.inspection.dictionaries.empty()) {
      std::cerr << "dffinfo: " << request.txdPath << " holds no texture dictionary; --txd takes a TXD file\n";
      return kUnreadable;
    }
    for (const std::string& line : TexturesMissingFrom(model.inspection, dictionary.inspection)) {
      std::cerr << "dffinfo: " << request.txdPath << ": " << line << " (drawn white)\n";
      status = kDamaged;
    }
    for (const TextureDictionaryRecord& d : dictionary.inspection.dictionaries) {
      render::DecodedTextures decoded = render::DecodeTextures({dictionary.bytes.data(), dictionary.bytes.size()}, d);
      textures.byName.merge(decoded.byName);
      for (const std::string& note : decoded.notes) std::cerr << "dffinfo: " << request.txdPath << ": " << note << "\n";
    }
  }
  if (model.inspection.clumps.size() > 1) {
    std::cerr << "dffinfo: " << request.modelPath << " holds " << model.inspection.clumps.size()
              << " clumps; only the first is drawn\n";
  }

  const render::ModelScene scene = render::LayOutClump(model.inspection.clumps.front(), textures);
  if (!request.viewPath.empty()) {
    const render::TimeOfDay time = request.night ? render::TimeOfDay::kNight : render::TimeOfDay::kDay;
    if (!WritePng(request.viewPath, render::RenderModel(scene, request.view, time, request.size))) return kUnreadable;
  }
  if (!request.sheetPath.empty()) {
    if (!WritePng(request.sheetPath, render::RenderSheet(scene, request.size))) return kUnreadable;
  }
  return status;
}

}  // namespace dffinfo
