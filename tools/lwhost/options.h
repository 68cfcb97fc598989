// The command line of lwhost.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host::lwhost {

struct Options {
  std::vector<std::string> inputs;   // scene or object files, in order
  std::optional<std::string> output;  // -o: the DFF for a single input (with --import, the folder)
  std::optional<std::string> outDir;  // --out-dir: where each input's DFF goes
  std::optional<std::string> col;     // --col: the COL file to embed
  bool noCol = false;                 // --no-col: cancel the COL request
  std::optional<std::string> module;  // --module: the plug-in module file
  std::string contentDirectory;       // --content: Layout's content directory
  std::optional<std::string> txd;     // --txd: the texture dictionary to build after the export
  std::vector<std::string> imageFolders;  // --images: where --txd looks for images too
  bool verbose = false;               // --verbose: every place looked at for a missing image
  bool map = false;                   // --map: run the map command of velmora_map instead
  bool import = false;                // --import: write a DFF's scene instead of exporting
  bool loadObject = false;            // --load-object: write a DFF as one object through the loaders
  bool section = false;               // --section: run the section command of velmora_map instead
  std::optional<int> firstId;         // --first-id: where a new section's model IDs start
  bool makeLods = false;              // --make-lods: build LOD models of the section's large models
};

// Parses the arguments.  Returns the exit status to end with when the
// program should not go on (help shown: 0; bad usage: 2, with the reason
// printed), or nothing to go on with `options` filled.
std::optional<int> ParseOptions(int argc, char** argv, Options& options);

}  // namespace host::lwhost
