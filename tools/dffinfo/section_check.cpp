#include "tools/dffinfo/section_check.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "dff_inspect/inspect.h"
#include "section/section_limits.h"
#include "tools/dffinfo/texture_check.h"

namespace dffinfo {
namespace {
namespace fs = std::filesystem;

// The IDE flag bits the game knows.
constexpr std::uint32_t kKnownFlags = 0x1 | 0x4 | 0x8 | 0x40 | 0x80 | 0x200 | 0x400 | 0x800 | 0x1000 | 0x2000 |
                                      0x4000 | 0x8000 | 0x100000 | 0x200000 | 0x400000;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Extension(const std::string& path) { return Lower(fs::path(path).extension().string()); }

class Checker {
 public:
  explicit Checker(SectionFiles& section) : s_(section) {}

  void Damage(const std::string& file, std::string message) { s_.findings.push_back({true, file, std::move(message)}); }
  void Warn(const std::string& file, std::string message) { s_.findings.push_back({false, file, std::move(message)}); }

  void CheckIde(const std::string& text) {
    const std::string& file = s_.idePath;
    const section::IdeRead read = section::ReadIdeObjects(text);
    if (!read.error.empty()) Damage(file, read.error);
    s_.models = read.objects;
    std::set<int> ids;
    std::set<std::string> names;
    for (const section::IdeObject& model : s_.models) {
      const std::string what = "model " + model.model + " (ID " + std::to_string(model.id) + ")";
      if (model.id > section::kHighestModelId) Damage(file, what + ": the game's model IDs end at 19999");
      if (!ids.insert(model.id).second) Damage(file, what + " repeats the ID of an earlier model");
      if (!names.insert(Lower(model.model)).second) Damage(file, what + " repeats the name of an earlier model");
      if (model.model.size() > section::kMaxNameLength || model.txd.size() > section::kMaxNameLength) {
        Damage(file, what + ": the game reads 19 characters of a model or TXD name");
      }
      if (model.drawDistance < section::kMinDrawDistance) {
        Damage(file, what + ": a draw distance below 4 makes the game read the line in an older form");
      }
      if ((model.flags & ~kKnownFlags) != 0) Warn(file, what + " has flag bits the game does not know");
    }
  }

  void CheckIpl(const std::string& text) {
    const std::string& file = s_.iplPath;
    const section::IplRead read = section::ReadIpl(text);
    for (const std::string& problem : read.problems) Damage(file, problem);
    s_.instances = read.instances;
    if (s_.instances.size() > section::kMaxTextIplInstances) {
      Damage(file, std::to_string(s_.instances.size()) + " instances, but the game holds 1000 of one text IPL");
    }
    for (std::size_t i = 0; i < s_.instances.size(); ++i) {
      const section::IplInstance& instance = s_.instances[i];
      const std::string what = "line " + std::to_string(read.lineNumbers[i]) + " (" + instance.model + ")";
      const section::Quaternion& q = instance.rotation;
      if (std::fabs(std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w) - 1) > 1e-4) {
        Damage(file, what + ": its rotation is not of unit length, so the game scales or skews the model");
      }
      if (section::GameDropsTilt(q)) Warn(file, what + ": the game drops its small tilt and keeps the heading");
      if (std::fabs(instance.position[0]) > section::kWorldEdge ||
          std::fabs(instance.position[1]) > section::kWorldEdge) {
        Damage(file, what + " stands beyond the game's world, which ends at 3000 each way");
      }
      CheckLod(file, what, i);
    }
  }

  void CheckLod(const std::string& file, const std::string& what, std::size_t index) {
    const int lod = s_.instances[index].lod;
    if (lod == -1) return;
    if (lod < 0 || static_cast<std::size_t>(lod) >= s_.instances.size() || static_cast<std::size_t>(lod) == index) {
      Damage(file, what + ": its LOD index " + std::to_string(lod) + " names no other line of the file");
      return;
    }
    const section::IplInstance& target = s_.instances[static_cast<std::size_t>(lod)];
    if (target.lod != -1) Damage(file, what + ": its LOD instance has a LOD of its own");
    for (const section::IdeObject& model : s_.models) {
      if (model.id == target.id && model.drawDistance <= 300) {
        Warn(file, what + ": its LOD " + target.model + " is drawn from " + std::to_string(model.drawDistance) +
                       " m, no farther than a detailed model");
      }
    }
  }

  void CheckImg(const std::vector<std::uint8_t>& bytes) {
    const std::string& file = s_.imgPath;
    const section::ImgRead read = section::ReadImgArchive(bytes);
    for (const std::string& problem : read.problems) Damage(file, problem);
    s_.archive = read.entries;
    std::size_t colFiles = 0;
    for (const section::ImgDirectoryEntry& entry : s_.archive) {
      const std::string extension = Lower(fs::path(entry.name).extension().string());
      if (extension == ".col") {
        ++colFiles;
        const Inspection col = Inspect(section::ImgEntryBytes(bytes, entry));
        for (const auto& colEntry : col.colEntries) colOfName_[Lower(colEntry.name)] = colEntry.modelId;
        s_.colEntries += col.colEntries.size();
        if (!col.sound()) Damage(file, entry.name + " is damaged (dffinfo it after taking it out of the archive)");
      } else if (extension == ".dff" || extension == ".txd") {
        files_[Lower(entry.name)] = section::ImgEntryBytes(bytes, entry);
      }
    }
    if (colFiles > 1) Warn(file, std::to_string(colFiles) + " COL files: the game has few COL slots, one per section");
  }

  // Every IPL ID defined by the IDE under the same name, every IDE model's
  // DFF and TXD in the archive with the textures the model names, and a
  // COL entry of the same name and ID for each model.
  void CrossCheck() {
    std::map<int, const section::IdeObject*> byId;
    for (const section::IdeObject& model : s_.models) byId.emplace(model.id, &model);
    if (!s_.idePath.empty() && !s_.iplPath.empty()) {
      for (const section::IplInstance& instance : s_.instances) {
        const auto found = byId.find(instance.id);
        if (found == byId.end()) {
          Damage(s_.iplPath, "ID " + std::to_string(instance.id) + " (" + instance.model + ") is not in " + s_.idePath);
        } else if (Lower(found->second->model) != Lower(instance.model)) {
          Warn(s_.iplPath, "ID " + std::to_string(instance.id) + " is " + found->second->model + " in the IDE but " +
                               instance.model + " here");
        }
      }
    }
    if (s_.idePath.empty() || s_.imgPath.empty()) return;
    for (const section::IdeObject& model : s_.models) CheckModelFiles(model);
  }

  void CheckModelFiles(const section::IdeObject& model) {
    const auto dff = files_.find(Lower(model.model + ".dff"));
    const auto txd = files_.find(Lower(model.txd + ".txd"));
    if (dff == files_.end()) Damage(s_.imgPath, "holds no " + model.model + ".dff for the model of that name");
    if (txd == files_.end()) Damage(s_.imgPath, "holds no " + model.txd + ".txd, the TXD of " + model.model);
    if (dff != files_.end()) {
      const Inspection inspected = Inspect(dff->second);
      if (!inspected.sound()) Damage(s_.imgPath, model.model + ".dff is damaged");
      if (txd != files_.end()) {
        for (const std::string& line : TexturesMissingFrom(inspected, Inspect(txd->second))) {
          Damage(s_.imgPath, model.txd + ".txd: " + line);
        }
      }
    }
    const auto col = colOfName_.find(Lower(model.model));
    if (col == colOfName_.end()) {
      Warn(s_.imgPath, "has no COL entry for " + model.model + ", so the game lets everything pass through it");
    } else if (col->second != model.id) {
      Warn(s_.imgPath, "the COL entry " + model.model + " has the ID " + std::to_string(col->second) + ", the IDE " +
                           std::to_string(model.id) + "; the game finds it by name then");
    }
  }

 private:
  SectionFiles& s_;
  std::map<std::string, std::vector<std::uint8_t>> files_;
  std::map<std::string, std::uint16_t> colOfName_;
};

bool ReadIfThere(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return false;
  std::string ignored;
  return ReadWholeFile(path, bytes, ignored);
}

}  // namespace

bool SectionFiles::sound() const {
  for (const SectionFinding& finding : findings) {
    if (finding.damage) return false;
  }
  return true;
}

bool IsSectionFile(const std::string& path) {
  const std::string extension = Extension(path);
  return extension == ".ide" || extension == ".ipl" || extension == ".img";
}

bool CheckSection(const std::string& path, SectionFiles& section, std::string& error) {
  std::vector<std::uint8_t> named;
  if (!ReadWholeFile(path, named, error)) return false;
  const fs::path base = fs::path(path).replace_extension();
  std::vector<std::uint8_t> ide, ipl, img;
  const std::string extension = Extension(path);
  auto take = [&](const char* ext, std::string& into, std::vector<std::uint8_t>& bytes) {
    const std::string beside = base.string() + ext;
    if (extension == ext) {
      into = path;
      bytes = named;
    } else if (ReadIfThere(beside, bytes)) {
      into = beside;
    }
  };
  take(".ide", section.idePath, ide);
  take(".ipl", section.iplPath, ipl);
  take(".img", section.imgPath, img);
  Checker checker(section);
  if (!section.idePath.empty()) checker.CheckIde(std::string(ide.begin(), ide.end()));
  if (!section.iplPath.empty()) checker.CheckIpl(std::string(ipl.begin(), ipl.end()));
  if (!section.imgPath.empty()) checker.CheckImg(img);
  checker.CrossCheck();
  return true;
}

}  // namespace dffinfo
