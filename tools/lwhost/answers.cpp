#include "tools/lwhost/answers.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "lwsdk/file_request.h"
#include "platform/path_rules.h"

namespace host::lwhost {
namespace fs = std::filesystem;

namespace {

// Asks on the terminal; an empty line takes the offered answer.
std::string Prompt(const std::string& question, const std::string& offered) {
  std::cout << question;
  if (!offered.empty()) std::cout << " [" << offered << "]";
  std::cout << ": " << std::flush;
  std::string line;
  if (!std::getline(std::cin, line)) return {};
  return line.empty() ? offered : line;
}

// "Save DFF file as", "Save IDE file as": the kind of file the command
// proposed, so a section's prompt does not ask for a DFF.
std::string SaveQuestion(const std::string& proposedName) {
  std::string kind = fs::path(proposedName).extension().string();
  if (kind.size() > 1) kind.erase(0, 1);
  for (char& c : kind) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return "Save " + (kind.empty() ? std::string("the") : kind) + " file as";
}

}  // namespace

bool StandardInputIsTerminal() {
#if defined(_WIN32)
  return _isatty(_fileno(stdin)) != 0;
#else
  return isatty(STDIN_FILENO) != 0;
#endif
}

RequestAnswers::RequestAnswers(const Options& options, std::string inputPath, bool interactive)
    : options_(options), inputPath_(std::move(inputPath)), interactive_(interactive) {}

std::optional<std::string> RequestAnswers::Answer(const FileRequest& request) {
  return request.reqType == FREQ_SAVE ? AnswerSave(request) : AnswerCol(request);
}

std::optional<std::string> RequestAnswers::AnswerSave(const FileRequest& request) {
  std::string path;
  if (options_.output) {
    path = *options_.output;
  } else if (options_.outDir) {
    path = (fs::path(*options_.outDir) / request.baseName).string();
  } else {
    const std::string proposed =
        (fs::path(inputPath_).parent_path() / request.baseName).string();
    path = interactive_ ? Prompt(SaveQuestion(request.baseName), proposed) : proposed;
  }
  if (path.empty()) return std::nullopt;
  saveAnswered_ = true;
  savedPath_ = path;
  return path;
}

std::optional<std::string> RequestAnswers::AnswerCol(const FileRequest&) {
  if (options_.col) return *options_.col;
  if (options_.noCol || !interactive_) return std::nullopt;
  const std::string path = Prompt("COL file to embed (empty for none)", "");
  if (path.empty()) return std::nullopt;
  return path;
}

void PrintMessage(const Message& message) {
  const bool isInfo = message.kind == MessageKind::kInfo;
  std::FILE* out = isInfo ? stdout : stderr;
  const char* label = isInfo ? "" : message.kind == MessageKind::kError ? "error: " : "warning: ";
  std::fprintf(out, "%s%s\n", label, message.line1.c_str());
  if (message.line2) std::fprintf(out, "%s%s\n", isInfo ? "" : "       ", message.line2->c_str());
}

}  // namespace host::lwhost
