#include "section/file_set.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

namespace section {
namespace fs = std::filesystem;
namespace {

fs::path TemporaryBeside(const fs::path& target) {
  fs::path temporary = target;
  temporary += ".velmora-part";
  return temporary;
}

bool WriteWhole(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::string& reason) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    reason = std::strerror(errno);
    return false;
  }
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    reason = "the write failed (is the disk full?)";
    return false;
  }
  return true;
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ignored;
  fs::remove(path, ignored);
}

}  // namespace

void FileSet::Add(fs::path target, std::vector<std::uint8_t> bytes) {
  files_.push_back({std::move(target), std::move(bytes)});
}

void FileSet::Add(fs::path target, const std::string& text) {
  files_.push_back({std::move(target), std::vector<std::uint8_t>(text.begin(), text.end())});
}

bool FileSet::Commit(std::string& error) {
  // A folder or device where a file should go would fail only at its
  // rename, after other files had taken their names.
  for (const Pending& file : files_) {
    std::error_code ignored;
    if (fs::exists(file.target, ignored) && !fs::is_regular_file(file.target, ignored)) {
      error = file.target.string() + " is not a file that can be replaced. No file of the section was changed.";
      return false;
    }
  }
  for (std::size_t i = 0; i < files_.size(); ++i) {
    std::string reason;
    if (!WriteWhole(TemporaryBeside(files_[i].target), files_[i].bytes, reason)) {
      for (std::size_t j = 0; j <= i; ++j) RemoveQuietly(TemporaryBeside(files_[j].target));
      error = files_[i].target.string() + " could not be written: " + reason + ". No file of the section was changed.";
      return false;
    }
  }
  std::string replaced;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    std::error_code failure;
    fs::rename(TemporaryBeside(files_[i].target), files_[i].target, failure);
    if (failure) {
      for (std::size_t j = i; j < files_.size(); ++j) RemoveQuietly(TemporaryBeside(files_[j].target));
      error = files_[i].target.string() + " could not take its name: " + failure.message() + ". " +
              (replaced.empty() ? std::string("No file of the section was changed.")
                                : "Already replaced: " + replaced + "; export again.");
      return false;
    }
    replaced += (replaced.empty() ? "" : ", ") + files_[i].target.filename().string();
  }
  return true;
}

}  // namespace section
