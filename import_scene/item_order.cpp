#include "import_scene/item_order.h"

#include <functional>
#include <queue>

namespace import_scene {

std::vector<std::size_t> ItemOrder(const import::Model& model) {
  const std::size_t n = model.frames.size();
  std::vector<std::vector<std::size_t>> after(n);  // edges: frame -> frames that must follow it
  std::vector<std::size_t> before(n, 0);
  auto edge = [&](std::size_t from, std::size_t to) {
    after[from].push_back(to);
    ++before[to];
  };
  std::vector<std::ptrdiff_t> lastChild(n + 1, -1);  // index n: the roots
  for (std::size_t f = 0; f < n; ++f) {
    const std::int32_t parent = model.frames[f].parent;
    std::ptrdiff_t& last = lastChild[parent < 0 ? n : static_cast<std::size_t>(parent)];
    if (last >= 0) edge(static_cast<std::size_t>(last), f);
    last = static_cast<std::ptrdiff_t>(f);
  }
  std::ptrdiff_t lastAtomicFrame = -1;
  for (const import::Atomic& atomic : model.atomics) {
    const auto frame = static_cast<std::size_t>(atomic.frame);
    if (lastAtomicFrame >= 0 && static_cast<std::size_t>(lastAtomicFrame) != frame) {
      edge(static_cast<std::size_t>(lastAtomicFrame), frame);
    }
    lastAtomicFrame = atomic.frame;
  }

  std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> ready;
  for (std::size_t f = 0; f < n; ++f) {
    if (before[f] == 0) ready.push(f);
  }
  std::vector<std::size_t> order;
  std::vector<bool> placed(n, false);
  while (order.size() < n) {
    if (ready.empty()) {
      // The two orders disagree: the first frame not yet placed goes next.
      std::size_t f = 0;
      while (placed[f]) ++f;
      before[f] = 0;
      ready.push(f);
    }
    const std::size_t f = ready.top();
    ready.pop();
    if (placed[f]) continue;
    placed[f] = true;
    order.push_back(f);
    for (std::size_t next : after[f]) {
      if (--before[next] == 0 && !placed[next]) ready.push(next);
    }
  }
  return order;
}

}  // namespace import_scene
