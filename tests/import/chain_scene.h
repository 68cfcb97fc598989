// The scene both import checks start from: wedges turned every way,
// scaled unevenly, hinged at pivots and chained, one under a null.
#pragma once

#include <filesystem>

namespace importtest {

// Writes wedge.lwo and chain.lws into `folder`; with `pivotRotation` the
// root is turned about its pivot too.
void WriteChainScene(const std::filesystem::path& folder, bool pivotRotation);

}  // namespace importtest
