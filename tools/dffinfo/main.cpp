// dffinfo FILE.dff|FILE.txd|FILE.col [--json] [--quiet] [--txd MODEL.txd]
//
// Lists a DFF or TXD file's chunk tree and decoded records, or a COL file's
// entries, and checks what readers rely on.  Exit status: 0 when the file is sound (warnings allowed), 1 when
// it is damaged or lacks a texture in the dictionary --txd names, 2 when a
// file cannot be read.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "tools/dffinfo/json_printer.h"
#include "tools/dffinfo/texture_check.h"
#include "tools/dffinfo/text_printer.h"

namespace {

constexpr int kSound = 0;
constexpr int kDamaged = 1;
constexpr int kUnreadable = 2;

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Lists a DFF, TXD or COL file's chunks, records or entries and checks what readers rely on."};
  std::string path;
  bool json = false;
  bool quiet = false;
  app.add_option("file", path, "the DFF, TXD or COL file to inspect")->required();
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
