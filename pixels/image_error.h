// Why an image could not be decoded, shared by every file kind's reader.
#pragma once

#include <stdexcept>
#include <string>

namespace pixels {

// The message names the file and the reason.
class ImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws an ImageError for the file `name`, which cannot be decoded for
// `reason`.
[[noreturn]] void RefuseImage(const std::string& name, const std::string& reason);

}  // namespace pixels
