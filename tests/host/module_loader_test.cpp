#include "host/module_loader.h"

#include <gtest/gtest.h>

#include <string>

#include "host/standin_host.h"
#include "lwsdk/generic.h"

namespace host {
namespace {

// The message of the ModuleError that loading `path` throws.
std::string LoadError(const std::string& path) {
  try {
    PluginModule module(path);
  } catch (const ModuleError& error) {
    return error.what();
  }
  return "loaded";
}

void ExpectMentions(const std::string& text, const std::string& part) {
  EXPECT_NE(text.find(part), std::string::npos) << text << "\n  lacks: " << part;
}

TEST(ModuleLoader, RunsAGenericCommandBetweenStartupAndShutdown) {
  StandInHost host(Scene{});
  {
    PluginModule module(GOOD_MODULE);
    EXPECT_EQ(module.descriptor().sysMachine, MOD_MACHINE);
    EXPECT_EQ(module.RunGeneric("Export to DFF v0.1", host.global()), AFUNC_OK);
    EXPECT_EQ(module.RunGeneric("Refusing command", host.global()), AFUNC_BADAPP);
  }
  ASSERT_EQ(host.messages().size(), 2u);
  EXPECT_EQ(host.messages()[0].line2, "version 2, a local, the startup value");
  EXPECT_EQ(host.messages()[1].line1, "shutdown");
  EXPECT_EQ(host.messages()[1].line2, "startup value");
}

TEST(ModuleLoader, AMissingServerNamesWhatTheModuleOffers) {
  PluginModule module(GOOD_MODULE);
  try {
    module.FindServer(LWLAYOUTGENERIC_CLASS, "Export to OBJ");
    FAIL() << "found a server the module does not have";
  } catch (const ModuleError& error) {
    const std::string message = error.what();
    ExpectMentions(message, GOOD_MODULE);
    ExpectMentions(message, "\"Export to OBJ\"");
    ExpectMentions(message, "\"ImageLoader\" \"Export to DFF v0.1\"");
  }
}

TEST(ModuleLoader, RefusesModulesWithAWrongDescriptorNamingTheFileAndValue) {
  const std::string sync = LoadError(BAD_SYNC_MODULE);
  ExpectMentions(sync, BAD_SYNC_MODULE);
  ExpectMentions(sync, "0x12345678");
  const std::string version = LoadError(BAD_VERSION_MODULE);
  ExpectMentions(version, BAD_VERSION_MODULE);
  ExpectMentions(version, "system version is 2");
}

TEST(ModuleLoader, RefusesFilesThatAreNoModules) {
  ExpectMentions(LoadError(NO_DESCRIPTOR_MODULE), "exports no _mod_descrip");
  ExpectMentions(LoadError(FAILING_STARTUP_MODULE), "startup function failed");
  const std::string missing = std::string(GOOD_MODULE) + ".missing";
  const std::string error = LoadError(missing);
  ExpectMentions(error, missing);
  ExpectMentions(error, "cannot load the module");
}

TEST(ModuleLoader, ABareFileNameIsTheFileInTheWorkingFolderNotALibrarySearch) {
  // libdl.so.2 is found by a library search, never in the working folder.
  ExpectMentions(LoadError("libdl.so.2"), "cannot load the module");
}

}  // namespace
}  // namespace host
