// The order in which the game's stream reader takes a chunk's children.
//
// The reader never looks back: it searches for each child it needs from
// where the previous one ended, skipping whatever lies between.  A child
// that is missing, or that sits before one read ahead of it, sends the
// search on past the end of its parent into the chunks after it, and the
// clump does not load.
#pragma once

#include <string>
#include <vector>

#include "dff/chunk_type.h"
#include "dff_inspect/chunk_tree.h"
#include "dff_inspect/findings.h"

namespace dffinfo {

class ReadingOrder {
 public:
  ReadingOrder(const Chunk& parent, Findings& findings);

  // The next child of `type` after the last one found.  When there is none
  // the fault is reported, and the first child of that type before it is
  // returned, so that the listing can still show it, or nullptr.
  const Chunk* Next(dff::ChunkType type);
  // The children after the last one found, which the reader never takes.
  std::vector<const Chunk*> Unread() const;

 private:
  const Chunk& parent_;
  Findings& findings_;
  std::size_t next_ = 0;   // the first child the search has not passed
  std::string lastFound_;  // the type name of the last child found
};

}  // namespace dffinfo
