#include "pixels/mip_chain.h"

#include <algorithm>

#include "pixels/resample.h"

namespace pixels {

std::uint32_t FullChainLength(std::uint32_t width, std::uint32_t height) {
  std::uint32_t side = std::max(width, height);
  std::uint32_t levels = 1;
  while (side > 1) {
    side /= 2;
    ++levels;
  }
  return levels;
}

std::vector<RgbaImage> BuildMipChain(RgbaImage top) {
  std::vector<RgbaImage> chain;
  chain.reserve(FullChainLength(top.width, top.height));
  chain.push_back(std::move(top));
  while (chain.back().width > 1 || chain.back().height > 1) {
    const RgbaImage& above = chain.back();
    chain.push_back(Resample(above, std::max(1u, above.width / 2), std::max(1u, above.height / 2)));
  }
  return chain;
}

}  // namespace pixels
