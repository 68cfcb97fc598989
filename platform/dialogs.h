// brasko's whole user interface: one dialog that picks the DFF to read, one
// that picks where each collision record goes, and message boxes.
//
// On Windows these are the common open dialog and MessageBoxW.  Elsewhere
// the answers come from the command line, then from a prompt on a terminal,
// and the messages are printed.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace platform {

enum class MessageKind {
  kError,
  kSuccess,
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The DFF file to read, or nothing when the user cancelled or the dialog
  // failed.  The path is whole, whatever its length.
  virtual std::optional<std::filesystem::path> AskForInputDff() = 0;
  // Where to write one collision record, likewise.
  virtual std::optional<std::filesystem::path> AskForOutputCol() = 0;

  // Texts are UTF-8.
  virtual void ShowMessage(std::string_view caption, std::string_view text, MessageKind kind) = 0;
};

// The dialogs of the platform the program runs on.  The Windows dialogs
// ignore the command line; the console ones take their answers from it
// (argv[1] onwards) before they prompt.
std::unique_ptr<Dialogs> CreateSystemDialogs(int argc, char** argv);

}  // namespace platform
