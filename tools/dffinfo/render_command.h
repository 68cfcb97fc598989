// dffinfo --render and --render-sheet: a DFF drawn with its texture
// dictionary into a PNG file, by day or by night.
#pragma once

#include <cstdint>
#include <string>

#include "render/view_camera.h"

namespace dffinfo {

struct RenderRequest {
  std::string modelPath;
  std::string txdPath;      // empty: every material drawn untextured
  std::string viewPath;     // --render's PNG, or empty
  std::string sheetPath;    // --render-sheet's PNG, or empty
  render::View view = render::View::kThreeQuarter;
  bool night = false;
  std::uint32_t size = 512;  // pixels square, of the view or of each cell of the sheet
};

// Draws what `request` asks for and returns dffinfo's exit status: 0 when
// written, 1 when the model or dictionary is damaged (nothing is drawn) or
// the dictionary lacks a texture the model names (drawn white), 2 when a
// file cannot be read or written.
int RunRender(const RenderRequest& request);

// The line dffinfo ends its findings with when `path` is damaged.
std::string DamagedMessage(const std::string& path);

}  // namespace dffinfo
