#include "tools/lwhost/load_object.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "host/object_import.h"
#include "host/standin_host.h"
#include "lightwave/load_error.h"
#include "lightwave/lwo2_writer.h"
#include "tools/lwhost/answers.h"

namespace host::lwhost {
namespace {

namespace fs = std::filesystem;

constexpr int kWritten = 0;
constexpr int kRefused = 1;
constexpr int kNotWritten = 2;

// Runs the loaders in a host of their own, which shows their messages.
Lwo2Object LoadWithMessages(const PluginModule& module, const std::string& path) {
  StandInHost host(Scene{});
  struct PrintOnLeaving {
    const StandInHost& host;
    ~PrintOnLeaving() {
      for (const Message& message : host.messages()) PrintMessage(message);
    }
  } print{host};
  return LoadObjectThroughLoaders(module, host.global(), path);
}

}  // namespace

int LoadObjectFile(const PluginModule& module, const Options& options) {
  const std::string& input = options.inputs.at(0);
  const std::string output = options.output ? *options.output : fs::path(input).replace_extension(".lwo").string();
  Lwo2Object object;
  try {
    object = LoadWithMessages(module, input);
  } catch (const LoadError& error) {
    std::fprintf(stderr, "lwhost: %s\nlwhost: nothing was written.\n", error.what());
    return kRefused;
  }
  try {
    WriteLwo2File(object, output);
  } catch (const std::exception& error) {
    std::error_code ignored;
    fs::remove(output, ignored);  // a file cut short is no object
    std::fprintf(stderr, "lwhost: %s\n", error.what());
    return kNotWritten;
  }
  std::printf("lwhost: %s loaded as the object %s\n", input.c_str(), output.c_str());
  return kWritten;
}

std::function<Lwo2Object(const std::string&)> ForeignObjectReader(const PluginModule& module) {
  return [&module](const std::string& path) { return LoadWithMessages(module, path); };
}

}  // namespace host::lwhost
