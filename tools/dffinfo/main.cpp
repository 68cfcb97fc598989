// dffinfo FILE.dff|FILE.txd|FILE.col|SECTION.ide|SECTION.ipl|SECTION.img [--json] [--quiet] [--txd MODEL.txd]
// dffinfo MODEL.dff [--render OUT.png] [--render-sheet OUT.png] [--txd MODEL.txd] [--night] [--size N]
//         [--view VIEW]
//
// Lists a DFF or TXD file's chunk tree and decoded records, a COL file's
// entries, or a map section's models, instances and archive, and checks
// what readers rely on; or draws a DFF into a PNG file.
// Exit status: 0 when the file is sound (warnings allowed), 1 when
// it is damaged or lacks a texture in the dictionary --txd names, 2 when a
// file cannot be read (or, drawing, written).
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "tools/dffinfo/json_printer.h"
#include "tools/dffinfo/render_command.h"
#include "tools/dffinfo/section_check.h"
#include "tools/dffinfo/section_printer.h"
#include "tools/dffinfo/texture_check.h"
#include "tools/dffinfo/text_printer.h"

namespace {

constexpr int kSound = 0;
constexpr int kDamaged = 1;
constexpr int kUnreadable = 2;

int ReportSection(const std::string& path, bool json, bool quiet) {
  dffinfo::SectionFiles section;
  std::string error;
  if (!dffinfo::CheckSection(path, section, error)) {
    std::cerr << "dffinfo: " << error << "\n";
    return kUnreadable;
  }
  if (json) {
    std::cout << dffinfo::SectionToJson(section, !quiet).dump(1, ' ', false, nlohmann::json::error_handler_t::replace)
              << "\n";
  } else {
    if (!quiet) dffinfo::PrintSectionText(std::cout, section);
    dffinfo::PrintSectionFindings(std::cerr, section);
    if (!section.sound()) std::cerr << "dffinfo: the game would misread or reject the section named above\n";
  }
  return section.sound() ? kSound : kDamaged;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Lists a DFF, TXD or COL file's chunks, records or entries, or a map section's models, instances and archive, "
      "and checks what readers rely on, or draws a DFF into a PNG file.  Given an IDE, IPL or IMG file, dffinfo "
      "reads the section's other files beside it too (the same name with .ide, .ipl and .img) and checks them "
      "together: every IPL ID defined in the IDE with the same name, every model's DFF and TXD in the archive with "
      "every texture its materials name, a COL entry for each model, LOD indices, unit quaternions, the archive's "
      "entries inside the file and apart, and names within the game's limits."};
  std::string path;
  bool json = false;
  bool quiet = false;
  app.add_option("file", path, "the DFF, TXD, COL, IDE, IPL or IMG file to inspect")->required();
  app.add_flag("--json", json, "print the listing as JSON for programs");
  app.add_flag("--quiet", quiet, "print only what is wrong with the file");
  std::string txdPath;
  app.add_option("--txd", txdPath,
                 "also check that this texture dictionary holds every texture the model names "
                 "(and draw the model's textures from it)");
  dffinfo::RenderRequest drawing;
  std::string viewName = render::ViewName(drawing.view);
  auto* renderOption =
      app.add_option("--render", drawing.viewPath, "draw the model into this PNG file instead of listing it");
  auto* sheetOption = app.add_option(
      "--render-sheet", drawing.sheetPath,
      "draw the model into this PNG file from three sides (three-quarter, left, back), by day over by night");
  app.add_flag("--night", drawing.night, "--render: draw the night colours and the dimmer light");
  app.add_option("--size", drawing.size, "--render: the image's side in pixels; --render-sheet: each view's")
      ->check(CLI::Range(16, 4096))
      ->capture_default_str();
  app.add_option("--view", viewName, "--render: the side the model is seen from")
      ->check(CLI::IsMember({"front", "back", "left", "right", "top", "three-quarter"}))
      ->capture_default_str();
  renderOption->excludes("--json");
  sheetOption->excludes("--json");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? kSound : kUnreadable;
  }

  if (!drawing.viewPath.empty() || !drawing.sheetPath.empty()) {
    drawing.modelPath = path;
    drawing.txdPath = txdPath;
    render::ParseView(viewName, drawing.view);
    return dffinfo::RunRender(drawing);
  }

  if (dffinfo::IsSectionFile(path)) return ReportSection(path, json, quiet);

  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!dffinfo::ReadWholeFile(path, bytes, error)) {
    std::cerr << "dffinfo: " << error << "\n";
    return kUnreadable;
  }
  const dffinfo::Inspection inspection = dffinfo::Inspect(bytes);
  std::vector<std::string> missingTextures;
  if (!txdPath.empty()) {
    std::vector<std::uint8_t> txdBytes;
    if (!dffinfo::ReadWholeFile(txdPath, txdBytes, error)) {
      std::cerr << "dffinfo: " << error << "\n";
      return kUnreadable;
    }
    missingTextures = dffinfo::TexturesMissingFrom(inspection, dffinfo::Inspect(txdBytes));
  }

  if (json) {
    nlohmann::json listing = dffinfo::ToJson(inspection, !quiet);
    listing["file"] = path;
    listing["fileSize"] = bytes.size();
    // Names are raw bytes from the file; bytes that are not UTF-8 are
    // replaced rather than let the listing fail.
    std::cout << listing.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  } else {
    if (!quiet) {
      std::cout << path << ": " << bytes.size() << " bytes\n";
      dffinfo::PrintText(std::cout, inspection);
    }
    dffinfo::PrintFindings(std::cerr, inspection);
    if (!inspection.sound()) {
      std::cerr << dffinfo::DamagedMessage(path) << "\n";
    }
  }
  for (const std::string& line : missingTextures) std::cerr << "dffinfo: " << txdPath << ": " << line << "\n";
  return inspection.sound() && missingTextures.empty() ? kSound : kDamaged;
}
