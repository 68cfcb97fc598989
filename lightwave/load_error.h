// The one error that reading a LightWave file throws.
#pragma once

#include <stdexcept>

namespace host {

// Why a file could not be loaded: the message names the file, the chunk or
// line, the byte offset or line number where that helps, and what was wrong.
class LoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace host
