// dffinfo on a map section: an IDE, IPL or IMG file, checked by itself and
// with the section's other files beside it (the same name with .ide, .ipl
// and .img), as the game will read them together.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "section/ide_file.h"
#include "section/img_archive.h"
#include "section/ipl_file.h"

namespace dffinfo {

struct SectionFinding {
  bool damage = false;  // the game misreads, rejects or loses something
  std::string file;     // the file it is about
  std::string message;
};

struct SectionFiles {
  std::string idePath, iplPath, imgPath;  // empty when absent
  std::vector<section::IdeObject> models;
  std::vector<section::IplInstance> instances;
  std::vector<section::ImgDirectoryEntry> archive;
  std::size_t colEntries = 0;  // in the archive's COL files
  std::vector<SectionFinding> findings;

  bool sound() const;
};

// True for a path whose extension is .ide, .ipl or .img (any case).
bool IsSectionFile(const std::string& path);

// Reads `path` and the section's files beside it and checks them.  False
// with `error` when `path` itself cannot be read.
bool CheckSection(const std::string& path, SectionFiles& section, std::string& error);

}  // namespace dffinfo
