// How lwhost answers the module's file requests and shows its messages.
#pragma once

#include <optional>
#include <string>

#include "host/standin_host.h"
#include "tools/lwhost/options.h"

namespace host::lwhost {

// The answers for one input file.
class RequestAnswers {
 public:
  RequestAnswers(const Options& options, std::string inputPath, bool interactive);

  std::optional<std::string> Answer(const FileRequest& request);

  // Whether the save request was answered (a cancel is a failed export).
  bool saveAnswered() const { return saveAnswered_; }
  // The DFF file the save request was answered with.
  const std::string& savedPath() const { return savedPath_; }

 private:
  std::optional<std::string> AnswerSave(const FileRequest& request);
  std::optional<std::string> AnswerCol(const FileRequest& request);

  const Options& options_;
  std::string inputPath_;
  bool interactive_;
  bool saveAnswered_ = false;
  std::string savedPath_;
};

// Prints what the module showed: information on standard output, errors
// and warnings on standard error.
void PrintMessage(const Message& message);

// True when standard input is a terminal, where prompts make sense.
bool StandardInputIsTerminal();

}  // namespace host::lwhost
