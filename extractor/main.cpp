#include "extractor/brasko.h"
#include "platform/dialogs.h"

#include <memory>

int main(int argc, char** argv) {
  const std::unique_ptr<platform::Dialogs> dialogs = platform::CreateSystemDialogs(argc, argv);
  return extractor::RunBrasko(*dialogs);
}
