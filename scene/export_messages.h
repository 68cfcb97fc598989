// The messages both export commands show: the two lines the host's message
// service takes, and the findings they share.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lwsdk/messages.h"
#include "scene/dff_exporter.h"

namespace scene {

// A message for the user, in the two lines the host shows.
struct MessageLines {
  std::string line1;
  std::string line2;
};

// The second line as the host's message functions take it: null for none.
inline const char* SecondLine(const MessageLines& lines) {
  return lines.line2.empty() ? nullptr : lines.line2.c_str();
}

// The frame names cut to fit the game, or nothing when none was.
std::optional<MessageLines> DescribeCutNames(const DffExporter::FrameNameCuts& cuts);

// A command's end as the user sees it: every warning, then the error, or
// the summary when there is none.
void ShowOutcome(const LWMessageFuncs& messages, const std::vector<MessageLines>& warnings,
                 const std::optional<MessageLines>& error, const std::string& summary);

}  // namespace scene
