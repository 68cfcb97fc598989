// Where lwhost finds a plug-in module that the command line does not name:
// beside the program, as in the build tree and the Windows release, then in
// the installed module folder (lib/velmora/ under the prefix lwhost is
// installed in), so that an installed lwhost works from any folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace host::lwhost {

// The places looked at, in order, for the module file `fileName` of a
// program that lives in `programDir`.
std::vector<std::filesystem::path> ModuleCandidates(const std::filesystem::path& programDir,
                                                    const std::string& fileName);

// The first of those places that holds a file; nullopt when none does.
std::optional<std::filesystem::path> FindModule(const std::filesystem::path& programDir,
                                                const std::string& fileName);

}  // namespace host::lwhost
