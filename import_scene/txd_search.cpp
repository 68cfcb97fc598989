#include "import_scene/txd_search.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_set>
#include <utility>
#include <vector>

#include "dff_inspect/inspect.h"
#include "import/game_files.h"
#include "import_scene/file_names.h"
#include "import_scene/read_part.h"

namespace import_scene {
namespace {

namespace fs = std::filesystem;
using TextureList = std::vector<import::Texture>;
// Texture names in lower case: the game finds textures by name without
// regard to case.
using NameSet = std::unordered_set<std::string>;

// A dictionary of the folder, read and inspected once, and how many of the
// model's textures it holds.
struct Candidate {
  std::string path;
  std::vector<std::uint8_t> bytes;
  dffinfo::Inspection inspection;
  std::size_t held = 0;
};

// The folder's .txd files in any case of the extension, by file name.  A
// folder that cannot be listed offers none.
std::vector<fs::path> DictionariesBeside(const fs::path& dff) {
  const fs::path folder = dff.has_parent_path() ? dff.parent_path() : fs::path(".");
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    std::error_code typeError;
    if (entry->is_regular_file(typeError) && Lower(entry->path().extension().u8string()) == ".txd") {
      found.push_back(entry->path());
    }
  }
  std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  return found;
}

// NAME.txd as it stands, else NAME with the extension in another case.
std::optional<fs::path> SameNamed(const fs::path& dff, const std::vector<fs::path>& dictionaries) {
  fs::path exact = dff;
  exact.replace_extension(".txd");
  std::error_code error;
  if (fs::is_regular_file(exact, error)) return exact;
  for (const fs::path& dictionary : dictionaries) {
    if (dictionary.stem() == dff.stem()) return dictionary;
  }
  return std::nullopt;
}

NameSet TexturesNamed(const import::Model& model) {
  NameSet names;
  for (const import::Geometry& geometry : model.geometries) {
    for (const import::Material& material : geometry.materials) {
      if (!material.texture.empty()) names.insert(Lower(material.texture));
      if (material.environmentTexture && !material.environmentTexture->empty()) {
        names.insert(Lower(*material.environmentTexture));
      }
    }
  }
  return names;
}

// Each texture counts once, however often the dictionary holds it.
std::size_t TexturesHeld(const dffinfo::Inspection& inspection, const NameSet& wanted) {
  NameSet held;
  for (const dffinfo::TextureDictionaryRecord& dictionary : inspection.dictionaries) {
    for (const dffinfo::NativeTextureRecord& texture : dictionary.textures) {
      std::string name = Lower(texture.name);
      if (import::IsPcTexture(texture) && wanted.count(name) != 0) held.insert(std::move(name));
    }
  }
  return held.size();
}

// Nothing, with a warning, for a file that cannot be read or is damaged.
std::optional<Candidate> Weigh(const fs::path& path, const NameSet& wanted, const std::string& dffName,
                               std::vector<std::string>& warnings) {
  Candidate candidate;
  candidate.path = path.u8string();
  const std::string passedOver = "it is passed over in the search for " + dffName + "'s textures";
  std::string error;
  if (!dffinfo::ReadWholeFileAt(path, candidate.bytes, error)) {
    warnings.push_back(error + ": " + passedOver);
    return std::nullopt;
  }
  candidate.inspection = dffinfo::Inspect(candidate.bytes);
  if (!candidate.inspection.sound()) {
    warnings.push_back(candidate.path + " is damaged (dffinfo " + candidate.path + " names where): " + passedOver);
    return std::nullopt;
  }
  candidate.held = TexturesHeld(candidate.inspection, wanted);
  return candidate;
}

// Each file is read once and only the best so far is kept, so a folder of
// many dictionaries costs one pass and the memory of two of them.
std::optional<Candidate> BestOfFolder(const std::vector<fs::path>& dictionaries, const NameSet& wanted,
                                      const std::string& dffName, std::vector<std::string>& warnings) {
  std::optional<Candidate> best;
  for (const fs::path& path : dictionaries) {
    std::optional<Candidate> candidate = Weigh(path, wanted, dffName, warnings);
    if (!candidate || candidate->held == 0 || (best && candidate->held <= best->held)) continue;
    best = std::move(candidate);
    if (best->held == wanted.size()) break;
  }
  return best;
}

std::string FolderChoiceNote(const Candidate& chosen, std::size_t wanted, const fs::path& dff) {
  const std::string held = chosen.held == wanted ? "all " + std::to_string(wanted)
                                                 : std::to_string(chosen.held) + " of the " + std::to_string(wanted);
  return "textures from " + chosen.path + ": there is no " + dff.stem().u8string() + ".txd beside " +
         dff.filename().u8string() + ", and this dictionary of its folder holds " + held +
         " textures the model names";
}

bool ReadNamed(const std::string& path, import::Model& model, Conversion& conversion) {
  auto read = [](const std::vector<std::uint8_t>& bytes, const std::string& file) { return import::ReadTxd(bytes, file); };
  std::optional<TextureList> textures = ReadPart<TextureList>(path, read, conversion);
  if (!textures) return false;
  model.textures = std::move(*textures);
  return true;
}

// A candidate is sound and holds a dictionary, so its textures read.
void ReadChosen(Candidate& chosen, import::Model& model, Conversion& conversion) {
  import::Read<TextureList> read = import::ReadTxd(chosen.bytes, chosen.inspection, chosen.path);
  conversion.warnings.insert(conversion.warnings.end(), read.warnings.begin(), read.warnings.end());
  if (read.value) model.textures = std::move(*read.value);
}

}  // namespace

bool ReadModelTextures(const ModelFiles& files, import::Model& model, Conversion& conversion) {
  if (files.txd) return ReadNamed(*files.txd, model, conversion);
  const fs::path dff = fs::u8path(files.dff);
  const std::vector<fs::path> dictionaries = DictionariesBeside(dff);
  if (std::optional<fs::path> same = SameNamed(dff, dictionaries)) return ReadNamed(same->u8string(), model, conversion);

  const NameSet wanted = TexturesNamed(model);
  if (wanted.empty()) return true;
  if (std::optional<Candidate> best = BestOfFolder(dictionaries, wanted, dff.filename().u8string(), conversion.warnings)) {
    conversion.warnings.push_back(FolderChoiceNote(*best, wanted.size(), dff));
    ReadChosen(*best, model, conversion);
    return true;
  }
  if (files.askForTxd) {
    if (std::optional<std::string> chosen = files.askForTxd()) return ReadNamed(*chosen, model, conversion);
  }
  conversion.warnings.push_back("no texture dictionary for " + dff.filename().u8string() + ": there is no " +
                                dff.stem().u8string() + ".txd beside it and no other TXD of its folder holds a " +
                                "texture it names, so the images are not written");
  return true;
}

}  // namespace import_scene
