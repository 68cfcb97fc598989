#include "tools/lwhost/options.h"

#include <CLI/CLI.hpp>

#include "txd_build/image_search.h"

namespace host::lwhost {

std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
  CLI::App app{
      "lwhost: runs the velmora plug-in's \"Export to DFF v0.1\" (or, with --map, velmora_map's "
      "\"Export map object to DFF\", with --section its \"Export map section\") on LightWave files, as Layout "
      "would.\n"
      "Each input, a scene (.lws) or an object (.lwo), is loaded as Layout loads it and "
      "exported to one DFF file.  A game model's DFF, as an input or named by a scene, is loaded as one "
      "object through the import module's object loader (see --load-object) when that module is beside "
      "lwhost or installed.\n"
      "The save request is answered with -o; otherwise, when standard input is a terminal, by a "
      "prompt that offers the proposed name; otherwise with the proposed name in the input's "
      "folder (or in --out-dir).\n"
      "The \"Select COL file\" request is answered with --col, cancelled by --no-col, otherwise "
      "asked at a prompt on a terminal, otherwise cancelled.\n"
      "Exit status: 0 when every input was exported (\"Export successful\", or the map command's "
      "summary); 1 after an error "
      "message or a cancelled save request; 2 when a file or the module could not be loaded or "
      "the command line is wrong.\n"
      "Objects a scene names, and images an object names, are looked for where their stored path "
      "says and, for a path from another machine (\"C:msys/1.0/home/me/Data/lwo/Teddy.lwo\"), "
      "where a user would look, first match wins: an absolute path as it is; then each trailing "
      "part of the path without its drive, longest first (\"Data/lwo/Teddy.lwo\", "
      "\"lwo/Teddy.lwo\", \"Teddy.lwo\"), each under the content directory (--content), the "
      "folder of the file loaded (the scene, or the bare object) and each folder above it; last, under the "
      "content directory's Objects/ (Images/) folder.  A missing object is an error that lists "
      "every place tried; a missing image keeps its stored path.\n"
      "Objects may be LWO2 or LWO3 (LightWave 2018 and later).  An LWO3 surface's values come "
      "from the material node wired to its Surface node's Material input.  A Standard node "
      "gives Color, Transparency, Reflection and Glossiness as they are; a Principled BSDF "
      "node gives Color and Transparency as they are, Metallic as the reflectivity (a metal "
      "mirrors its surroundings) and 1 - Roughness as the glossiness (a smooth surface has a "
      "tight highlight).  The colour image is the first of: the texture layers on the "
      "material's Color, an Image node wired to its Color input.  A surface whose graph "
      "cannot be followed gets LightWave's default surface, with a warning."};
  app.add_option("inputs", options.inputs, "Scene (.lws) or object (.lwo) files")->required();
  app.add_option("-o,--output", options.output,
                 "The DFF file to write (one input only); with --section, the section's IDE file; with --import, "
                 "the folder for the scene; with --load-object, the object file");
  app.add_option("--out-dir", options.outDir, "Folder for the DFF file of each input");
  auto* col = app.add_option("--col", options.col, "COL file to embed in the DFF");
  app.add_flag("--no-col", options.noCol, "Embed no COL file")->excludes(col);
  app.add_option("--module", options.module,
                 "The plug-in module (default: the one beside lwhost, else the installed one "
                 "in lib/velmora/); with --load-object, the import module");
  app.add_option("--content", options.contentDirectory,
                 "Layout's content directory, where object and image paths are looked up first");
  auto* map = app.add_flag("--map", options.map,
                            "Run \"Export map object to DFF\" of the map module (velmora_map) instead: "
                            "day and night vertex colours, no collision or shadow items, big meshes split, "
                            "point and spot lights and fx_<effect> nulls hung on the model written as the "
                            "game's 2d effects (tags in a light's name in [ ], see the README), "
                            "and the TXD and the COL file written beside the DFF (NAME.txd and NAME.col for "
                            "NAME.dff; the COL entry, named NAME, holds the collision and shadow items, or the "
                            "visible triangles when there is no collision item)");
  map->excludes(col);
  map->excludes("--no-col");
  auto* section = app.add_flag(
      "--section", options.section,
      "Run \"Export map section\" of the map module (velmora_map) instead: the scene's placed objects become a "
      "map section.  -o names its IDE file (SECTION.ide); beside it go SECTION.ipl (one line per instance), "
      "SECTION.img (every model's DFF and TXD, and SECTION.col with a COL3 entry per model) and SECTION.txt (the "
      "gta.dat lines).  An IDE already there keeps its models' IDs, draw distances and flags; new models take the "
      "next IDs above its highest.  One input only");
  section->excludes(map);
  section->excludes(col);
  section->excludes("--no-col");
  app.add_option("--first-id", options.firstId,
                 "With --section: the first model ID of a section whose IDE is absent or lists no model "
                 "(default 18631, the first ID after the game's own models)")
      ->check(CLI::Range(0, 19999))
      ->needs(section);
  app.add_flag("--make-lods", options.makeLods,
               "With --section: build a LOD model for every model that reaches 20 m or more from its origin and "
               "that no LOD object stands in for: its mesh simplified (meshoptimizer) to at most a quarter of its "
               "triangles, unless its surface would then stray by more than 2% of its largest side, keeping texture "
               "and colour seams and material borders; named LOD<model> (over 19 characters: LOD, the model's "
               "first 11, '_' and 4 hex digits of a hash of its name), drawn from 800 m with flag 128, using the "
               "model's TXD, placed at each of its instances.  The summary gives each one's triangles before and after and "
               "how far it strays at most.  Layout's command builds them unless VELMORA_SECTION_MAKE_LODS is 0")
      ->needs(section);
  auto* txd = app.add_option("--txd", options.txd,
                 "After the export, build this texture dictionary (TXD) from the images of the "
                 "scene's surfaces, as maketxd does (one input only; the map command writes its own "
                 "beside the DFF).  With --import: the model's texture dictionary (default: NAME.txd "
                 "beside NAME.dff, else the TXD of its folder that holds all its textures, or the most "
                 "of them, first by file name; one chosen so is named in a warning)");
  txd->excludes(map);
  auto* import = app.add_flag("--import", options.import,
                              "Import instead: MODEL.dff (one input) becomes a LightWave scene in the folder -o "
                              "names (default: NAME_lw beside the DFF): NAME.lws with a null per frame "
                              "without geometry and an object per atomic (FRAME.lwo), the textures of the TXD "
                              "as images/TEXTURE.png, day and night colours as the RGBA maps \"day\" and "
                              "\"night\", and the collision (--col FILE, else the one embedded, else NAME.col beside the DFF) as NAME.col and the "
                              "layers \"col\" and \"shadow\" of NAME_collision.lwo (in the scene for prelit "
                              "map models).  A damaged file is refused with dffinfo's findings and nothing is "
                              "written");
  auto* loadObject = app.add_flag(
      "--load-object", options.loadObject,
      "Load MODEL.dff (one input) as Layout's and Modeler's Load Object do, through the object loader of the "
      "import module (velmora_import), and write it as the LWO2 object -o names (default: NAME.lwo beside the "
      "DFF): a layer per atomic, named after its frame, with its points where the model's frames put them, its "
      "pivot where its frame stands and its parent the layer of the nearest frame above with geometry; surfaces "
      "named after their textures, without images; day and night colours as the RGBA maps \"day\" and "
      "\"night\"; the collision as the layers \"col\" and \"shadow\" (hidden unless the model is prelit).  "
      "A damaged DFF is refused with dffinfo's findings and nothing is written");
  loadObject->excludes(import);
  loadObject->excludes(map);
  loadObject->excludes(section);
  loadObject->excludes(txd);
  loadObject->excludes(col);
  loadObject->excludes("--no-col");
  loadObject->excludes("--out-dir");
  import->excludes(map);
  import->excludes("--out-dir");
  import->excludes("--no-col");
  import->excludes(section);
  txd->excludes(section);
  app.add_option("--images", options.imageFolders,
                 "Folders where --txd looks for the images of the scene's surfaces, after the paths "
                 "they store");
  app.add_flag("--verbose", options.verbose, "List every place looked at for an image not found");
  app.footer(std::string("Images for --txd: ") + txdbuild::kImageSearchHelp +
             "  Here the model's folders are those of the scene's objects, then the input's folder.  "
             "The map command's TXD takes each image from the file the host lists for it, then "
             "from the objects' folders by steps 3 and 4.");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // Help and version print and succeed; any other parse error is a usage
    // error, whatever number CLI11 gives it.
    return app.exit(error) == 0 ? 0 : 2;
  }
  if (options.output && options.inputs.size() > 1) {
    std::fprintf(stderr, "lwhost: -o names one DFF file but %zu inputs were given; use --out-dir.\n",
                 options.inputs.size());
    return 2;
  }
  if (options.section && options.inputs.size() > 1) {
    std::fprintf(stderr, "lwhost: --section exports one scene, but %zu inputs were given.\n", options.inputs.size());
    return 2;
  }
  if (options.txd && options.inputs.size() > 1) {
    std::fprintf(stderr, "lwhost: --txd names one TXD file but %zu inputs were given.\n",
                 options.inputs.size());
    return 2;
  }
  if (options.import && options.inputs.size() != 1) {
    std::fprintf(stderr, "lwhost: --import reads one DFF file but %zu inputs were given.\n", options.inputs.size());
    return 2;
  }
  if (options.loadObject && options.inputs.size() != 1) {
    std::fprintf(stderr, "lwhost: --load-object reads one DFF file but %zu inputs were given.\n",
                 options.inputs.size());
    return 2;
  }
  if (options.output && options.outDir) {
    std::fprintf(stderr, "lwhost: give either -o or --out-dir, not both.\n");
    return 2;
  }
  return std::nullopt;
}

}  // namespace host::lwhost
