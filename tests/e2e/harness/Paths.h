// Where the programs under test are, as Windows paths.
#pragma once

#include <string>

namespace e2e {

// A Unix path as Wine shows it (Z:\...); a Windows path unchanged.
std::string windowsPath(const std::string& path);

// From the environment variable `variable` when set, else `builtIn` (the
// build tree's path, compiled in); as a Windows path. Empty when neither is.
std::string programPath(const char* variable, const char* builtIn);

} // namespace e2e
