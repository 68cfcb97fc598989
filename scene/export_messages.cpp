#include "scene/export_messages.h"

#include "scene/frame_name.h"

namespace scene {

std::optional<MessageLines> DescribeCutNames(const DffExporter::FrameNameCuts& cuts) {
  if (cuts.count == 0) return std::nullopt;
  const std::string count = std::to_string(cuts.count);
  const std::string limit = std::to_string(kMaxFrameNameBytes);
  return MessageLines{
      cuts.count == 1
          ? "1 frame name was longer than the game holds and was cut to " + limit + " bytes."
          : count + " frame names were longer than the game holds and were cut to " + limit +
                " bytes.",
      "The first, \"" + cuts.firstAsMade + "\", is written as \"" + cuts.firstAsWritten +
          "\"; shorten the item name to choose the name yourself."};
}

void ShowOutcome(const LWMessageFuncs& messages, const std::vector<MessageLines>& warnings,
                 const std::optional<MessageLines>& error, const std::string& summary) {
  for (const MessageLines& warning : warnings) messages.warning(warning.line1.c_str(), SecondLine(warning));
  if (error) {
    messages.error(error->line1.c_str(), SecondLine(*error));
  } else {
    messages.info(summary.c_str(), nullptr);
  }
}

}  // namespace scene
