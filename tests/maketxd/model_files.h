// A small textured model and its images on disk, for maketxd's tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/dff_inspect/dff_builder.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/test_images.h"

namespace maketxd::testing {

// The sample clump with its first material textured `texture` (mask
// `mask`) and environment-mapped with `environment`.
inline dffinfo::testing::Bytes ModelUsing(const std::string& texture, const std::string& environment,
                                          const std::string& mask = "") {
  dffinfo::testing::SampleClump clump = dffinfo::testing::MakeSampleClump();
  clump.geometries.at(0).materials.at(0).texture->name = texture;
  clump.geometries.at(0).materials.at(0).texture->mask = mask;
  clump.geometries.at(0).materials.at(0).environmentMap->name = environment;
  return dffinfo::testing::Serialise({dffinfo::testing::BuildClump(clump)}).bytes;
}

inline void WriteImage(const std::filesystem::path& path, std::uint32_t w, std::uint32_t h,
                       std::uint8_t alpha = 255) {
  const std::string kind = path.extension() == ".tga" || path.extension() == ".TGA" ? "tga" : "png";
  testsupport::WriteFileBytes(path, testsupport::EncodeImageFile(testsupport::TestPattern(w, h, alpha), kind));
}

// A scratch folder of its own for each test, as CTest runs tests side by side.
inline std::filesystem::path ScratchFolder(const std::string& test) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("maketxd-" + test + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace maketxd::testing
