#include "extractor/brasko.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "extractor/chunk_walk.h"
#include "extractor/collision_copy.h"
#include "extractor/file_io.h"

namespace extractor {
namespace {

// The program's fixed messages, as its users know them.
constexpr const char* kErrorCaption = "Error, fool!";
constexpr const char* kSuccessCaption = "Success!";
constexpr const char* kNoInputText = "Wheres my file, fool?!";
constexpr const char* kNoOutputText = "I can't read shit, you fool!";
constexpr const char* kWrittenText = "COL file written";

constexpr int kSuccessStatus = 0;
constexpr int kFailureStatus = 1;

// A path in quotes, as UTF-8, for messages.
std::string Quoted(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return '"' + std::string(text.begin(), text.end()) + '"';
}

// Writes each collision chunk the walk reaches to the file the user picks
// for it, and tells the user how that went.
class ColFileWriter final : public CollisionSink {
 public:
  ColFileWriter(platform::Dialogs& dialogs, std::filesystem::path input)
      : dialogs_(dialogs), input_(std::move(input)) {}

  void OnCollision(const CollisionChunk& chunk, ByteSource& source) override {
    ++met_;
    const std::optional<std::filesystem::path> output = dialogs_.AskForOutputCol();
    if (!output) return ShowError(kNoOutputText);
    if (WriteColFile(chunk, source, *output)) {
      ++written_;
      dialogs_.ShowMessage(kSuccessCaption, kWrittenText, platform::MessageKind::kSuccess);
    }
  }

  bool AllWritten() const { return written_ == met_; }

 private:
  // True only when the whole chunk reached the file and the file closed.
  bool WriteColFile(const CollisionChunk& chunk, ByteSource& source,
                    const std::filesystem::path& output) {
    std::string error;
    const std::unique_ptr<OutputFile> file = OutputFile::Create(output, error);
    if (!file) {
      ShowError("Cannot create the COL file " + Quoted(output) + ": " + error +
                ". Choose a folder that exists and that you may write to.");
      return false;
    }
    const CopyResult copy = CopyBytes(source, chunk.available, *file);
    if (copy.failure == CopyFailure::kWrite) {
      ShowError("Writing the COL file " + Quoted(output) + " failed after " +
                std::to_string(copy.copied) + " bytes: " + file->error() +
                ". The file is incomplete; make room on its drive or choose another place.");
      return false;
    }
    if (copy.failure == CopyFailure::kRead) {
      ShowError("Reading the DFF file " + Quoted(input_) + " failed at offset " +
                std::to_string(source.Position()) + ", so the COL file " + Quoted(output) +
                " is incomplete.");
      return false;
    }
    if (!file->Close()) {
      ShowError("Closing the COL file " + Quoted(output) + " failed: " + file->error() +
                ". The file may be incomplete; make room on its drive or choose another place.");
      return false;
    }
    if (!chunk.Complete()) {
      ShowError("The DFF file " + Quoted(input_) + " ends inside its collision chunk at offset " +
                std::to_string(chunk.headerOffset) + ": only " + std::to_string(chunk.available) +
                " of its " + std::to_string(chunk.header.size) + " bytes are there. They were written to " +
                Quoted(output) + ", which is therefore incomplete.");
      return false;
    }
    return true;
  }

  void ShowError(const std::string& text) {
    dialogs_.ShowMessage(kErrorCaption, text, platform::MessageKind::kError);
  }

  platform::Dialogs& dialogs_;
  std::filesystem::path input_;
  int met_ = 0;
  int written_ = 0;
};

}  // namespace

int RunBrasko(platform::Dialogs& dialogs) {
  const std::optional<std::filesystem::path> input = dialogs.AskForInputDff();
  if (!input) {
    dialogs.ShowMessage(kErrorCaption, kNoInputText, platform::MessageKind::kError);
    return kFailureStatus;
  }
  std::string error;
  const std::unique_ptr<FileSource> source = FileSource::Open(*input, error);
  if (!source) {
    dialogs.ShowMessage(kErrorCaption,
                        "Cannot open the DFF file " + Quoted(*input) + ": " + error +
                            ". Check that the file exists and that you may read it.",
                        platform::MessageKind::kError);
    return kFailureStatus;
  }

  ColFileWriter writer(dialogs, *input);
  const WalkResult walk = WalkFirstChunk(*source, writer);
  if (!walk.problem.empty()) {
    dialogs.ShowMessage(kErrorCaption,
                        "The DFF file " + Quoted(*input) + " is damaged: " + walk.problem +
                            ". Nothing after that point was read; export or fetch the model again.",
                        platform::MessageKind::kError);
    return kFailureStatus;
  }
  return writer.AllWritten() ? kSuccessStatus : kFailureStatus;
}

}  // namespace extractor
