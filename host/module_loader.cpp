#include "host/module_loader.h"

#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "lwsdk/generic.h"

namespace host {
namespace {

constexpr char kDescriptorSymbol[] = "_mod_descrip";
// A server list is a few records long; a list that runs on this far has
// lost its terminating record.
constexpr int kLongestServerList = 1024;

std::string Hex(unsigned int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string Quoted(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }

#ifdef _WIN32

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string LastErrorText() {
  char* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                      FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD code = GetLastError();
  FormatMessageA(flags, nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string message = text ? text : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  return message;
}

#endif

}  // namespace

// The platform's dynamic library, open for as long as this object lives.
class PluginModule::Library {
 public:
  explicit Library(const std::string& path) {
#ifdef _WIN32
    handle_ = LoadLibraryW(Widen(path).c_str());
    if (handle_ == nullptr) Refuse(path, LastErrorText());
#else
    // A bare file name would send dlopen searching the library path; the
    // module is the file named, as in Layout.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) Refuse(path, dlerror());
#endif
  }

  ~Library() {
#ifdef _WIN32
    FreeLibrary(handle_);
#else
    dlclose(handle_);
#endif
  }

  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  void* Symbol(const char* name) const {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(handle_, name));
#else
    return dlsym(handle_, name);
#endif
  }

 private:
  [[noreturn]] static void Refuse(const std::string& path, const std::string& reason) {
    throw ModuleError(path + ": cannot load the module (" + reason +
                      "); check that the file exists and is a plug-in module built for "
                      "this system");
  }

#ifdef _WIN32
  HMODULE handle_ = nullptr;
#else
  void* handle_ = nullptr;
#endif
};

namespace {

// Everything Layout relies on before it calls startup.
void CheckDescriptor(const std::string& path, const ModuleDescriptor& descriptor) {
  if (descriptor.sysSync != MOD_SYSSYNC) {
    throw ModuleError(path + ": the module descriptor's sync word is " +
                      Hex(descriptor.sysSync) + ", not " + Hex(MOD_SYSSYNC) +
                      "; the file is not a LightWave plug-in module, or it is damaged");
  }
  if (descriptor.sysVersion != MOD_SYSVER) {
    throw ModuleError(path + ": the module descriptor's system version is " +
                      std::to_string(descriptor.sysVersion) + ", not " +
                      std::to_string(MOD_SYSVER) +
                      "; rebuild the module against this plug-in interface");
  }
  const char* missing = descriptor.startup == nullptr    ? "startup function"
                        : descriptor.shutdown == nullptr ? "shutdown function"
                        : descriptor.serverDefs == nullptr ? "server list"
                                                           : nullptr;
  if (missing != nullptr) {
    throw ModuleError(path + ": the module descriptor has no " + missing +
                      "; the module cannot be started");
  }
}

}  // namespace

PluginModule::PluginModule(const std::string& path)
    : path_(path), library_(std::make_unique<Library>(path)) {
  descriptor_ = static_cast<const ModuleDescriptor*>(library_->Symbol(kDescriptorSymbol));
  if (descriptor_ == nullptr) {
    throw ModuleError(path + ": the module exports no " + kDescriptorSymbol +
                      "; the file is not a LightWave plug-in module");
  }
  CheckDescriptor(path, *descriptor_);
  serverData_ = descriptor_->startup();
  if (serverData_ == nullptr) {
    throw ModuleError(path + ": the module's startup function failed (it returned null)");
  }
}

PluginModule::~PluginModule() { descriptor_->shutdown(serverData_); }

const ServerRecord& PluginModule::FindServer(const std::string& className,
                                             const std::string& name) const {
  std::string offered;
  for (int i = 0; i < kLongestServerList; ++i) {
    const ServerRecord& server = descriptor_->serverDefs[i];
    if (server.className == nullptr) {
      throw ModuleError(path_ + ": the module has no server of class \"" + className +
                        "\" named \"" + name + "\"; it offers " +
                        (offered.empty() ? "none" : offered));
    }
    if (server.name != nullptr && className == server.className && name == server.name) {
      return server;
    }
    if (!offered.empty()) offered += ", ";
    offered += Quoted(server.className) + " " + Quoted(server.name);
  }
  throw ModuleError(path_ + ": the module's server list has no end record within " +
                    std::to_string(kLongestServerList) + " records; the module is damaged");
}

int PluginModule::RunGeneric(const std::string& serverName, GlobalFunc global) const {
  const ServerRecord& server = FindServer(LWLAYOUTGENERIC_CLASS, serverName);
  if (server.activate == nullptr) {
    throw ModuleError(path_ + ": the server \"" + serverName +
                      "\" has no activation function");
  }
  LWLayoutGeneric local{};
  return server.activate(kLayoutGenericVersion, global, &local, serverData_);
}

std::vector<std::string> PluginModule::ServerNames(const std::string& className) const {
  std::vector<std::string> names;
  for (int i = 0; i < kLongestServerList; ++i) {
    const ServerRecord& server = descriptor_->serverDefs[i];
    if (server.className == nullptr) return names;
    if (server.name != nullptr && className == server.className) names.emplace_back(server.name);
  }
  throw ModuleError(path_ + ": the module's server list has no end record within " +
                    std::to_string(kLongestServerList) + " records; the module is damaged");
}

int PluginModule::RunObjectLoader(const std::string& serverName, int version, GlobalFunc global,
                                  LWObjectImport& local) const {
  const ServerRecord& server = FindServer(LWOBJECTLOADER_CLASS, serverName);
  if (server.activate == nullptr) {
    throw ModuleError(path_ + ": the server \"" + serverName + "\" has no activation function");
  }
  return server.activate(version, global, &local, serverData_);
}

SceneConversion PluginModule::RunSceneConverter(const std::string& serverName, GlobalFunc global,
                                                const std::string& filename) const {
  const ServerRecord& server = FindServer(LWSCENECONVERTER_CLASS, serverName);
  if (server.activate == nullptr) {
    throw ModuleError(path_ + ": the server \"" + serverName + "\" has no activation function");
  }
  LWSceneConverter local{};
  local.filename = filename.c_str();
  SceneConversion conversion;
  conversion.result = server.activate(kSceneConverterVersion, global, &local, serverData_);
  if (local.tmpScene != nullptr) conversion.tmpScene = local.tmpScene;
  if (local.readFailure != nullptr) conversion.readFailure = local.readFailure;
  conversion.deleteTmp = local.deleteTmp;
  return conversion;
}

}  // namespace host
