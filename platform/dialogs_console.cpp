// Dialogs for systems without the Windows common dialogs: answers are taken
// from the command line in order, then asked for on a terminal; with
// neither, a question counts as cancelled so that scripts never hang.
#include "platform/dialogs.h"

#include <unistd.h>

#include <cstddef>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

class ConsoleDialogs final : public Dialogs {
 public:
  explicit ConsoleDialogs(std::vector<std::filesystem::path> answers)
      : answers_(std::move(answers)) {}

  std::optional<std::filesystem::path> AskForInputDff() override {
    return NextAnswer("DFF file to read: ");
  }

  std::optional<std::filesystem::path> AskForOutputCol() override {
    return NextAnswer("COL file to write: ");
  }

  void ShowMessage(std::string_view caption, std::string_view text, MessageKind kind) override {
    std::ostream& out = kind == MessageKind::kError ? std::cerr : std::cout;
    out << '[' << caption << "] " << text << std::endl;
  }

 private:
  std::optional<std::filesystem::path> NextAnswer(const char* prompt) {
    if (nextAnswer_ < answers_.size()) return answers_[nextAnswer_++];
    if (isatty(STDIN_FILENO) == 0) return std::nullopt;
    std::cerr << prompt << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // An empty answer is how a terminal user cancels.
    if (line.empty()) return std::nullopt;
    return std::filesystem::path(line);
  }

  std::vector<std::filesystem::path> answers_;
  std::size_t nextAnswer_ = 0;
};

}  // namespace

std::unique_ptr<Dialogs> CreateSystemDialogs(int argc, char** argv) {
  std::vector<std::filesystem::path> answers;
  for (int i = 1; i < argc; ++i) answers.emplace_back(argv[i]);
  return std::make_unique<ConsoleDialogs>(std::move(answers));
}

}  // namespace platform
