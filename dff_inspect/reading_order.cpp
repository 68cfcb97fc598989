#include "dff_inspect/reading_order.h"

#include "dff_inspect/chunk_names.h"

namespace dffinfo {

ReadingOrder::ReadingOrder(const Chunk& parent, Findings& findings)
    : parent_(parent), findings_(findings) {}

const Chunk* ReadingOrder::Next(dff::ChunkType type) {
  const std::uint32_t word = dff::ToWord(type);
  const std::vector<Chunk>& children = parent_.children;
  for (std::size_t i = next_; i < children.size(); ++i) {
    if (children[i].type != word) continue;
    next_ = i + 1;
    lastFound_ = PathName(word);
    return &children[i];
  }

  const std::string name = PathName(word);
  const std::string parentName = PathName(parent_.type);
  const bool inClump = parent_.type == dff::ToWord(dff::ChunkType::Clump);
  const std::string consequence =
      inClump ? ", so it finds the end of the clump instead and rejects the whole clump"
              : ", so it searches on past the end of the " + parentName +
                    ", takes the chunks after it for what it is missing, and the file does "
                    "not load";
  for (std::size_t i = 0; i < next_; ++i) {
    if (children[i].type != word) continue;
    findings_.Damage(children[i].path, children[i].offset,
                     "the " + name + " comes before the " + lastFound_ +
                         " that the game's reader takes ahead of it; the reader never looks "
                         "back" + consequence +
                         ". Write the " + parentName + "'s children in the order the game reads "
                         "them");
    return &children[i];
  }
  const std::string advice =
      inClump && type == dff::ChunkType::Extension
          ? ". Append an empty Extension (12 bytes: type 3, size 0, the version stamp) as the "
            "clump's last child and add 12 to the clump's size, or export the model again"
          : ". Export the model again with a tool that writes it";
  findings_.Damage(parent_.path, parent_.offset,
                   "the " + parentName + " holds no " + name +
                       (lastFound_.empty() ? std::string() : " after its " + lastFound_) +
                       "; the game's reader looks for one there" + consequence + advice);
  return nullptr;
}

std::vector<const Chunk*> ReadingOrder::Unread() const {
  std::vector<const Chunk*> unread;
  for (std::size_t i = next_; i < parent_.children.size(); ++i) {
    unread.push_back(&parent_.children[i]);
  }
  return unread;
}

}  // namespace dffinfo
