// dffinfo FILE.dff|FILE.txd|FILE.col|SECTION.ide|SECTION.ipl|SECTION.img [--json] [--quiet] [--txd MODEL.txd]
//
// Lists a DFF or TXD file's chunk tree and decoded records, a COL file's
// entries, or a map section's models, instances and archive, and checks
// what readers rely on.  Exit status: 0 when the file is sound (warnings allowed), 1 when
// it is damaged or lacks a texture in the dictionary --txd names, 2 when a
// file cannot be read.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "tools/dffinfo/json_printer.h"
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
      "and checks what readers rely on.  Given an IDE, IPL or IMG file, dffinfo reads the section's other files "
      "beside it too (the same name with .ide, .ipl and .img) and checks them together: every IPL ID defined in "
      "the IDE with the same name, every model's DFF and TXD in the archive with every texture its materials "
      "name, a COL entry for each model, LOD indices, unit quaternions, the archive's entries inside the file and "
      "apart, and names within the game's limits."};
  std::string path;
  bool json = false;
  bool quiet = false;
  app.add_option("file", path, "the DFF, TXD, COL, IDE, IPL or IMG file to inspect")->required();
  app.add_flag("--json", json, "print the listing as JSON for programs");
  app.add_flag("--quiet", quiet, "print only what is wrong with the file");
  std::string txdPath;
  app.add_option("--txd", txdPath,
                 "also check that this texture dictionary holds every texture the model names");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? kSound : kUnreadable;
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
      std::cerr << "dffinfo: " << path
                << " is damaged: readers that rely on the places named above will misread it\n";
    }
  }
  for (const std::string& line : missingTextures) std::cerr << "dffinfo: " << txdPath << ": " << line << "\n";
  return inspection.sound() && missingTextures.empty() ? kSound : kDamaged;
}
