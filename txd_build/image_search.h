// Where the image of a texture is looked for, the same for maketxd, for
// lwhost --txd and for a module that writes a dictionary beside its model.
// In order, first match wins:
//  1. when a scene or object stores the texture's image file, the places
//     derived from that stored path (see lightwave/file_search.h);
//  2. the folders the user names (--images), in the order given;
//  3. the model's folders (the folder of the DFF, or of each object);
//  4. the usual image folders Images, images, textures, Textures, tex and
//     maps inside each model folder and inside each folder above it, up to
//     and including the content directory (up to the root when none is
//     known): an object in car/models/ finds its images in car/textures/.
// In 2 to 4 the texture's name is tried with each image extension (png,
// tga, jpg, jpeg, bmp) in any case; a name that Windows keeps for a device
// ("con") is looked for as the file the export names it after ("_con.png",
// platform/device_names.h).
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lightwave/file_search.h"
#include "txd_build/dictionary_builder.h"
#include "txd_build/image_folders.h"

namespace txdbuild {

// The folder names of step 4, in the order tried.
extern const char* const kUsualImageFolderNames[6];

// The search order above, worded for a program's --help.
extern const char* const kImageSearchHelp;

struct ImageSearchPlaces {
  // Step 1: the image file each texture's surface stores, by lower-case
  // texture name, and where stored paths are resolved.
  std::map<std::string, std::string> storedFiles;
  host::FileSearch storedSearch;
  std::vector<std::filesystem::path> imageFolders;  // step 2
  std::vector<std::filesystem::path> modelFolders;  // step 3, and where step 4 starts
  std::filesystem::path contentDirectory;           // where step 4 stops; empty: at the root
};

// The folders of step 4, in order, each once.
std::vector<std::filesystem::path> UsualImageFolders(const std::vector<std::filesystem::path>& modelFolders,
                                                     const std::filesystem::path& contentDirectory);

class ImageSearch {
 public:
  explicit ImageSearch(ImageSearchPlaces places);

  std::optional<std::filesystem::path> Find(const std::string& textureName) const;

  // Every place Find tries for the name, in order: files, and folders as
  // "folder/name.(png|tga|jpg|jpeg|bmp)".
  std::vector<std::string> Places(const std::string& textureName) const;

  // A lookup for BuildDictionary.  Its message for a missing image takes a
  // few lines: the stored path, how many places were tried and the first
  // few, and how to name the image's folder; `verbose` lists every place.
  ImageLookup Lookup(bool verbose) const;

 private:
  const std::string* StoredFile(const std::string& textureName) const;
  std::string DescribeSearch(const std::string& textureName, bool verbose) const;

  ImageSearchPlaces places_;
  ImageFolders folders_;  // steps 2 to 4
};

}  // namespace txdbuild
